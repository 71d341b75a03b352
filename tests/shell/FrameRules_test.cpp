#include "shell/FrameRules.h"

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
    state.sonarType = SonarType::SerialK52A;
    EXPECT_EQ(FrameTitle(state), "Velmaris -- Real Time (K52A)");
    state.sonarType = SonarType::EthernetK52L;
    EXPECT_EQ(FrameTitle(state), "Velmaris -- Real Time (K52L)");

    state.udpMode = 1;
    EXPECT_EQ(FrameTitle(state), "Velmaris -- UDP Mode");

    // Playback outranks UDP mode; one hyphen and a trailing blank.
    state.playingBack = true;
    state.playbackPath = "/data/dive 3.52a";
    EXPECT_EQ(FrameTitle(state), "Velmaris - Playback File [/data/dive 3.52a] ");
}

TEST(FrameTitle, UnchangedWithoutDocument)
{
    TitleState state;
    state.playingBack = true;
    state.playbackPath = "x.52a";
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

} // namespace
} // namespace velmaris
