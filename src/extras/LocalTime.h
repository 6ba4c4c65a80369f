#pragma once

#include <ctime>

namespace orvalis {

// A calendar date and wall-clock time in the local time zone, as the user picks it.
struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1 ... 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const LocalDateTime&) const = default;
};

LocalDateTime localDateTime(std::time_t t);
// The moment the local clock shows this date and time. In the hour that a change to
// summer time skips, the time is read as if the change had not happened yet.
std::time_t toTimeT(const LocalDateTime& local);
// A date that exists (29 February only in leap years), a time within the day, and a year
// a date picker can show.
bool isValidDateTime(const LocalDateTime& local);

}  // namespace orvalis
