// Enable and check rules of the document commands in the live, UDP and
// playback states, and the guard that keeps grey commands from running.

#include "CommandsFixture.h"

#include "station/CommandIds.h"

namespace velmaris {
namespace {

using namespace velmaris::testing;

constexpr int kLiveOnly[] = {cmd::kOrientationUp, cmd::kOrientationDown, cmd::kReverse, cmd::kModePolar,
    cmd::kModeSector, cmd::kModeSideScan, cmd::kShowSonarSettings, cmd::kSonarTypeK52A, cmd::kSonarTypeK52L};

// Commands without a rule: enabled in every state.
constexpr int kAlwaysEnabled[]
    = {cmd::kColorTableFirst, cmd::kColorTableLast, cmd::kZoomFirst, cmd::kZoomLast, cmd::kZoomIn,
        cmd::kZoomOut, cmd::kProfileFirst, cmd::kPointSizeLast, cmd::kOpenPlayback, cmd::kRecord, cmd::kHold,
        cmd::kClearScreen, cmd::kRedraw, cmd::kDiagnostics, cmd::kHelp, cmd::kColorIndicator, cmd::kGridNone,
        cmd::kGridPolar, cmd::kGridRectangular, cmd::kUnitsMeters, cmd::kUnitsFeet, cmd::kSetRecordDirectory,
        cmd::kAutoSaveFileNames, cmd::kSoundVelocity, cmd::kRangeMarker, cmd::kZeroDown, cmd::kPlotUdp,
        cmd::kSaveScreen, cmd::kAbout, cmd::kKeyInRange, cmd::kSectorWider};

TEST_F(CommandsTest, LiveOnlyCommandsAreGreyInUdpModeAndDuringPlayback)
{
    GoLiveSerial();
    for (int id : kLiveOnly)
        EXPECT_TRUE(commands.IsEnabled(id)) << id;
    GoUdp();
    for (int id : kLiveOnly)
        EXPECT_FALSE(commands.IsEnabled(id)) << id;
    GoLiveSerial();
    GoPlayback();
    for (int id : kLiveOnly)
        EXPECT_FALSE(commands.IsEnabled(id)) << id;
}

TEST_F(CommandsTest, CommandsWithoutARuleStayEnabledInEveryState)
{
    GoLiveSerial();
    for (int id : kAlwaysEnabled)
        EXPECT_TRUE(commands.IsEnabled(id)) << id;
    GoUdp();
    for (int id : kAlwaysEnabled)
        EXPECT_TRUE(commands.IsEnabled(id)) << id;
    GoPlayback();
    for (int id : kAlwaysEnabled)
        EXPECT_TRUE(commands.IsEnabled(id)) << id;
}

TEST_F(CommandsTest, AddressAndPortCommandsFollowTheHeadModelAndPlayback)
{
    Settings().sonarType = SonarType::SerialK52A;
    EXPECT_FALSE(commands.IsEnabled(cmd::kIpAddress));
    EXPECT_TRUE(commands.IsEnabled(cmd::kChooseComPorts));
    Settings().sonarType = SonarType::EthernetK52L;
    EXPECT_TRUE(commands.IsEnabled(cmd::kIpAddress));
    EXPECT_FALSE(commands.IsEnabled(cmd::kChooseComPorts));
    Settings().udpMode = 1; // neither rule looks at UDP mode
    EXPECT_TRUE(commands.IsEnabled(cmd::kIpAddress));
    GoPlayback();
    EXPECT_FALSE(commands.IsEnabled(cmd::kIpAddress));
    Settings().sonarType = SonarType::SerialK52A;
    EXPECT_FALSE(commands.IsEnabled(cmd::kChooseComPorts));
}

TEST_F(CommandsTest, ConnectIsGreyOnlyWhileTheLinkIsUp)
{
    Acq().linkState = LinkState::Down;
    EXPECT_TRUE(commands.IsEnabled(cmd::kConnect));
    Acq().linkState = LinkState::Connecting;
    EXPECT_TRUE(commands.IsEnabled(cmd::kConnect));
    GoLiveSerial(); // the fake port opens
    EXPECT_EQ(Acq().linkState, LinkState::Up);
    EXPECT_FALSE(commands.IsEnabled(cmd::kConnect));
    commands.Execute(cmd::kConnect);
    EXPECT_EQ(serial.opens.size(), 1u); // grey: not connected again
}

TEST_F(CommandsTest, RealTimePlayAndMeasureTargetTakeTheirStateFromTheShell)
{
    EXPECT_FALSE(commands.IsEnabled(cmd::kRealTimePlaySpeed));
    hooks.realTimeAvailable = true;
    hooks.realTimeOn = true;
    EXPECT_TRUE(commands.IsEnabled(cmd::kRealTimePlaySpeed));
    EXPECT_TRUE(commands.IsChecked(cmd::kRealTimePlaySpeed));
    commands.Execute(cmd::kRealTimePlaySpeed);
    EXPECT_EQ(hooks.calls, std::vector<std::string> {"ToggleRealTimePlay"});

    Settings().sectorMode = DisplayMode::SideScan;
    EXPECT_FALSE(commands.IsEnabled(cmd::kMeasureTarget));
    Settings().sectorMode = DisplayMode::Sector;
    commands.Execute(cmd::kMeasureTarget);
    EXPECT_TRUE(commands.IsChecked(cmd::kMeasureTarget));
}

TEST_F(CommandsTest, ChecksFollowTheSettingsTheyShow)
{
    Settings().colorTable = 4;
    Settings().profileDispMode = 2;
    Settings().profilePointSize = 0;
    Settings().grid = 2;
    Settings().metricScale = 1;
    Settings().sonarUpDown = 1;
    Settings().sonarType = SonarType::EthernetK52L;
    Settings().sectorMode = DisplayMode::SideScan;
    Settings().viewRangeMark = 0;
    Settings().zeroDown = 1;
    Settings().autoSaveFileName = 1;
    for (int id = cmd::kColorTableFirst; id <= cmd::kColorTableLast; ++id)
        EXPECT_EQ(commands.IsChecked(id), id == 32775) << id;
    for (int id = cmd::kProfileFirst; id <= cmd::kProfileLast; ++id)
        EXPECT_EQ(commands.IsChecked(id), id == 32852) << id;
    for (int id = cmd::kPointSizeFirst; id <= cmd::kPointSizeLast; ++id)
        EXPECT_EQ(commands.IsChecked(id), id == 32875) << id;
    EXPECT_TRUE(commands.IsChecked(cmd::kGridRectangular));
    EXPECT_FALSE(commands.IsChecked(cmd::kGridPolar));
    EXPECT_FALSE(commands.IsChecked(cmd::kGridNone));
    EXPECT_TRUE(commands.IsChecked(cmd::kUnitsFeet));
    EXPECT_FALSE(commands.IsChecked(cmd::kUnitsMeters));
    EXPECT_TRUE(commands.IsChecked(cmd::kOrientationUp));
    EXPECT_FALSE(commands.IsChecked(cmd::kOrientationDown));
    EXPECT_TRUE(commands.IsChecked(cmd::kSonarTypeK52L));
    EXPECT_FALSE(commands.IsChecked(cmd::kSonarTypeK52A));
    EXPECT_TRUE(commands.IsChecked(cmd::kModeSideScan));
    EXPECT_FALSE(commands.IsChecked(cmd::kModePolar));
    EXPECT_FALSE(commands.IsChecked(cmd::kModeSector));
    EXPECT_FALSE(commands.IsChecked(cmd::kRangeMarker));
    EXPECT_TRUE(commands.IsChecked(cmd::kZeroDown));
    EXPECT_TRUE(commands.IsChecked(cmd::kAutoSaveFileNames));
    EXPECT_TRUE(commands.IsChecked(cmd::kColorIndicator)); // on from the start
    // Out-of-table values check no item.
    Settings().metricScale = 2;
    Settings().grid = 7;
    EXPECT_FALSE(commands.IsChecked(cmd::kUnitsMeters));
    EXPECT_FALSE(commands.IsChecked(cmd::kUnitsFeet));
    EXPECT_FALSE(commands.IsChecked(cmd::kGridNone));
    EXPECT_FALSE(commands.IsChecked(cmd::kGridRectangular));
}

TEST_F(CommandsTest, ZoomItemIsCheckedOnlyForAnExactMatch)
{
    Settings().zoom = 1.25;
    for (int id = cmd::kZoomFirst; id <= cmd::kZoomLast; ++id)
        EXPECT_EQ(commands.IsChecked(id), id == 32784) << id;
    Settings().zoom = 1.3;
    for (int id = cmd::kZoomFirst; id <= cmd::kZoomLast; ++id)
        EXPECT_FALSE(commands.IsChecked(id)) << id;
}

TEST_F(CommandsTest, HoldAndRecordAreCheckedFromTheDocumentState)
{
    GoLiveSerial();
    EXPECT_FALSE(commands.IsChecked(cmd::kHold));
    commands.Execute(cmd::kHold);
    EXPECT_TRUE(commands.IsChecked(cmd::kHold));
    EXPECT_FALSE(commands.IsChecked(cmd::kRecord));
    ASSERT_TRUE(doc.Recorder().Open(folder / "rec.52a"));
    EXPECT_TRUE(commands.IsChecked(cmd::kRecord));
}

TEST_F(CommandsTest, ObserverIsToldAfterEachCommandThatRan)
{
    GoLiveSerial();
    commands.Execute(cmd::kClearScreen);
    commands.Execute(cmd::kGridNone);
    EXPECT_EQ(observer.count, 2);
    GoPlayback();
    commands.Execute(cmd::kReverse); // grey: nothing ran
    EXPECT_EQ(observer.count, 2);
    commands.SetStateObserver(nullptr);
    commands.Execute(cmd::kClearScreen); // no observer: no crash
    EXPECT_EQ(observer.count, 2);
}

TEST_F(CommandsTest, UnknownIdsAreEnabledUncheckedAndDoNothing)
{
    EXPECT_TRUE(commands.IsEnabled(40000));
    EXPECT_FALSE(commands.IsChecked(40000));
    const SonarSettings before = Settings();
    commands.Execute(40000);
    EXPECT_EQ(Settings().zoom, before.zoom);
    EXPECT_TRUE(hooks.calls.empty());
    EXPECT_TRUE(hooks.hints.empty());
}

} // namespace
} // namespace velmaris
