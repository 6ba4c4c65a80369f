#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

namespace orvalis {

// One running player per user. The running instance listens on a local socket in the
// user's runtime folder that only the user can reach; a second start hands it its
// command-line list and waits for the acknowledgement. A lock file makes the check and
// the start of listening one step, so two simultaneous starts give one instance, and a
// socket left by a crashed instance is taken over.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Role {
        Primary,     // this process is the instance and listens
        HandedOver,  // another instance took the list; this process ends
        Failed,      // neither worked (no runtime folder, refused list)
    };

    static constexpr qsizetype kMaxMessage = 64 * 1024;

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // beforeHandOver runs once an instance answers, before the list goes to it.
    Role start(const std::string& commandLineList,
               const std::function<void()>& beforeHandOver = {});
    static QString socketPath();
    static QString lockPath();

signals:
    // An empty list asks only to bring the player to the front.
    void listReceived(const QString& list);

private:
    static Role handOver(const std::string& list, bool* connected,
                         const std::function<void()>& beforeHandOver);
    void acceptConnections();

    QLocalServer server_;
};

}  // namespace orvalis
