// The media-player interface on a private session bus: a dbus-daemon started here, the
// player's logic behind the interface (controller, engine and playlist over a fake backend),
// and real clients (QtDBus on a connection of its own, and dbus-send) calling it and
// listening to its signals. The user's own bus is never reached: the test main points
// DBUS_SESSION_BUS_ADDRESS nowhere and this suite only ever connects to its own daemon.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <memory>

#include "app/MprisService.h"
#include "player/CoverArt.h"
#include "player/MprisPlayer.h"
#include "playlist/FileSystemView.h"
#include "playlist/PlaylistController.h"
#include "support/ControllerRig.h"
#include "support/PrivateBus.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

constexpr const char* kPath = "/org/mpris/MediaPlayer2";
constexpr const char* kPlayer = "org.mpris.MediaPlayer2.Player";
constexpr const char* kRoot = "org.mpris.MediaPlayer2";
constexpr const char* kProps = "org.freedesktop.DBus.Properties";
constexpr const char* kName = "org.mpris.MediaPlayer2.orvalis";

// Every signal the player's object sends, as a client sees it.
class SignalLog : public QObject {
    Q_OBJECT
public:
    QList<QDBusMessage> messages;
    // The last PropertiesChanged of the player interface that carries name.
    QVariant lastChange(const QString& name) const {
        for (auto it = messages.crbegin(); it != messages.crend(); ++it) {
            if (it->member() != "PropertiesChanged" || it->arguments().value(0) != kPlayer)
                continue;
            const QVariantMap changed = qdbus_cast<QVariantMap>(it->arguments().value(1));
            if (changed.contains(name)) return changed.value(name);
        }
        return {};
    }
    QList<qlonglong> seeked() const {
        QList<qlonglong> out;
        for (const auto& m : messages)
            if (m.member() == "Seeked") out << m.arguments().value(0).toLongLong();
        return out;
    }

public slots:
    void onSignal(const QDBusMessage& message) { messages << message; }
};

class MprisBusTest : public ::testing::Test, protected test::ControllerRig {
protected:
    static inline std::unique_ptr<test::PrivateBus> bus;
    static inline QString address;

    static void SetUpTestSuite() {
        bus = std::make_unique<test::PrivateBus>("session");
        address = bus->address();
        ASSERT_FALSE(address.isEmpty()) << bus->error;
    }
    static void TearDownTestSuite() { bus.reset(); }

    void SetUp() override {
        ASSERT_FALSE(address.isEmpty());
        static int n = 0;
        serviceName = QString("mpris-service-%1").arg(++n);
        clientName = QString("mpris-client-%1").arg(n);
        controller.attachPlaylist(&list);
        controller.onExited = [this] { ++exits; };
        start();
        glue = std::make_unique<MprisPlayer>(
            controller, [this] { ++raises; }, &covers);
        service = std::make_unique<MprisService>(
            *glue, QDBusConnection::connectToBus(address, serviceName));
        ASSERT_TRUE(service->start());
        ASSERT_TRUE(test::waitUntil([&] { return service->busName() == kName; }));
        client =
            std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, clientName));
        ASSERT_TRUE(client->isConnected());
        for (const char* iface : {kProps, kPlayer})
            ASSERT_TRUE(
                client->connect(kName, kPath, iface, {}, &log, SLOT(onSignal(QDBusMessage))));
        test::processEventsFor(50);
    }

    void TearDown() override {
        service.reset();
        glue.reset();
        client.reset();
        QDBusConnection::disconnectFromBus(serviceName);
        QDBusConnection::disconnectFromBus(clientName);
    }

    // A call from the client, answered while this thread goes on serving the player.
    QDBusMessage call(const char* interface, const char* member, const QVariantList& args = {}) {
        QDBusMessage m = QDBusMessage::createMethodCall(kName, kPath, interface, member);
        m.setArguments(args);
        QDBusPendingCall pending = client->asyncCall(m, 5000);
        EXPECT_TRUE(test::waitUntil([&] { return pending.isFinished(); })) << member;
        return pending.reply();
    }
    QVariant get(const char* interface, const char* name) {
        QDBusMessage r = call(kProps, "Get", {interface, name});
        EXPECT_EQ(r.type(), QDBusMessage::ReplyMessage) << r.errorMessage().toStdString();
        return r.arguments().value(0).value<QDBusVariant>().variant();
    }
    // The playlist opens what it was given; the backend answers; the start-of-playback step runs.
    void finishOpening(double seconds = 20.0) {
        ASSERT_TRUE(controller.engine().flags().opening);
        backend.answerLoaded({seconds, true, 640, 360, {}});
        ASSERT_TRUE(timers.isActive(TimerId::PlaybackStart));
        controller.onTimer(TimerId::PlaybackStart);
    }
    void playClip() {
        list.addPaths({test::mediaPath("test/av.mp4")});
        finishOpening(20.0);
    }
    LocalFileSystem files;
    PlaylistController list{
        store, prompter, files, [this] {
            PlaylistHost host;
            host.openPath = [this](const std::string& path) { controller.engine().openFile(path); };
            host.runCommand = [this](CommandId id) { controller.runCommand(id); };
            host.mediaLoaded = [this] { return controller.engine().flags().loaded; };
            return host;
        }()};
    cover::CoverArtFiles covers{test::freshDir("covers")};
    std::unique_ptr<MprisPlayer> glue;
    std::unique_ptr<MprisService> service;
    std::unique_ptr<QDBusConnection> client;
    SignalLog log;
    QString serviceName, clientName;
    int raises = 0, exits = 0;
};

