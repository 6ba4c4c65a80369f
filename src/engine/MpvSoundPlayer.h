#pragma once

#include <QObject>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "engine/SoundPlayer.h"

struct mpv_handle;
struct mpv_event;

namespace orvalis {

struct SoundWakeup;

// Sounds through a libmpv handle of their own, with no video at all, so that a beep never
// disturbs the medium the player window is showing. The handle is made at the first sound;
// every request to it is asynchronous and its events are drained on this object's thread.
class MpvSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    struct Options {
        bool audioOutput = true;  // false: the sound goes nowhere (tests)
    };

    explicit MpvSoundPlayer(Options options, QObject* parent = nullptr);
    ~MpvSoundPlayer() override;

    // Plays a local file only: an address or a path that is not a regular file is refused
    // (finished(false) follows), so a settings file cannot make the program fetch anything.
    void play(const std::string& path) override;
    void stop() override;

signals:
    // Once for every play: true when the sound ran to its end, false when it could not be
    // played or gave way to another sound or to stop.
    void finished(bool played);

private slots:
    void drainEvents();

private:
    bool ensureHandle();
    void handleEvent(const mpv_event& event);
    void handleReply(const mpv_event& event);
    void endEntry(std::int64_t entry, bool played);
    void dropQueued(std::int64_t except);
    void refuse();

    // libmpv's playlist entries of the plays, by id. A sound replaced before it began gets
    // no events of its own: the reply of the command that replaced it tells.
    enum class Entry { Queued, Started, Ended };
    std::map<std::int64_t, Entry> entries_;

    Options options_;
    std::unique_ptr<SoundWakeup> wakeup_;
    mpv_handle* mpv_ = nullptr;
    bool failedToStart_ = false;
};

}  // namespace orvalis
