#include "app/MprisService.h"

#include <unistd.h>

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QVariantMap>

namespace orvalis {

namespace {

// How often the player's state is compared with what clients were last told.
constexpr int kPollMs = 300;
constexpr uint kDoNotQueue = 4;
constexpr uint kPrimaryOwner = 1;
constexpr uint kAlreadyOwner = 4;

const char* const kIntrospection = R"xml(
  <interface name="org.mpris.MediaPlayer2">
    <method name="Raise"/>
    <method name="Quit"/>
    <property name="CanQuit" type="b" access="read"/>
    <property name="Fullscreen" type="b" access="readwrite"/>
    <property name="CanSetFullscreen" type="b" access="read"/>
    <property name="CanRaise" type="b" access="read"/>
    <property name="HasTrackList" type="b" access="read"/>
    <property name="Identity" type="s" access="read"/>
    <property name="DesktopEntry" type="s" access="read"/>
    <property name="SupportedUriSchemes" type="as" access="read"/>
    <property name="SupportedMimeTypes" type="as" access="read"/>
  </interface>
  <interface name="org.mpris.MediaPlayer2.Player">
    <method name="Next"/>
    <method name="Previous"/>
    <method name="Pause"/>
    <method name="PlayPause"/>
    <method name="Stop"/>
    <method name="Play"/>
    <method name="Seek"><arg direction="in" type="x" name="Offset"/></method>
    <method name="SetPosition">
      <arg direction="in" type="o" name="TrackId"/>
      <arg direction="in" type="x" name="Position"/>
    </method>
    <method name="OpenUri"><arg direction="in" type="s" name="Uri"/></method>
    <signal name="Seeked"><arg type="x" name="Position"/></signal>
    <property name="PlaybackStatus" type="s" access="read"/>
    <property name="LoopStatus" type="s" access="readwrite"/>
    <property name="Rate" type="d" access="readwrite"/>
    <property name="Metadata" type="a{sv}" access="read"/>
    <property name="Volume" type="d" access="readwrite"/>
    <property name="Position" type="x" access="read">
      <annotation name="org.freedesktop.DBus.Property.EmitsChangedSignal" value="false"/>
    </property>
    <property name="MinimumRate" type="d" access="read"/>
    <property name="MaximumRate" type="d" access="read"/>
    <property name="CanGoNext" type="b" access="read"/>
    <property name="CanGoPrevious" type="b" access="read"/>
    <property name="CanPlay" type="b" access="read"/>
    <property name="CanPause" type="b" access="read"/>
    <property name="CanSeek" type="b" access="read"/>
    <property name="CanControl" type="b" access="read">
      <annotation name="org.freedesktop.DBus.Property.EmitsChangedSignal" value="false"/>
    </property>
  </interface>
)xml";

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QVariant toVariant(const mpris::Value& value) {
    struct Visit {
        QVariant operator()(bool b) const { return b; }
        QVariant operator()(std::int64_t n) const { return QVariant::fromValue(qlonglong(n)); }
        QVariant operator()(double d) const { return d; }
        QVariant operator()(const std::string& s) const { return qs(s); }
        QVariant operator()(const mpris::ObjectPath& p) const {
            return QVariant::fromValue(QDBusObjectPath(qs(p.path)));
        }
        QVariant operator()(const std::vector<std::string>& list) const {
            QStringList out;
            for (const auto& s : list) out << qs(s);
            return out;
        }
        QVariant operator()(const mpris::Metadata& m) const {
            QVariantMap map;
            map.insert("mpris:trackid", QVariant::fromValue(QDBusObjectPath(qs(m.trackId))));
            if (m.length >= 0) map.insert("mpris:length", QVariant::fromValue(qlonglong(m.length)));
            if (!m.title.empty()) map.insert("xesam:title", qs(m.title));
            if (!m.url.empty()) map.insert("xesam:url", qs(m.url));
            if (!m.artUrl.empty()) map.insert("mpris:artUrl", qs(m.artUrl));
            if (!m.artists.empty()) map.insert("xesam:artist", (*this)(m.artists));
            if (!m.album.empty()) map.insert("xesam:album", qs(m.album));
            return map;
        }
    };
    return std::visit(Visit{}, value);
}

QVariantMap toMap(const mpris::PropertyList& list) {
    QVariantMap map;
    for (const auto& [name, value] : list) map.insert(qs(name), toVariant(value));
    return map;
}

// An argument of a type the player takes, or monostate for any other.
mpris::Argument toArgument(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::Bool:
            return v.toBool();
        case QMetaType::LongLong:
            return std::int64_t(v.toLongLong());
        case QMetaType::Double:
            return v.toDouble();
        case QMetaType::QString:
            return v.toString().toStdString();
        default:
            break;
    }
    if (v.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return mpris::ObjectPath{v.value<QDBusObjectPath>().path().toStdString()};
    return std::monostate{};
}

mpris::Call toCall(const QDBusMessage& message) {
    mpris::Call call;
    call.interface = message.interface().toStdString();
    call.member = message.member().toStdString();
    call.signature = message.signature().toStdString();
    for (const QVariant& v : message.arguments()) {
        if (v.metaType() == QMetaType::fromType<QDBusVariant>()) {
            call.args.push_back(toArgument(v.value<QDBusVariant>().variant()));
        } else {
            call.args.push_back(toArgument(v));
        }
    }
    return call;
}

QDBusMessage toMessage(const QDBusMessage& call, const mpris::Reply& reply) {
    switch (reply.kind) {
        case mpris::Reply::Kind::Error:
            return call.createErrorReply(qs(reply.errorName), qs(reply.errorMessage));
        case mpris::Reply::Kind::Value:
            return call.createReply(QVariant::fromValue(QDBusVariant(toVariant(reply.value))));
        case mpris::Reply::Kind::Properties:
            return call.createReply(toMap(reply.properties));
        case mpris::Reply::Kind::Empty:
            break;
    }
    return call.createReply();
}

}  // namespace

