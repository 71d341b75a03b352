#include "sim/UtcTime.h"

#include <chrono>

namespace velmaris::sim {

namespace {

// Days since 1970-01-01 of a civil date, and back (H. Hinnant's algorithms).
long long DaysFromCivil(long long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153LL * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, LocalTime& t)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
}

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
    CivilFromDays(days, t);
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
