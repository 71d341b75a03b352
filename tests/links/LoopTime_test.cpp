#include "links/LoopTime.h"

#include "support/CycleFakes.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

using testing::FakeClock;

TEST(LoopTimeTest, FirstCallStartsSecondTakesFullDeltaLaterOnesAverage)
{
    FakeClock clock;
    LoopTime loop(clock);
    EXPECT_FALSE(loop.Started());

    clock.AdvanceMs(500); // before the first call: not counted
    loop.Measure();
    EXPECT_TRUE(loop.Started());
    EXPECT_DOUBLE_EQ(loop.Milliseconds(), 0.0);

    clock.AdvanceMs(100);
    loop.Measure();
    EXPECT_DOUBLE_EQ(loop.Milliseconds(), 100.0);

    clock.AdvanceMs(50);
    loop.Measure();
    EXPECT_DOUBLE_EQ(loop.Milliseconds(), 75.0); // 0.5 x 50 + 0.5 x 100

    clock.AdvanceMs(76);
    loop.Measure();
    EXPECT_DOUBLE_EQ(loop.Milliseconds(), 75.5);
    EXPECT_EQ(loop.Rounded(), 76); // integer part of 75.5 + 0.5
}

TEST(LoopTimeTest, ZeroDeltaKeepsAccumulatingUntilTimeHasPassed)
{
    FakeClock clock;
    LoopTime loop(clock);
    loop.Measure();
    loop.Measure(); // no time passed: still 0, so the next delta is taken whole
    EXPECT_DOUBLE_EQ(loop.Milliseconds(), 0.0);
    clock.AdvanceMs(40.4);
    loop.Measure();
    EXPECT_DOUBLE_EQ(loop.Milliseconds(), 40.4);
    EXPECT_EQ(loop.Rounded(), 40);
}

} // namespace
} // namespace velmaris
