// Display modes, orientation, reverse, head model, key-in and arrow keys.

#include "CommandsFixture.h"

#include "station/CommandIds.h"

#include <filesystem>

namespace velmaris {
namespace {

using namespace velmaris::testing;

TEST_F(CommandsTest, ModeButtonsSelectTheModeAndAreCheckedForIt)
{
    GoLiveSerial();
    commands.Execute(cmd::kModeSideScan);
    EXPECT_EQ(Settings().sectorMode, DisplayMode::SideScan);
    EXPECT_EQ(State().command[CommandMessage::kStep], kStepNone);
    EXPECT_TRUE(commands.IsChecked(cmd::kModeSideScan));
    commands.Execute(cmd::kModeSector);
    EXPECT_EQ(Settings().sectorMode, DisplayMode::Sector);
    EXPECT_TRUE(commands.IsChecked(cmd::kModeSector));
    State().flags.viewRecentreRequest = 0;
    commands.Execute(cmd::kModePolar);
    EXPECT_EQ(Settings().sectorMode, DisplayMode::Polar);
    EXPECT_EQ(State().flags.viewRecentreRequest, 1);
    EXPECT_FALSE(commands.IsChecked(cmd::kModeSector));
}

TEST_F(CommandsTest, ModeButtonsDoNothingInUdpModeOrDuringPlayback)
{
    Settings().sectorMode = DisplayMode::Polar;
    GoUdp();
    commands.Execute(cmd::kModeSideScan);
    EXPECT_EQ(Settings().sectorMode, DisplayMode::Polar);
    GoLiveSerial();
    GoPlayback();
    commands.Execute(cmd::kModeSector);
    EXPECT_EQ(Settings().sectorMode, DisplayMode::Polar);
    EXPECT_TRUE(commands.IsChecked(cmd::kModePolar)); // grey but still checked
}

TEST_F(CommandsTest, OrientationClearsTheImageAndRecomputesTheTrainAngle)
{
    GoLiveSerial();
    Settings().sectorMode = DisplayMode::Sector;
    State().command[CommandMessage::kTrain] = 60; // straight ahead
    State().raster.Set(1, 2, 3);
    ui = RecordingUi {};
    commands.Execute(cmd::kOrientationUp);
    EXPECT_EQ(Settings().sonarUpDown, 1);
    EXPECT_EQ(Settings().trainAngleDegrees, 360);
    EXPECT_EQ(State().raster.At(1, 2), 0);
    EXPECT_EQ(ui.miniBarRefreshes, 1); // applied
    commands.Execute(cmd::kOrientationDown);
    EXPECT_EQ(Settings().sonarUpDown, 0);
    EXPECT_EQ(Settings().trainAngleDegrees, 0);
    GoUdp();
    commands.Execute(cmd::kOrientationUp);
    EXPECT_EQ(Settings().sonarUpDown, 0);
}

TEST_F(CommandsTest, ReverseSetsTheOneShotRequestAndInvertsTheDirection)
{
    GoLiveSerial();
    State().ping.directionFlag = 1;
    commands.Execute(cmd::kReverse);
    EXPECT_EQ(State().command[CommandMessage::kFlags] & CommandMessage::kReverseRequestBit,
        CommandMessage::kReverseRequestBit);
    EXPECT_EQ(State().ping.directionFlag, 0);
    // The next transmitted command carries the request.
    serial.transfers.clear();
    timers.Fire(kWatchdogTimer);
    ASSERT_EQ(serial.transfers.size(), 1u);
    EXPECT_NE(serial.transfers[0][CommandMessage::kFlags] & CommandMessage::kReverseRequestBit, 0);
}

TEST_F(CommandsTest, ReverseDuringPlaybackIsGreyAndChangesNothing)
{
    GoLiveSerial();
    GoPlayback();
    const auto bytes = State().command.Bytes();
    State().ping.directionFlag = 1;
    EXPECT_FALSE(commands.IsEnabled(cmd::kReverse));
    commands.Execute(cmd::kReverse);
    EXPECT_EQ(State().command.Bytes(), bytes);
    EXPECT_EQ(State().ping.directionFlag, 1);
}

TEST_F(CommandsTest, ChoosingTheCurrentHeadModelDoesNothing)
{
    GoLiveSerial();
    std::filesystem::remove(iniPath);
    serial.opens.clear();
    commands.Execute(cmd::kSonarTypeK52A);
    EXPECT_FALSE(std::filesystem::exists(iniPath)); // no save
    EXPECT_TRUE(serial.opens.empty()); // no reconnect
    EXPECT_TRUE(tcp.connects.empty());
    EXPECT_EQ(Settings().sonarType, SonarType::SerialK52A);
}

TEST_F(CommandsTest, ChangingTheHeadModelSavesItAndConnectsTheNewHead)
{
    Settings().ipAddress = "127.0.0.1";
    GoLiveSerial();
    commands.Execute(cmd::kSonarTypeK52L);
    EXPECT_EQ(Settings().sonarType, SonarType::EthernetK52L);
    EXPECT_EQ(IniValue("System Settings", "Sonar Type"), "1");
    ASSERT_EQ(tcp.connects.size(), 1u);
    EXPECT_EQ(tcp.connects[0], (std::pair<std::string, int> {"127.0.0.1", 14040}));
    EXPECT_EQ(ui.title, "Velmaris -- Real Time (K52L)");

    serial.opens.clear();
    commands.Execute(cmd::kSonarTypeK52A);
    EXPECT_EQ(Settings().sonarType, SonarType::SerialK52A);
    EXPECT_EQ(IniValue("System Settings", "Sonar Type"), "0");
    EXPECT_EQ(serial.opens.size(), 1u);
}

TEST_F(CommandsTest, HeadModelCannotChangeInUdpMode)
{
    GoUdp();
    commands.Execute(cmd::kSonarTypeK52L);
    EXPECT_EQ(Settings().sonarType, SonarType::SerialK52A);
    EXPECT_TRUE(Settings().udpMode);
    EXPECT_TRUE(tcp.connects.empty());
}

TEST_F(CommandsTest, KeyInHotKeysOpenTheDialogWithTheirPrompt)
{
    GoLiveSerial();
    Settings().metricScale = 0;
    Settings().sectorMode = DisplayMode::Sector;
    commands.Execute(cmd::kKeyInRange);
    commands.Execute(cmd::kKeyInGain);
    commands.Execute(cmd::kKeyInSectorWidth);
    commands.Execute(cmd::kKeyInTrain);
    Settings().metricScale = 1;
    Settings().sectorMode = DisplayMode::Polar;
    commands.Execute(cmd::kKeyInRange);
    commands.Execute(cmd::kKeyInSectorWidth);
    Settings().metricScale = 4;
    commands.Execute(cmd::kKeyInRange);
    EXPECT_EQ(hooks.calls,
        (std::vector<std::string> {"ShowKeyIn Range Key In Range (meters): 1 - 200",
            "ShowKeyIn Gain Key In Gain: (0-40dB)", "ShowKeyIn SectorWidth Key In Sctor Width: (0-180 deg.)",
            "ShowKeyIn Train Key In Train Angle: (0-357 deg.)",
            "ShowKeyIn Range Key In Range (feet): 3 - 600 ",
            "ShowKeyIn SectorWidth Key In Sctor Width: (0-360 deg.)", "ShowKeyIn Range (kept)"}));
}

TEST_F(CommandsTest, KeyInDoesNothingDuringPlaybackAndSectorWidthNothingInSideScan)
{
    GoLiveSerial();
    Settings().sectorMode = DisplayMode::SideScan;
    commands.Execute(cmd::kKeyInSectorWidth);
    EXPECT_TRUE(hooks.calls.empty());
    commands.Execute(cmd::kKeyInTrain);
    EXPECT_EQ(hooks.calls.size(), 1u);
    GoPlayback();
    for (int id : {cmd::kKeyInRange, cmd::kKeyInGain, cmd::kKeyInSectorWidth, cmd::kKeyInTrain})
        commands.Execute(id);
    EXPECT_EQ(hooks.calls.size(), 1u);
}

TEST_F(CommandsTest, ArrowKeysStepSectorWidthAndTrainByTheSpinRules)
{
    GoLiveSerial();
    commands.Execute(cmd::kModeSector);
    State().command[CommandMessage::kSectorWidth] = 30;
    State().command[CommandMessage::kTrain] = 60;
    commands.Execute(cmd::kSectorWider);
    EXPECT_EQ(State().command[CommandMessage::kSectorWidth], 31);
    EXPECT_EQ(Settings().sectorWidthSector, 31);
    commands.Execute(cmd::kSectorNarrower);
    commands.Execute(cmd::kSectorNarrower);
    EXPECT_EQ(State().command[CommandMessage::kSectorWidth], 29);
    commands.Execute(cmd::kTrainUp);
    EXPECT_EQ(State().command[CommandMessage::kTrain], 61);
    commands.Execute(cmd::kTrainDown);
    commands.Execute(cmd::kTrainDown);
    EXPECT_EQ(State().command[CommandMessage::kTrain], 59);
    GoPlayback();
    commands.Execute(cmd::kSectorWider);
    commands.Execute(cmd::kTrainUp);
    EXPECT_EQ(State().command[CommandMessage::kSectorWidth], 29);
    EXPECT_EQ(State().command[CommandMessage::kTrain], 59);
}

} // namespace
} // namespace velmaris