TEST_F(MprisBusTest, OpenPlayPauseNextAndTheirSignals) {
    EXPECT_EQ(get(kRoot, "Identity").toString(), "Orvalis");
    EXPECT_EQ(get(kPlayer, "PlaybackStatus").toString(), "Stopped");
    call(kRoot, "Raise");
    EXPECT_EQ(raises, 1);

    const std::string clip = test::mediaPath("test/av.mp4"),
                      next = test::mediaPath("test/audio.mp3");
    list.addPaths({clip, next});
    finishOpening(3.0);
    service->announce();
    EXPECT_TRUE(test::waitUntil([&] { return log.lastChange("PlaybackStatus") == "Playing"; }));
    QVariantMap meta = qdbus_cast<QVariantMap>(get(kPlayer, "Metadata"));
    const QString firstTrack = meta.value("mpris:trackid").value<QDBusObjectPath>().path();
    EXPECT_EQ(meta.value("mpris:length").toLongLong(), 3'000'000);
    EXPECT_EQ(meta.value("xesam:url").toString(), QString::fromStdString("file://" + clip));

    call(kPlayer, "PlayPause");
    EXPECT_TRUE(controller.engine().flags().paused && backend.paused);
    EXPECT_TRUE(test::waitUntil([&] { return log.lastChange("PlaybackStatus") == "Paused"; }));
    call(kPlayer, "Play");
    EXPECT_TRUE(test::waitUntil([&] { return log.lastChange("PlaybackStatus") == "Playing"; }));

    // Seeks, and the Seeked signal for them and for a seek of the player's own (a key).
    backend.pos = 1.0;
    call(kPlayer, "Seek", {qlonglong(1'000'000)});
    EXPECT_TRUE(sought(2.0));
    call(kPlayer, "SetPosition",
         {QVariant::fromValue(QDBusObjectPath(firstTrack)), qlonglong(2'300'000)});
    EXPECT_TRUE(sought(2.3));
    controller.runCommand(CommandId::GoToStart);
    EXPECT_TRUE(test::waitUntil([&] {
        return log.seeked() == QList<qlonglong>{2'000'000, 2'300'000, 0};
    }));

    // Next changes the track, and clients hear of its new metadata.
    EXPECT_TRUE(get(kPlayer, "CanGoNext").toBool());
    call(kPlayer, "Next");
    EXPECT_EQ(backend.loaded, next);
    finishOpening(180.0);
    EXPECT_TRUE(test::waitUntil([&] {
        meta = qdbus_cast<QVariantMap>(log.lastChange("Metadata"));
        return meta.value("xesam:title").toString() == "audio.mp3" && meta.contains("mpris:length");
    }));
    EXPECT_NE(meta.value("mpris:trackid").value<QDBusObjectPath>().path(), firstTrack);
    EXPECT_EQ(meta.value("mpris:length").toLongLong(), 180'000'000);

    const QDBusMessage r = call(kPlayer, "OpenUri", {QString::fromStdString("file://" + clip)});
    EXPECT_EQ(r.type(), QDBusMessage::ReplyMessage) << r.errorMessage().toStdString();
    EXPECT_EQ(backend.loaded, clip);
}

// The refusals only the bus can get wrong: an argument's type as it travels, and the reply to
// a file the player itself turns down; the mapping test holds the rest.
TEST_F(MprisBusTest, BadCallsGetAnErrorAndThePlayerGoesOn) {
    playClip();
    const std::size_t callsBefore = backend.calls.size();
    QDBusMessage r = call(kPlayer, "Seek", {int(5)});  // an int32, not the int64 the method takes
    EXPECT_EQ(r.errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
    const std::string notes = test::freshDir("mpris-open") + "/notes.txt";
    test::writeFile(notes, "not a medium");
    r = call(kPlayer, "OpenUri", {QString::fromStdString("file://" + notes)});
    EXPECT_EQ(r.errorName(), "org.freedesktop.DBus.Error.NotSupported");
    EXPECT_EQ(backend.calls.size(), callsBefore);
    EXPECT_TRUE(controller.engine().flags().playing);
    call(kRoot, "Quit");
    EXPECT_EQ(exits, 1);
}

TEST_F(MprisBusTest, ASecondCopyTakesTheInstanceName) {
    const QString name = serviceName + "-second";
    {
        MprisService second(*glue, QDBusConnection::connectToBus(address, name));
        ASSERT_TRUE(second.start());
        const QString wanted = QString(kName) + ".instance" + QString::number(::getpid());
        EXPECT_TRUE(test::waitUntil([&] { return second.busName() == wanted; }))
            << second.busName().toStdString();
        EXPECT_EQ(service->busName(), kName);
    }
    QDBusConnection::disconnectFromBus(name);
}

TEST(MprisWithoutBus, TheServiceDoesNotStartAndThePlayerGoesOn) {
    test::ControllerRig rig;
    MprisPlayer glue(rig.controller, nullptr, nullptr);
    // The test main points the session bus at a socket that does not exist.
    MprisService service(glue, QDBusConnection::sessionBus());
    EXPECT_FALSE(service.start());
    rig.controller.initialise();
    rig.controller.runCommand(CommandId::VolumeUp);
    service.announce();
    EXPECT_EQ(rig.controller.volume().step(), 6);
}

}  // namespace
}  // namespace orvalis

#include "MprisBusTest.moc"
