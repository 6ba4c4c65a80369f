#include "engine/LoadTracker.h"

namespace orvalis {

using Kind = LoadTracker::Step::Kind;

void LoadTracker::begin() {
    *this = {};
    phase_ = Phase::Loading;
}

void LoadTracker::cancel() {
    *this = {};
}

LoadTracker::Step LoadTracker::enterProbing() {
    phase_ = Phase::Probing;
    return {Kind::Probe, {}};
}

LoadTracker::Step LoadTracker::replied(std::optional<std::int64_t> entry,
                                       const std::string& error) {
    if (phase_ != Phase::Loading) return {};
    if (!error.empty()) {
        phase_ = Phase::Idle;
        return {Kind::Fail, error};
    }
    entry_ = entry.value_or(started_);
    if (auto seen = early_.find(entry_); seen != early_.end()) {
        if (seen->second) return enterProbing();
        phase_ = Phase::Idle;
        return {Kind::Fail, earlyError_[entry_]};
    }
    return {};
}

void LoadTracker::started(std::int64_t entry) {
    started_ = entry;
}

LoadTracker::Step LoadTracker::loaded() {
    if (phase_ != Phase::Loading) return {};
    if (entry_ < 0) {
        early_[started_] = true;
        return {};
    }
    return started_ == entry_ ? enterProbing() : Step{};
}

LoadTracker::Step LoadTracker::ended(std::int64_t entry, bool stopped, const std::string& error) {
    if (phase_ == Phase::Idle) {
        // Our medium, answered and playing, ran out or broke off.
        if (reported_ && entry == entry_ && !stopped) return {Kind::Ended, {}};
        return {};
    }
    if (error.empty()) return {};
    if (entry_ < 0) {
        early_[entry] = false;
        earlyError_[entry] = error;
        return {};
    }
    if (entry != entry_) return {};
    phase_ = Phase::Idle;
    return {Kind::Fail, error};
}

LoadTracker::Step LoadTracker::probed(bool waitForSize) {
    if (phase_ != Phase::Probing) return {};
    if (waitForSize) {
        phase_ = Phase::WaitingForSize;
        return {};
    }
    phase_ = Phase::Idle;
    reported_ = true;
    return {Kind::Finish, {}};
}

LoadTracker::Step LoadTracker::sized() {
    if (phase_ != Phase::WaitingForSize) return {};
    phase_ = Phase::Idle;
    reported_ = true;
    return {Kind::Finish, {}};
}

}  // namespace orvalis
