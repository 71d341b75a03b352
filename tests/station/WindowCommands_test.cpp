// Floating windows, modal dialogs, recording and playback hooks.

#include "CommandsFixture.h"

#include "station/CommandIds.h"

namespace velmaris {
namespace {

using namespace velmaris::testing;

TEST_F(CommandsTest, HelpStopsThePlaybackWhileOpenAndResumesItAfter)
{
    GoPlayback();
    timers.SetTimer(kPingTimer, 0);
    timers.SetTimer(kGpsTimer, 200);
    std::map<int, int> armedWhileOpen {{-1, -1}};
    hooks.whileHelpOpen = [&] {
        armedWhileOpen = timers.armed;
        EXPECT_TRUE(commands.IsChecked(cmd::kHelp));
        EXPECT_EQ(commands.HelpOpen(), 1);
        commands.Execute(cmd::kHelp); // F1 from inside: nothing more
    };
    commands.Execute(cmd::kHelp);
    EXPECT_EQ(hooks.calls, std::vector<std::string> {"RunHotKeysHelp"});
    EXPECT_TRUE(armedWhileOpen.empty());
    EXPECT_EQ(timers.Armed(kPingTimer), 50);
    EXPECT_FALSE(commands.IsChecked(cmd::kHelp));
}

TEST_F(CommandsTest, HelpInLiveWorkLeavesTheTimersAlone)
{
    GoLiveSerial();
    const auto armed = timers.armed;
    commands.Execute(cmd::kHelp);
    EXPECT_EQ(timers.armed, armed);
    EXPECT_EQ(hooks.calls.size(), 1u);
}

TEST_F(CommandsTest, AboutDuringPlaybackResumesThePingTimerAtOnce)
{
    GoPlayback();
    timers.SetTimer(kPingTimer, 0);
    bool stopped = false;
    hooks.whileAboutOpen = [&] { stopped = timers.armed.empty(); };
    commands.Execute(cmd::kAbout);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(timers.Armed(kPingTimer), 0);
}

TEST_F(CommandsTest, SettingsPanelTogglesFromItsRealVisibility)
{
    GoLiveSerial();
    Settings().settingsDlgVisible = 0;
    commands.Execute(cmd::kShowSonarSettings); // no panel yet: the flag decides
    EXPECT_EQ(Settings().settingsDlgVisible, 1);
    EXPECT_TRUE(commands.IsChecked(cmd::kShowSonarSettings));
    // Closed with its close box: hidden while the flag still says 1.
    hooks.panelVisible = false;
    EXPECT_FALSE(commands.IsChecked(cmd::kShowSonarSettings));
    ui.panelRefreshes = 0;
    commands.Execute(cmd::kShowSonarSettings);
    EXPECT_EQ(Settings().settingsDlgVisible, 1);
    EXPECT_EQ(hooks.calls, (std::vector<std::string> {"ShowSettingsPanel 1", "ShowSettingsPanel 1"}));
    EXPECT_EQ(ui.panelRefreshes, 1);
}

TEST_F(CommandsTest, SettingsLoadTogglesThePanelBackDuringPlaybackHidden)
{
    GoPlayback();
    hooks.panelVisible = true;
    Settings().settingsDlgVisible = 0; // the load inverted the stored 1
    commands.ToggleSettingsPanel();
    EXPECT_EQ(Settings().settingsDlgVisible, 1);
    EXPECT_EQ(hooks.calls, std::vector<std::string> {"ShowSettingsPanel 0"});
}

TEST_F(CommandsTest, DiagnosticsTogglesAndWorksInEveryMode)
{
    GoPlayback();
    Settings().diagnosticsVisible = 0;
    commands.Execute(cmd::kDiagnostics);
    EXPECT_EQ(Settings().diagnosticsVisible, 1);
    EXPECT_TRUE(commands.IsChecked(cmd::kDiagnostics));
    commands.Execute(cmd::kDiagnostics);
    EXPECT_EQ(Settings().diagnosticsVisible, 0);
    EXPECT_EQ(hooks.calls, (std::vector<std::string> {"ShowDiagnostics 1", "ShowDiagnostics 0"}));
}

TEST_F(CommandsTest, OpenPlaybackReleasesTheHoldFirst)
{
    GoLiveSerial();
    commands.Execute(cmd::kHold);
    hooks.calls.clear();
    commands.Execute(cmd::kOpenPlayback);
    EXPECT_FALSE(Acq().held);
    EXPECT_EQ(hooks.calls, std::vector<std::string> {"OpenPlayback"});
}

TEST_F(CommandsTest, ShellCommandsReachTheirHooks)
{
    commands.Execute(cmd::kRecord);
    commands.Execute(cmd::kSaveScreen);
    commands.Execute(cmd::kMeasureTarget);
    EXPECT_EQ(hooks.calls, (std::vector<std::string> {"ToggleRecording", "SaveScreen", "ToggleMeasureMode"}));
}

TEST_F(CommandsTest, AutoSaveFileNamesOnlyFlipsItsCheckMark)
{
    Settings().autoSaveFileName = 0;
    commands.Execute(cmd::kAutoSaveFileNames);
    EXPECT_EQ(Settings().autoSaveFileName, 1);
    commands.Execute(cmd::kAutoSaveFileNames);
    EXPECT_EQ(Settings().autoSaveFileName, 0);
    EXPECT_TRUE(hooks.calls.empty());
}

TEST_F(CommandsTest, RecordDirectoryGetsATrailingSeparator)
{
    const std::string before = Settings().writeFileDirectory;
    commands.Execute(cmd::kSetRecordDirectory); // cancelled
    EXPECT_EQ(Settings().writeFileDirectory, before);
    hooks.folder = "/srv/sonar";
    commands.Execute(cmd::kSetRecordDirectory);
    EXPECT_EQ(Settings().writeFileDirectory, "/srv/sonar/");
    hooks.folder = "";
    commands.Execute(cmd::kSetRecordDirectory);
    EXPECT_EQ(Settings().writeFileDirectory, "/srv/sonar/");
}

TEST_F(CommandsTest, SoundVelocityStoresAnAcceptedSpeedOnly)
{
    Settings().speedOfSound = 1480.5;
    commands.Execute(cmd::kSoundVelocity); // cancelled
    EXPECT_EQ(hooks.offeredSpeed, 1480.5);
    EXPECT_EQ(Settings().speedOfSound, 1480.5);
    hooks.speed = 1600.0;
    commands.Execute(cmd::kSoundVelocity);
    EXPECT_EQ(Settings().speedOfSound, 1600.0);
    hooks.speed = 1399.9;
    commands.Execute(cmd::kSoundVelocity);
    EXPECT_EQ(Settings().speedOfSound, 1600.0);
}

TEST_F(CommandsTest, DefaultHooksLeaveCommandsShownButInert)
{
    CommandHooks none;
    DocumentCommands bare {doc, none};
    GoLiveSerial();
    const std::string ip = Settings().ipAddress;
    for (int id : {cmd::kOpenPlayback, cmd::kRecord, cmd::kSetRecordDirectory, cmd::kSoundVelocity,
             cmd::kChooseComPorts, cmd::kHelp, cmd::kAbout, cmd::kShowSonarSettings, cmd::kDiagnostics,
             cmd::kKeyInRange, cmd::kSaveScreen, cmd::kMeasureTarget})
        bare.Execute(id);
    EXPECT_EQ(Settings().ipAddress, ip);
    EXPECT_EQ(Settings().speedOfSound, 1500.0);
    EXPECT_FALSE(bare.IsEnabled(cmd::kRealTimePlaySpeed));
    EXPECT_FALSE(bare.IsChecked(cmd::kMeasureTarget));
}

} // namespace
} // namespace velmaris
