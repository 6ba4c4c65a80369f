#include "extras/ShutdownDialogModel.h"

#include <string>

#include "base/SettingsKeys.h"

namespace orvalis {

namespace {

std::string twoDigits(int n) {
    return n > 9 ? std::to_string(n) : "0" + std::to_string(n);
}

bool validDelay(int index) {
    return index >= 0 && index < int(kShutdownDelays.size());
}

}  // namespace

std::string shutdownDialogTitle(const LocalDateTime& now) {
    return std::string(shutdown_text::kTitle) + " (" + twoDigits(now.hour) + "시 " +
           twoDigits(now.minute) + "분 " + twoDigits(now.second) + "초)";
}

ShutdownDialogModel::ShutdownDialogModel(const SettingsStore& store, const LocalDateTime& now,
                                         bool mediumLoaded)
    : mediumLoaded_(mediumLoaded), picked_(now) {
    using settings::get;
    LocalDateTime stored{get(store, keys::ShutdownYear),   get(store, keys::ShutdownMonth),
                         get(store, keys::ShutdownDay),    get(store, keys::ShutdownHour),
                         get(store, keys::ShutdownMinute), get(store, keys::ShutdownSecond)};
    // A garbled date would leave the pickers showing nothing sensible: fall back to now.
    if (stored.year != 0 && isValidDateTime(stored)) picked_ = stored;
    const int left = get(store, keys::ShutdownLeftTime);
    delayIndex_ = validDelay(left) ? left : kDefaultDelayIndex;
}

bool ShutdownDialogModel::isEnabled(ShutdownMode box) const {
    if (box == ShutdownMode::AtEnd) return mediumLoaded_;
    return box != ShutdownMode::None;
}

void ShutdownDialogModel::setChecked(ShutdownMode box, bool checked) {
    if (!isEnabled(box)) return;
    if (checked) {
        checked_ = box;
    } else if (checked_ == box) {
        checked_ = ShutdownMode::None;
    }
}

void ShutdownDialogModel::setDate(int year, int month, int day) {
    picked_.year = year;
    picked_.month = month;
    picked_.day = day;
}

void ShutdownDialogModel::setTime(int hour, int minute, int second) {
    picked_.hour = hour;
    picked_.minute = minute;
    picked_.second = second;
}

void ShutdownDialogModel::setDelayIndex(int index) {
    if (validDelay(index)) delayIndex_ = index;
}

ShutdownChoice ShutdownDialogModel::accept(SettingsStore& store) const {
    using settings::put;
    SettingsBatch batch(store);
    put(store, keys::ShutdownLeftTime, delayIndex_);
    put(store, keys::ShutdownYear, picked_.year);
    put(store, keys::ShutdownMonth, picked_.month);
    put(store, keys::ShutdownDay, picked_.day);
    put(store, keys::ShutdownHour, picked_.hour);
    put(store, keys::ShutdownMinute, picked_.minute);
    put(store, keys::ShutdownSecond, picked_.second);
    return {checked_, picked_, delayIndex_};
}

}  // namespace orvalis
