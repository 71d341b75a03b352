#include "protocol/TimeStamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>

namespace velmaris {
namespace {

TEST(TimeStamp, FormatsDateTimeAndHundredths)
{
    const TimeStampTexts t = FormatTimeStamp({2026, 12, 7, 14, 30, 5, 427});
    EXPECT_EQ(t.date, "07-DEC-2026");
    EXPECT_EQ(t.time, "14:30:05");
    EXPECT_EQ(t.hundredths, ".42");
    EXPECT_EQ(FormatTimeStamp({987, 1, 31, 0, 0, 0, 0}).date, "31-JAN-0987");
}

TEST(TimeStamp, HundredthsArePaddedWithABlank)
{
    EXPECT_EQ(FormatTimeStamp({2026, 6, 1, 0, 0, 0, 5}).hundredths, ". 0");
    EXPECT_EQ(FormatTimeStamp({2026, 6, 1, 0, 0, 0, 90}).hundredths, ". 9");
    EXPECT_EQ(FormatTimeStamp({2026, 6, 1, 0, 0, 0, 999}).hundredths, ".99");
}

TEST(TimeStamp, EveryMonthNameAndOutOfRangeMonths)
{
    const char* names[]
        = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(
            FormatTimeStamp({2000, m, 9, 0, 0, 0, 0}).date, std::string("09-") + names[m - 1] + "-2000");
    EXPECT_EQ(FormatTimeStamp({2000, 0, 9, 0, 0, 0, 0}).date,
        "09-??"
        "?-2000");
    EXPECT_EQ(FormatTimeStamp({2000, 13, 9, 0, 0, 0, 0}).date,
        "09-??"
        "?-2000");
}

TEST(TimeStamp, StampPingAndTheClockGiveWellFormedTexts)
{
    PingRecord ping;
    StampPing(ping, CurrentLocalTime());
    ASSERT_EQ(ping.date.size(), 11u);
    EXPECT_EQ(ping.date[2], '-');
    EXPECT_EQ(ping.date[6], '-');
    EXPECT_EQ(ping.time.size(), 8u);
    EXPECT_EQ(ping.hundredths.size(), 3u);
    const LocalTime now = CurrentLocalTime();
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
}

TEST(TimeStamp, LocalSecondsCountCalendarDays)
{
    struct Case {
        int year, month, day;
        long long days;
    };
    for (const Case& c : {Case {1970, 1, 1, 0}, Case {2000, 3, 1, 11017}, Case {2024, 2, 29, 19782},
             Case {2026, 12, 9, 20796}, Case {1969, 12, 31, -1}})
        EXPECT_EQ(DaysFromCivil(c.year, c.month, c.day), c.days) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_DOUBLE_EQ(LocalSeconds({1970, 1, 2, 1, 2, 3, 450}), 86400 + 3723.45);
}

#ifndef _WIN32
TEST(TimeStamp, UtcOffsetOfTheLocalClock)
{
    const char* saved = std::getenv("TZ");
    const std::string before = saved ? saved : "";
    for (const auto& [zone, minutes] :
        {std::pair {"UTC0", 0}, std::pair {"XXX-1", 60}, std::pair {"YYY+3:30", -210}}) {
        setenv("TZ", zone, 1);
        tzset();
        int offset = 12345;
        CurrentLocalTime(offset);
        EXPECT_EQ(offset, minutes) << zone;
    }
    if (saved)
        setenv("TZ", before.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
#endif

} // namespace
} // namespace velmaris
