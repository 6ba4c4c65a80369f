#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace orvalis {

// One running player per user. The running instance listens on a local socket in the
// user's runtime folder that only the user can reach; a second start hands it its paths
// and waits for the acknowledgement. A lock file makes the check and the start of
// listening one step, so two simultaneous starts give one instance, and a socket left by a
// crashed instance is taken over.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Role {
        Primary,     // this process is the instance and listens
        HandedOver,  // another instance took the paths; this process ends
        // This process plays its paths itself, without listening: a running instance
        // answered but did not take them (too many, or it is stuck), or there is no
        // socket to listen on. The paths are never dropped.
        Alone,
    };

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // beforeHandOver runs once an instance answers, before the paths go to it.
    Role start(const std::vector<std::string>& paths,
               const std::function<void()>& beforeHandOver = {});
    static QString socketPath();
    static QString lockPath();

signals:
    // An empty list asks only to bring the player to the front.
    void listReceived(const std::vector<std::string>& paths);

private:
    static Role handOver(const std::vector<std::string>& paths, bool* connected,
                         const std::function<void()>& beforeHandOver);
    void acceptConnections();

    QLocalServer server_;
};

}  // namespace orvalis
