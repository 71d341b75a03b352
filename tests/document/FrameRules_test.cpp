#include "document/FrameRules.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TitleState Doc()
{
    TitleState state;
    state.hasDocument = true;
    return state;
}

TEST(FrameTitle, FirstMatchingConditionWins)
{
    TitleState state = Doc();
    state.sonarType = 0;
    EXPECT_EQ(FrameTitle(state), "Velmaris -- Real Time (K52A)");
    state.sonarType = 1;
    EXPECT_EQ(FrameTitle(state), "Velmaris -- Real Time (K52L)");

    state.udpMode = 1;
    EXPECT_EQ(FrameTitle(state), "Velmaris -- UDP Mode");

    // Playback outranks UDP mode; one hyphen and a trailing blank.
    state.playingBack = true;
    state.playbackPath = "/data/dive 3.52a";
    EXPECT_EQ(FrameTitle(state), "Velmaris - Playback File [/data/dive 3.52a] ");
}

TEST(FrameTitle, UnchangedWithoutDocumentOrForUnknownSonarType)
{
    TitleState state;
    state.playingBack = true;
    state.playbackPath = "x.52a";
    EXPECT_EQ(FrameTitle(state), std::nullopt);

    state = Doc();
    state.sonarType = 2;
    EXPECT_EQ(FrameTitle(state), std::nullopt);
    state.sonarType = -1;
    EXPECT_EQ(FrameTitle(state), std::nullopt);
}

TEST(BarsForMode, EachModeShowsItsBars)
{
    const BarPicture live = BarsForMode(OperatingMode::RealTime);
    EXPECT_EQ(live.toolbar, BarChange::Show);
    EXPECT_EQ(live.miniSettingsBar, BarChange::Show);
    EXPECT_EQ(live.playbackBar, BarChange::Hide);

    const BarPicture udp = BarsForMode(OperatingMode::Udp);
    EXPECT_EQ(udp.toolbar, BarChange::Show);
    EXPECT_EQ(udp.miniSettingsBar, BarChange::Hide);
    EXPECT_EQ(udp.playbackBar, BarChange::Hide);

    const BarPicture playback = BarsForMode(OperatingMode::Playback);
    EXPECT_EQ(playback.toolbar, BarChange::Keep);
    EXPECT_EQ(playback.miniSettingsBar, BarChange::Hide);
    EXPECT_EQ(playback.playbackBar, BarChange::Show);
}

TEST(MiniSettingsBarState, GreyInPlaybackCheckedWhenVisible)
{
    EXPECT_TRUE(MiniSettingsBarState(false, true).enabled);
    EXPECT_TRUE(MiniSettingsBarState(false, true).checked);
    EXPECT_FALSE(MiniSettingsBarState(false, false).checked);
    EXPECT_FALSE(MiniSettingsBarState(true, false).enabled);
    EXPECT_FALSE(MiniSettingsBarState(true, false).checked);
}

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
