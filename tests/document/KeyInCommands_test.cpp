#include "document/KeyInCommands.h"

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

struct RecordingWindow : KeyInWindow {
    std::string Prompt() const override { return prompt; }
    void Present(int k, const std::string& p) override
    {
        kind = k;
        prompt = p;
        ++shows;
    }
    int kind = -1;
    std::string prompt;
    int shows = 0;
};

struct NullHost : SettingsHost {
    void RefreshMiniSettingsBar() override { }
    bool SettingsPanelExists() const override { return false; }
    void RefreshSettingsPanel() override { }
    void ClearImageRaster() override { }
    void ClearImageAndHistory() override { }
    bool IsLinkConnected() const override { return true; }
    void RepaintAllViews() override { }
};

class KeyInCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitialiseCommandMessage(message, settings);
        commands.SetWindow(&window);
    }

    SonarSettings settings;
    CommandMessage message;
    DocumentFlags flags;
    NullHost host;
    SettingsOperations ops {settings, message, flags, host};
    KeyInCommands commands {settings, flags, ops};
    RecordingWindow window;
};

TEST_F(KeyInCommandsTest, PromptsAndKinds)
{
    settings.metricScale = 0;
    commands.KeyInRange();
    EXPECT_EQ(window.prompt, "Key In Range (meters): 1 - 200");
    EXPECT_EQ(window.kind, kKeyInRange);
    settings.metricScale = 1;
    commands.KeyInRange();
    EXPECT_EQ(window.prompt, "Key In Range (feet): 3 - 600 ");
    commands.KeyInGain();
    EXPECT_EQ(window.prompt, "Key In Gain: (0-40dB)");
    EXPECT_EQ(window.kind, kKeyInGain);
    settings.sectorMode = kModeSector;
    commands.KeyInSectorWidth();
    EXPECT_EQ(window.prompt, "Key In Sctor Width: (0-180 deg.)");
    EXPECT_EQ(window.kind, kKeyInSectorWidth);
    settings.sectorMode = kModePolar;
    commands.KeyInSectorWidth();
    EXPECT_EQ(window.prompt, "Key In Sctor Width: (0-360 deg.)");
    commands.KeyInTrain();
    EXPECT_EQ(window.prompt, "Key In Train Angle: (0-357 deg.)");
    EXPECT_EQ(window.kind, kKeyInTrain);
    EXPECT_EQ(window.shows, 6);
}

TEST_F(KeyInCommandsTest, RangePromptStaysForAnUnknownScale)
{
    commands.KeyInGain();
    settings.metricScale = 2;
    commands.KeyInRange();
    EXPECT_EQ(window.prompt, "Key In Gain: (0-40dB)");
    EXPECT_EQ(window.kind, kKeyInRange);
    EXPECT_EQ(window.shows, 2);
}

TEST_F(KeyInCommandsTest, NothingDuringPlaybackInSideScanOrWithoutTheWindow)
{
    flags.playback = 1;
    commands.KeyInRange();
    commands.KeyInGain();
    commands.KeyInSectorWidth();
    commands.KeyInTrain();
    EXPECT_EQ(window.shows, 0);
    flags.playback = 0;
    settings.sectorMode = kModeSideScan;
    commands.KeyInSectorWidth();
    EXPECT_EQ(window.shows, 0);
    commands.SetWindow(nullptr);
    commands.KeyInGain(); // must not touch a missing window
    EXPECT_EQ(window.shows, 0);
}

TEST_F(KeyInCommandsTest, ArrowKeysStepWidthAndTrain)
{
    settings.sectorMode = kModeSector;
    message[CommandMessage::kSectorWidth] = 30;
    message[CommandMessage::kTrain] = 60;
    commands.SectorWidthUp();
    EXPECT_EQ(message[CommandMessage::kSectorWidth], 31);
    commands.SectorWidthDown();
    commands.SectorWidthDown();
    EXPECT_EQ(message[CommandMessage::kSectorWidth], 29);
    commands.TrainUp();
    EXPECT_EQ(message[CommandMessage::kTrain], 61);
    commands.TrainDown();
    commands.TrainDown();
    EXPECT_EQ(message[CommandMessage::kTrain], 59);
}

TEST_F(KeyInCommandsTest, ApplyKeyInRemembersWhatEnterShouldRepeat)
{
    settings.metricScale = 1;
    EXPECT_EQ(ApplyKeyIn(ops, kKeyInRange, 600), 600); // kept undivided
    EXPECT_EQ(settings.rangeIndex, 14);
    EXPECT_EQ(ApplyKeyIn(ops, kKeyInGain, 99), 40);
    EXPECT_EQ(message[CommandMessage::kGain], 40);
    EXPECT_EQ(ApplyKeyIn(ops, kKeyInGain, 12), 12);
}

} // namespace
} // namespace velmaris
