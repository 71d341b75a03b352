#include "document/SettingsPanelCommand.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

struct FakePanel : FloatingPanel {
    bool Exists() const override { return exists; }
    void Create() override
    {
        exists = true;
        ++creations;
    }
    bool IsShown() const override { return shown; }
    void SetShown(bool s) override { shown = s; }
    void Refresh() override { ++refreshes; }
    bool exists = false;
    bool shown = false;
    int creations = 0;
    int refreshes = 0;
};

TEST(SettingsPanelCommandTest, FlipsTheFlagCreatesOnceAndShows)
{
    SonarSettings settings;
    DocumentFlags flags;
    FakePanel panel;
    settings.settingsDlgVisible = 0;
    ShowSonarSettings(settings, flags, panel);
    EXPECT_EQ(settings.settingsDlgVisible, 1);
    EXPECT_TRUE(panel.shown);
    ShowSonarSettings(settings, flags, panel);
    EXPECT_EQ(settings.settingsDlgVisible, 0);
    EXPECT_FALSE(panel.shown);
    EXPECT_EQ(panel.creations, 1);
    EXPECT_EQ(panel.refreshes, 2);
}

TEST(SettingsPanelCommandTest, LoadingTwiceRestoresTheFlagAndPlaybackHides)
{
    // INI load inverts the flag and runs the command, which inverts it back.
    SonarSettings settings;
    DocumentFlags flags;
    FakePanel panel;
    settings.settingsDlgVisible = 1;
    settings.settingsDlgVisible = !settings.settingsDlgVisible;
    ShowSonarSettings(settings, flags, panel);
    EXPECT_EQ(settings.settingsDlgVisible, 1);
    EXPECT_TRUE(panel.shown);

    flags.playback = 1;
    settings.settingsDlgVisible = 0;
    ShowSonarSettings(settings, flags, panel);
    EXPECT_EQ(settings.settingsDlgVisible, 1);
    EXPECT_FALSE(panel.shown); // never shown during playback
}

TEST(SettingsPanelCommandTest, StateFollowsTheRealVisibility)
{
    SonarSettings settings;
    DocumentFlags flags;
    FakePanel panel;
    settings.settingsDlgVisible = 1;
    CommandState state = ShowSonarSettingsState(settings, flags, panel);
    EXPECT_TRUE(state.enabled);
    EXPECT_FALSE(state.checked);
    EXPECT_EQ(settings.settingsDlgVisible, 1); // no panel yet: flag kept

    panel.exists = true;
    panel.shown = false; // closed by its close box
    state = ShowSonarSettingsState(settings, flags, panel);
    EXPECT_EQ(settings.settingsDlgVisible, 0);
    EXPECT_FALSE(state.checked);
    panel.shown = true;
    EXPECT_TRUE(ShowSonarSettingsState(settings, flags, panel).checked);

    settings.udpMode = 1;
    EXPECT_FALSE(ShowSonarSettingsState(settings, flags, panel).enabled);
    settings.udpMode = 0;
    flags.playback = 1;
    EXPECT_FALSE(ShowSonarSettingsState(settings, flags, panel).enabled);
}

} // namespace
} // namespace velmaris
