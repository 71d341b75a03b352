#pragma once
// The time stamp every live ping carries: date "07-DEC-2026", time
// "14:30:05" and hundredths ".42". Formatting is separate from reading the
// clock so that it is deterministic.

#include "protocol/PingRecord.h"

#include <string>

namespace velmaris {

// A broken-down local time.
struct LocalTime {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1; // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0; // 0..999
};

struct TimeStampTexts {
    std::string date; // "%02d-%s-%04d", month "JAN".."DEC" ("???" outside 1..12)
    std::string time; // "%02d:%02d:%02d"
    std::string hundredths; // ".%2d" of milliseconds / 10, so 5 ms gives ". 0"
};

TimeStampTexts FormatTimeStamp(const LocalTime& t);

// Reads the local clock (thread-safe).
LocalTime CurrentLocalTime();

// Stores the formatted texts as the ping's date, time and hundredths.
void StampPing(PingRecord& ping, const LocalTime& t);

} // namespace velmaris
