#include "image/FramePacer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace velmaris {
namespace {

TEST(FramePacerTest, IntervalFollowsTheDisplayWithinBounds)
{
    struct Case {
        double hz;
        double intervalMs;
    };
    for (const Case& c :
        std::vector<Case> {{60, 1000.0 / 60}, {144, 1000.0 / 144}, {1000, 1000.0 / 240}, {10, 1000.0 / 24},
            {0, 1000.0 / 60}, {-5, 1000.0 / 60}, {std::numeric_limits<double>::quiet_NaN(), 1000.0 / 60}}) {
        FramePacer pacer;
        pacer.SetRefreshRate(c.hz);
        EXPECT_DOUBLE_EQ(pacer.Interval(), c.intervalMs) << c.hz;
    }
}

// A sequence of requests and paints at given times, with the wait each
// request must get (-1: it joins the frame already on its way).
TEST(FramePacerTest, RequestsBetweenTwoFramesGiveOneFrame)
{
    struct Step {
        double atMs;
        bool paint; // a paint at this time instead of a request
        double wait;
    };
    const std::vector<Step> steps {
        {100.0, false, kFrameLeadMs}, // first request: at once, but behind what is due
        {100.2, false, -1}, // pings before the frame join it
        {100.9, false, -1},
        {101.0, true, 0},
        {101.5, false, 1000.0 / 60 - 0.5}, // the next frame one interval after the last
        {110.0, false, -1},
        {117.7, true, 0},
        {200.0, false, kFrameLeadMs}, // idle for long: the lead only
        {200.5, true, 0}, // painted for another reason (an exposure): served
        {201.0, false, 1000.0 / 60 - 0.5},
    };
    FramePacer pacer(1000.0 / 60);
    for (const Step& s : steps) {
        if (s.paint) {
            EXPECT_TRUE(pacer.Pending()) << s.atMs;
            pacer.Painted(s.atMs);
            EXPECT_FALSE(pacer.Pending());
            continue;
        }
        const auto wait = pacer.Request(s.atMs);
        if (s.wait < 0) {
            EXPECT_FALSE(wait.has_value()) << s.atMs;
        } else {
            ASSERT_TRUE(wait.has_value()) << s.atMs;
            EXPECT_NEAR(*wait, s.wait, 1e-9) << s.atMs;
        }
        EXPECT_TRUE(pacer.Pending());
    }
}

TEST(FramePacerTest, WaitNeverExceedsOneIntervalWhenTheClockStepsBack)
{
    FramePacer pacer(20.0);
    ASSERT_TRUE(pacer.Request(1000.0));
    pacer.Painted(1000.0);
    const auto wait = pacer.Request(500.0); // an earlier time than the last frame
    ASSERT_TRUE(wait);
    EXPECT_DOUBLE_EQ(*wait, 20.0);
}

} // namespace
} // namespace velmaris
