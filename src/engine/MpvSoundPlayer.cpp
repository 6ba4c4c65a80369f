#include "engine/MpvSoundPlayer.h"

#include <mpv/client.h>

#include <QMetaObject>
#include <QPointer>
#include <atomic>
#include <clocale>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/Naming.h"

namespace orvalis {

struct SoundWakeup {
    QPointer<MpvSoundPlayer> target;
    std::atomic<bool> pending{false};
};

namespace {

enum : std::uint64_t { kReplyLoad = 1, kReplyStop };

void onWakeup(void* data) {
    auto* w = static_cast<SoundWakeup*>(data);
    if (w->pending.exchange(true)) return;
    QMetaObject::invokeMethod(w->target.data(), "drainEvents", Qt::QueuedConnection);
}

// The absolute path of a local regular file, or nothing.
std::string localFile(const std::string& path) {
    if (path.empty() || isStreamAddress(path)) return {};
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec || !std::filesystem::is_regular_file(absolute, ec) || ec) return {};
    return absolute.string();
}

}  // namespace

MpvSoundPlayer::MpvSoundPlayer(Options options, QObject* parent)
    : QObject(parent), options_(options) {}

MpvSoundPlayer::~MpvSoundPlayer() {
    if (!mpv_) return;
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    mpv_terminate_destroy(mpv_);
}

bool MpvSoundPlayer::ensureHandle() {
    if (mpv_) return true;
    if (failedToStart_) return false;
    // libmpv parses numbers with the C locale and refuses to start otherwise.
    std::setlocale(LC_NUMERIC, "C");
    mpv_ = mpv_create();
    if (!mpv_) {
        failedToStart_ = true;
        return false;
    }
    auto opt = [&](const char* name, const char* value) {
        mpv_set_option_string(mpv_, name, value);
    };
    opt("vo", "null");
    opt("vid", "no");
    opt("sid", "no");
    opt("sub-auto", "no");
    opt("audio-display", "no");
    if (!options_.audioOutput) opt("ao", "null");
    opt("idle", "yes");
    opt("keep-open", "no");
    opt("terminal", "no");
    opt("config", "no");
    opt("load-scripts", "no");
    opt("osc", "no");
    opt("ytdl", "no");
    opt("input-default-bindings", "no");
    opt("input-vo-keyboard", "no");
    opt("audio-client-name", "Orvalis");
    if (mpv_initialize(mpv_) < 0) {
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        failedToStart_ = true;
        return false;
    }
    wakeup_ = std::make_unique<SoundWakeup>();
    wakeup_->target = this;
    mpv_set_wakeup_callback(mpv_, onWakeup, wakeup_.get());
    return true;
}

void MpvSoundPlayer::refuse() {
    QMetaObject::invokeMethod(
        this, [this] { emit finished(false); }, Qt::QueuedConnection);
}

void MpvSoundPlayer::play(const std::string& path) {
    const std::string file = localFile(path);
    if (file.empty() || !ensureHandle()) {
        refuse();
        return;
    }
    const char* args[] = {"loadfile", file.c_str(), "replace", nullptr};
    if (mpv_command_async(mpv_, kReplyLoad, args) < 0) refuse();
}

void MpvSoundPlayer::stop() {
    if (!mpv_) return;
    const char* args[] = {"stop", nullptr};
    mpv_command_async(mpv_, kReplyStop, args);
}

void MpvSoundPlayer::drainEvents() {
    if (!mpv_) return;
    wakeup_->pending = false;
    for (;;) {
        const mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        handleEvent(*event);
    }
}

void MpvSoundPlayer::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_COMMAND_REPLY:
            handleReply(event);
            break;
        case MPV_EVENT_START_FILE: {
            const auto* start = static_cast<const mpv_event_start_file*>(event.data);
            entries_[start->playlist_entry_id] = Entry::Started;
            break;
        }
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<const mpv_event_end_file*>(event.data);
            if (end->reason == MPV_END_FILE_REASON_EOF ||
                end->reason == MPV_END_FILE_REASON_ERROR || end->reason == MPV_END_FILE_REASON_STOP)
                endEntry(end->playlist_entry_id, end->reason == MPV_END_FILE_REASON_EOF);
            break;
        }
        default:
            break;
    }
}

void MpvSoundPlayer::handleReply(const mpv_event& event) {
    if (event.reply_userdata == kReplyStop) {
        dropQueued(-1);
        return;
    }
    if (event.reply_userdata != kReplyLoad) return;
    if (event.error < 0) {
        emit finished(false);
        return;
    }
    const auto* reply = static_cast<const mpv_event_command*>(event.data);
    const mpv_node& result = reply->result;
    std::int64_t entry = -1;
    if (result.format == MPV_FORMAT_NODE_MAP)
        for (int i = 0; i < result.u.list->num; ++i)
            if (std::string_view(result.u.list->keys[i]) == "playlist_entry_id" &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                entry = result.u.list->values[i].u.int64;
    dropQueued(entry);
    if (entry < 0) return;
    auto known = entries_.find(entry);
    if (known == entries_.end())
        entries_[entry] = Entry::Queued;
    else if (known->second == Entry::Ended)  // it ended before its reply came
        entries_.erase(known);
}

void MpvSoundPlayer::endEntry(std::int64_t entry, bool played) {
    auto known = entries_.find(entry);
    if (known != entries_.end() && known->second == Entry::Ended) return;
    if (known != entries_.end())
        entries_.erase(known);
    else
        entries_[entry] = Entry::Ended;  // its reply is still to come
    emit finished(played);
}

void MpvSoundPlayer::dropQueued(std::int64_t except) {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->first != except && it->second == Entry::Queued) {
            it = entries_.erase(it);
            emit finished(false);
        } else {
            ++it;
        }
    }
}

}  // namespace orvalis
