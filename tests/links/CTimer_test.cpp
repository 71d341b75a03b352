#include "links/CTimer.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

class StepClock final : public Clock {
public:
    std::int64_t Ticks() const override { return now += step; }
    std::int64_t TicksPerSecond() const override { return 1000; }
    mutable std::int64_t now = 0;
    std::int64_t step = 0;
};

TEST(CTimer, ElapsedIsTheTimeSinceTheLastCall)
{
    StepClock clock;
    CTimer timer(clock); // reads 0
    clock.now = 250;
    EXPECT_DOUBLE_EQ(timer.Elapsed(), 0.25);
    clock.now = 1250;
    EXPECT_DOUBLE_EQ(timer.Elapsed(), 1.0);
    EXPECT_DOUBLE_EQ(timer.Elapsed(), 0.0);
}

TEST(CTimer, BusyWaitEndsOnlyAfterTheRequestedTime)
{
    StepClock clock;
    clock.step = 1; // every reading advances one millisecond
    const std::int64_t before = clock.now;
    BusyWaitMicroseconds(1500, clock);
    EXPECT_GT(clock.now - before, 1); // more than 1.5 ms passed: at least two readings after the start
    EXPECT_LE(clock.now - before, 3);
}

} // namespace
} // namespace velmaris
