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
// The same, with the local time's offset from UTC in minutes (east
// positive) at that instant.
LocalTime CurrentLocalTime(int& utcOffsetMinutes);

// Seconds from 1970-01-01 00:00 of the same calendar to `t`, counting its
// milliseconds: local times compare and subtract as plain numbers.
double LocalSeconds(const LocalTime& t);
// Days from 1970-01-01 to the date (proleptic Gregorian calendar).
long long DaysFromCivil(int year, int month, int day);
// The date `days` after 1970-01-01 (negative before it): the inverse.
void CivilFromDays(long long days, int& year, int& month, int& day);

// Stores the formatted texts as the ping's date, time and hundredths.
void StampPing(PingRecord& ping, const LocalTime& t);

} // namespace velmaris