class MprisService::Object final : public QDBusVirtualObject {
public:
    explicit Object(MprisService& service) : service_(service) {}

    QString introspect(const QString&) const override {
        return QString::fromLatin1(kIntrospection);
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.type() != QDBusMessage::MethodCallMessage) return false;
        const QString interface = message.interface();
        // Introspection and Peer are the bus library's.
        if (interface == "org.freedesktop.DBus.Introspectable" ||
            interface == "org.freedesktop.DBus.Peer")
            return false;
        const mpris::Reply reply = service_.model_.handle(toCall(message));
        if (message.isReplyRequired()) connection.send(toMessage(message, reply));
        service_.announce();
        return true;
    }

private:
    MprisService& service_;
};

MprisService::MprisService(mpris::PlayerPort& port, QDBusConnection bus, QObject* parent)
    : QObject(parent), port_(port), model_(port), bus_(std::move(bus)) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &MprisService::announce);
}

MprisService::~MprisService() {
    port_.seeked = nullptr;
    if (!registered_) return;
    bus_.unregisterObject(QString::fromLatin1(mpris::kObjectPath));
    if (!busName_.isEmpty()) {
        QDBusMessage release = QDBusMessage::createMethodCall(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ReleaseName");
        release << busName_;
        release.setAutoStartService(false);
        bus_.send(release);
    }
}

bool MprisService::start() {
    if (registered_) return true;
    if (!bus_.isConnected()) return false;
    object_ = std::make_unique<Object>(*this);
    if (!bus_.registerVirtualObject(QString::fromLatin1(mpris::kObjectPath), object_.get()))
        return false;
    registered_ = true;
    model_.changes();  // what clients will read first is the starting point
    port_.seeked = [this](double seconds) {
        announce();
        QDBusMessage signal = QDBusMessage::createSignal(
            QString::fromLatin1(mpris::kObjectPath), QString::fromLatin1(mpris::kPlayerInterface),
            QStringLiteral("Seeked"));
        signal << qlonglong(mpris::PlayerObject::seekedPosition(seconds));
        bus_.send(signal);
    };
    poll_.start();
    requestName(QString::fromLatin1(mpris::kBusName), true);
    return true;
}

void MprisService::requestName(const QString& name, bool fallback) {
    QDBusMessage request = QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName");
    request << name << kDoNotQueue;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(request, 10000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, name, fallback](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                QDBusPendingReply<uint> reply = *w;
                if (!reply.isError() &&
                    (reply.value() == kPrimaryOwner || reply.value() == kAlreadyOwner)) {
                    busName_ = name;
                    emit nameAcquired(name);
                    return;
                }
                // Another copy of the player holds the name: MPRIS asks for one of its own per instance.
                if (fallback)
                    requestName(name + QStringLiteral(".instance") + QString::number(::getpid()),
                                false);
            });
}

void MprisService::announce() {
    if (!registered_) return;
    for (const mpris::Change& change : model_.changes()) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QString::fromLatin1(mpris::kObjectPath),
            QString::fromLatin1(mpris::kPropertiesInterface), QStringLiteral("PropertiesChanged"));
        signal << qs(change.interface) << toMap(change.properties) << QStringList();
        bus_.send(signal);
    }
}

}  // namespace orvalis
