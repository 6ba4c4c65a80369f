#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "player/Mpris.h"

namespace orvalis {

// The player's media-player interface on the session bus: the object
// /org/mpris/MediaPlayer2 under the name org.mpris.MediaPlayer2.orvalis (or, when another
// copy holds that name, ….instance<pid>). Calls run on this thread through the rules of
// mpris::PlayerObject; changed properties are announced after every call and on a short
// timer, seeks at once. Nothing here waits on the bus: without one, start() says so and
// the player goes on as before.
class MprisService final : public QObject {
    Q_OBJECT
public:
    MprisService(mpris::PlayerPort& port, QDBusConnection bus, QObject* parent = nullptr);
    ~MprisService() override;

    // Registers the object and asks for the name (the answer comes later); false when
    // there is no bus to register on.
    bool start();
    // The name held once the bus has granted it; empty before.
    const QString& busName() const { return busName_; }
    // Sends PropertiesChanged for whatever changed since the last announcement.
    void announce();

signals:
    void nameAcquired(const QString& name);

private:
    class Object;
    void requestName(const QString& name, bool fallback);

    mpris::PlayerPort& port_;
    mpris::PlayerObject model_;
    QDBusConnection bus_;
    std::unique_ptr<Object> object_;
    QTimer poll_;
    QString busName_;
    bool registered_ = false;
};

}  // namespace orvalis
