#include "station/PlaybackBarUi.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(PlaybackBar, FileStepIsLengthOverHundred)
{
    EXPECT_EQ(PlaybackFileStep(123456), 1234);
    EXPECT_EQ(PlaybackFileStep(99), 0);
    EXPECT_EQ(PlaybackFileStep(0), 0);
    EXPECT_EQ(PlaybackFileStep(-5), 0);
    // Files beyond 4 GiB keep their 64-bit offsets.
    EXPECT_EQ(PlaybackFileStep(600'000'000'000LL), 6'000'000'000LL);
}

TEST(PlaybackBar, SliderReleaseSeeks)
{
    EXPECT_EQ(SliderSeekOffset(37, 0, 100, 1234), 37 * 1234);
    EXPECT_EQ(SliderSeekOffset(99, 0, 100, 6'000'000'000LL), 99 * 6'000'000'000LL);
    // Releasing at the right end starts again from the beginning.
    EXPECT_EQ(SliderSeekOffset(100, 0, 100, 1234), 0);
    EXPECT_EQ(SliderSeekOffset(120, 0, 100, 1234), 0);
    // A file shorter than 100 bytes always seeks to 0.
    EXPECT_EQ(SliderSeekOffset(50, 0, 100, PlaybackFileStep(80)), 0);
    EXPECT_EQ(SliderSeekOffset(-3, 0, 100, 1234), 0);
}

TEST(PlaybackBar, SpeedStepClampsAndYieldsToRecordedTiming)
{
    EXPECT_EQ(PlaybackSpeedAfterStep(5, +1, false, 0), 6);
    EXPECT_EQ(PlaybackSpeedAfterStep(12, +1, false, 0), 12);
    EXPECT_EQ(PlaybackSpeedAfterStep(0, -1, false, 0), 0);
    EXPECT_EQ(PlaybackSpeedAfterStep(40, +1, false, 0), 12);
    // Real-time play with a recorded interval follows the recording.
    EXPECT_EQ(PlaybackSpeedAfterStep(5, +1, true, 120), std::nullopt);
    // Without a recorded interval the spin still works.
    EXPECT_EQ(PlaybackSpeedAfterStep(5, -1, true, 0), 4);
    EXPECT_EQ(PlaybackSpeedAfterStep(0x7fffffff, +1, false, 0), 12);
}

} // namespace
} // namespace velmaris
