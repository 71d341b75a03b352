#include "controls/KeyInRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmaris {
namespace {

TEST(KeyInValueTest, ReadsThreeCharactersLikeAnIntegerConversion)
{
    EXPECT_EQ(KeyInValueFromText("", -10), -10); // empty keeps the last number
    EXPECT_EQ(KeyInValueFromText("", 250), 250);
    EXPECT_EQ(KeyInValueFromText("7", 250), 7);
    EXPECT_EQ(KeyInValueFromText("1234", 0), 123);
    EXPECT_EQ(KeyInValueFromText("abc", 5), 0);
    EXPECT_EQ(KeyInValueFromText("12x", 5), 12);
    EXPECT_EQ(KeyInValueFromText(" 45", 5), 45);
    EXPECT_EQ(KeyInValueFromText("-5", 5), -5);
    EXPECT_EQ(KeyInValueFromText("+9", 5), 9);
}

TEST(KeyInValueTest, WindowSitsAtTheMainWindowsTopRight)
{
    const ScreenPoint at = KeyInWindowPosition(100, 50, 1000, 200);
    EXPECT_EQ(at.x, 100 + 1000 - 15 - 200);
    EXPECT_EQ(at.y, 81);
}

struct NullHost : SettingsHost {
    void RefreshMiniSettingsBar() override { }
    bool SettingsPanelExists() const override { return false; }
    void RefreshSettingsPanel() override { }
    void ClearImageRaster() override { }
    void ClearImageAndHistory() override { }
    bool IsLinkConnected() const override { return true; }
    void RepaintAllViews() override { }
};

class KeyInRulesTest : public ::testing::Test {
protected:
    void SetUp() override { InitialiseCommandMessage(message, settings); }

    SonarSettings settings;
    CommandMessage message;
    DocumentFlags flags;
    NullHost host;
    SettingsOperations ops {settings, message, flags, host};
};

TEST_F(KeyInRulesTest, ApplyKeyInRemembersWhatEnterShouldRepeat)
{
    settings.metricScale = 1;
    EXPECT_EQ(ApplyKeyIn(ops, KeyInKind::Range, 600), 600); // kept undivided
    EXPECT_EQ(settings.rangeIndex, 14);
    EXPECT_EQ(ApplyKeyIn(ops, KeyInKind::Gain, 99), 40);
    EXPECT_EQ(message[CommandMessage::kGain], 40);
    EXPECT_EQ(ApplyKeyIn(ops, KeyInKind::Gain, 12), 12);
}

} // namespace
} // namespace velmaris
