// The replay's pacing on a clock the test moves: recorded gaps, speed,
// lateness and the wrap of --loop.
#include "ReplayPacing.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmaris::tool {
namespace {

using namespace std::chrono_literals;

// Sleeping moves the clock to the moment asked for; the test moves it
// further to stand for a slow sender.
class FakeReplayClock final : public ReplayClock {
public:
    Nanoseconds Now() override { return now; }
    void SleepUntil(Nanoseconds when) override
    {
        sleeps.push_back(when);
        now = when;
    }
    Nanoseconds now = 7s;
    std::vector<Nanoseconds> sleeps;
};

// A record stamped 07-DEC-2026 14:30:05 plus `cs` hundredths.
RecordTiming At(std::int64_t cs, int loopMs = 0)
{
    return RecordTiming {*StampCentiseconds("07-DEC-2026", "14:30:05", ".00") + cs, loopMs};
}

TEST(ReplayPacing, StampsReadAsTheStationWritesThem)
{
    const auto base = StampCentiseconds("07-DEC-2026", "14:30:05", ".00");
    ASSERT_TRUE(base);
    // 1 January 1970 is day 0; 7 December 2026 is 20794 days on.
    EXPECT_EQ(*StampCentiseconds("01-JAN-1970", "00:00:00", ".00"), 0);
    EXPECT_EQ(*base, (20794LL * 86400 + 14 * 3600 + 30 * 60 + 5) * 100);
    EXPECT_EQ(*StampCentiseconds("07-DEC-2026", "14:30:05", ".42"), *base + 42);
    EXPECT_EQ(*StampCentiseconds("07-DEC-2026", "14:30:05", ". 4"), *base + 4); // ".%2d" of 40 ms
    // Midnight and the turn of a year and of a leap day go forward.
    EXPECT_EQ(*StampCentiseconds("01-JAN-2027", "00:00:00", ".00")
            - *StampCentiseconds("31-DEC-2026", "23:59:59", ".99"),
        1);
    EXPECT_EQ(*StampCentiseconds("01-MAR-2028", "00:00:00", ".00")
            - *StampCentiseconds("28-FEB-2028", "00:00:00", ".00"),
        2 * 86400 * 100);

    for (const auto& [date, time, hundredths] :
        std::vector<std::tuple<const char*, const char*, const char*>> {{"07-XYZ-2026", "14:30:05", ".00"},
            {"7-DEC-2026", "14:30:05", ".00"}, {"07-DEC-2026", "24:00:00", ".00"},
            {"07-DEC-2026", "14:61:00", ".00"}, {"07-DEC-2026", "14:30", ".00"},
            {"07-DEC-2026", "14:30:05", "42"}, {"07-DEC-2026", "14:30:05", ".4x"}, {"", "", ""},
            {"00-DEC-2026", "14:30:05", ".00"}})
        EXPECT_FALSE(StampCentiseconds(date, time, hundredths)) << date << ' ' << time << ' ' << hundredths;
}

TEST(ReplayPacing, GapIsTheStampDifferenceOrElseTheLoopTime)
{
    struct Case {
        RecordTiming previous, next;
        Nanoseconds gap;
    };
    const RecordTiming unstamped {std::nullopt, 85};
    const Case cases[] = {
        {At(0), At(5, 85), 50ms}, // the stamps win over the loop time
        {At(0), At(0), 0ms}, // two pings in the same hundredth
        {At(0), At(1000), 10s}, // the longest gap waited out
        {At(0), At(1001, 85), 85ms}, // longer: the loop time
        {At(500), At(0, 60), 60ms}, // a step back: the loop time
        {At(500), At(0), 0ms}, // ... or nothing when there is none
        {At(0), unstamped, 85ms}, // an unreadable stamp
        {unstamped, At(5, 0), 0ms},
        {At(0), At(2000, 20000), 0ms}, // a loop time beyond the limit is no better
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordedGap(c.previous, c.next), c.gap)
            << (c.previous.stampCs ? *c.previous.stampCs : -1) << " -> "
            << (c.next.stampCs ? *c.next.stampCs : -1);
}

TEST(ReplayPacing, SpeedScalesTheRecordedTimeAgainstOneOrigin)
{
    for (const double speed : {1.0, 2.0, 0.5}) {
        FakeReplayClock clock;
        ReplayPacer pacer(clock, speed);
        const Nanoseconds start = clock.now;
        std::vector<Nanoseconds> sentAt;
        // 20 pings a second, recorded in hundredths: 0, 5, 10 ... with one gap of 7.
        for (std::int64_t cs : {0, 5, 10, 17, 22, 27}) {
            pacer.Pace(At(cs));
            sentAt.push_back(clock.now - start);
            clock.now += 300us; // sending takes time; it must not add up
        }
        std::vector<Nanoseconds> want;
        for (std::int64_t cs : {0, 5, 10, 17, 22, 27})
            want.push_back(Nanoseconds(static_cast<std::int64_t>(cs * 10'000'000 / speed)));
        EXPECT_EQ(sentAt, want) << "speed " << speed;
        EXPECT_EQ(pacer.RecordedElapsed(), 270ms);
    }
}

TEST(ReplayPacing, SpeedZeroNeverWaits)
{
    FakeReplayClock clock;
    ReplayPacer pacer(clock, 0.0);
    for (std::int64_t cs : {0, 100, 200})
        pacer.Pace(At(cs));
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(pacer.RecordedElapsed(), 2s); // still counted for the summary
}

TEST(ReplayPacing, AHeldUpSenderPicksUpFromNowInsteadOfBursting)
{
    FakeReplayClock clock;
    ReplayPacer pacer(clock, 1.0);
    pacer.Pace(At(0));
    pacer.Pace(At(5));
    const Nanoseconds second = clock.now;
    clock.now += 100ms; // late, but within the limit: the backlog is caught up
    pacer.Pace(At(10));
    EXPECT_EQ(clock.now, second + 100ms) << "sent at once";
    pacer.Pace(At(15));
    EXPECT_EQ(clock.now, second + 100ms) << "due just now";
    pacer.Pace(At(20));
    EXPECT_EQ(clock.now, second + 150ms) << "back on the recorded schedule";

    clock.now += 2s; // stopped for far longer than the limit
    const Nanoseconds resumed = clock.now;
    pacer.Pace(At(25));
    EXPECT_EQ(clock.now, resumed) << "sent at once";
    pacer.Pace(At(30));
    EXPECT_EQ(clock.now, resumed + 50ms) << "the recorded gap after it, not a burst";
}

TEST(ReplayPacing, LoopWrapsWithTheFirstRecordsLoopTimeOrTheMeanGap)
{
    FakeReplayClock clock;
    ReplayPacer pacer(clock, 2.0);
    const Nanoseconds start = clock.now;
    // Pass 1: 0, 10, 30 hundredths (mean gap 150 ms).
    for (std::int64_t cs : {0, 10, 30})
        pacer.Pace(At(cs, 40));
    pacer.Wrap();
    pacer.Pace(At(0, 40)); // the first record's own loop time: 40 ms
    EXPECT_EQ(pacer.RecordedElapsed(), 340ms);
    EXPECT_EQ(clock.now - start, 170ms);
    pacer.Pace(At(10, 40));
    pacer.Pace(At(30, 40));
    EXPECT_EQ(pacer.RecordedElapsed(), 640ms);

    pacer.Wrap();
    pacer.Pace(At(0, 0)); // no loop time: the mean gap of the pass, 150 ms
    EXPECT_EQ(pacer.RecordedElapsed(), 790ms);
    EXPECT_EQ(clock.now - start, 395ms);

    // A wrap before anything was sent changes nothing.
    FakeReplayClock other;
    ReplayPacer fresh(other, 1.0);
    fresh.Wrap();
    fresh.Pace(At(0, 40));
    EXPECT_EQ(fresh.RecordedElapsed(), 0ms);
}

} // namespace
} // namespace velmaris::tool
