#include "sim/UtcTime.h"

#include <chrono>

namespace velmaris::sim {

namespace {

long long FloorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

long long UnixMsFromUtc(const LocalTime& utc)
{
    const long long days = DaysFromCivil(utc.year, utc.month, utc.day);
    return ((days * 24 + utc.hour) * 60 + utc.minute) * 60000LL + utc.second * 1000LL + utc.millisecond;
}

LocalTime UtcFromUnixMs(long long unixMs)
{
    const long long days = FloorDiv(unixMs, 86400000LL);
    long long rest = unixMs - days * 86400000LL;
    LocalTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600000);
    rest %= 3600000;
    t.minute = static_cast<int>(rest / 60000);
    rest %= 60000;
    t.second = static_cast<int>(rest / 1000);
    t.millisecond = static_cast<int>(rest % 1000);
    return t;
}

long long UnixMsNow()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace velmaris::sim
