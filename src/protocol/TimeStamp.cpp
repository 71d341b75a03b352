#include "protocol/TimeStamp.h"

#include "protocol/PlatformClock.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <utility>

namespace velmaris {

namespace {

constexpr std::array<const char*, 12> kMonthNames {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

} // namespace

TimeStampTexts FormatTimeStamp(const LocalTime& t)
{
    const char* month
        = (t.month >= 1 && t.month <= 12) ? kMonthNames[static_cast<std::size_t>(t.month - 1)] : "???";
    // Large enough for any int in every field.
    char buffer[64];
    TimeStampTexts texts;
    std::snprintf(buffer, sizeof buffer, "%02d-%s-%04d", t.day, month, t.year);
    texts.date = buffer;
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    texts.time = buffer;
    std::snprintf(buffer, sizeof buffer, ".%2d", t.millisecond / 10);
    texts.hundredths = buffer;
    return texts;
}

long long DaysFromCivil(int year, int month, int day)
{
    // Howard Hinnant's days_from_civil.
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (month + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long days, int& year, int& month, int& day)
{
    // Howard Hinnant's civil_from_days.
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

double LocalSeconds(const LocalTime& t)
{
    const long long whole
        = DaysFromCivil(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
    return static_cast<double>(whole) + t.millisecond / 1000.0;
}

LocalTime CurrentLocalTime()
{
    int offset = 0;
    return CurrentLocalTime(offset);
}

LocalTime CurrentLocalTime(int& utcOffsetMinutes)
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()) % 1000;
    std::tm tm {};
    BreakDownLocalTime(seconds, tm);
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.millisecond = static_cast<int>(ms.count() < 0 ? ms.count() + 1000 : ms.count());
    // The broken-down time read as if it were UTC, less the instant itself.
    const long long localWhole
        = DaysFromCivil(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
    utcOffsetMinutes = static_cast<int>((localWhole - static_cast<long long>(seconds)) / 60);
    return t;
}

void StampPing(PingRecord& ping, const LocalTime& t)
{
    TimeStampTexts texts = FormatTimeStamp(t);
    ping.date = std::move(texts.date);
    ping.time = std::move(texts.time);
    ping.hundredths = std::move(texts.hundredths);
}

} // namespace velmaris
