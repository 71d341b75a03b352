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

LocalTime CurrentLocalTime()
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
