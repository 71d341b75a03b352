#include "station/CVelmarisDoc.h"

#include "files/SettingsFile.h"
#include "support/CycleFakes.h"
#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velmaris {
namespace {

using namespace velmaris::testing;

class CVelmarisDocTest : public ::testing::Test, protected StationFakes {
protected:
    CVelmarisDocTest() { timers.events = &doc.Events(); }

    void WriteIni(const std::string& text)
    {
        std::ofstream out(iniPath);
        out << text;
    }
    DocumentSetup Setup() const { return DocumentSetup {iniPath, "/data/", 14040, 15040}; }

    ScratchFolder folder {"doc"};
    std::string iniPath = folder / "Velmaris.INI";
    CVelmarisDoc doc {ui, Links(), reporter, clock};
};

TEST_F(CVelmarisDocTest, InitialiseLoadsTheIniAfterClearingUdpModeAndZeroesTheRaster)
{
    WriteIni("[System Settings]\nSonar Type=1\nUDP Mode=1\nIP Address=127.0.0.1\n"
             "[Sonar Settings]\nGain=17\n");
    doc.State().settings.udpMode = 0;
    doc.State().raster.Set(10, 10, 55);
    ASSERT_TRUE(doc.Recorder().Open(folder / "old.52a"));

    doc.Initialise(Setup());
    EXPECT_EQ(doc.IniPath(), iniPath);
    EXPECT_FALSE(doc.IsRecording());
    EXPECT_EQ(ui.floatingWindowsCreated, 1);
    EXPECT_EQ(ui.settingsLoads, 1);
    EXPECT_EQ(doc.State().settings.udpMode, 1); // as the file says: start-up consults it
    EXPECT_EQ(doc.State().settings.sonarType, 1);
    EXPECT_EQ(doc.State().command[CommandMessage::kGain], 17);
    EXPECT_EQ(doc.State().settings.readFileDirectory, "/data/");
    EXPECT_EQ(doc.State().settings.writeFileDirectory, "/data/");
    EXPECT_EQ(doc.State().raster.At(10, 10), 0);
    EXPECT_EQ(doc.Cycle().Config().headTcpPort, 14040);
    EXPECT_EQ(doc.Cycle().Config().udpPort, 15040);
}

TEST_F(CVelmarisDocTest, EventsDriveTheCycleOfTheDocument)
{
    WriteIni("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\n");
    doc.Initialise(Setup());
    doc.Cycle().StartRealTime();
    ASSERT_EQ(tcp.connects.at(0), (std::pair<std::string, int> {"127.0.0.1", 14040}));
    doc.Events().OnTcpConnected(true);
    timers.Fire(kSendTimer);
    const auto reply = MakeReply('G');
    doc.Events().OnTcpBytes(reply);
    EXPECT_EQ(doc.State().ping.pingCount, 1);
    EXPECT_EQ(ui.title, "Velmaris -- Real Time (K52L)");
}

TEST_F(CVelmarisDocTest, SettingsOperationsReachTheWindowsThroughTheDocument)
{
    doc.Initialise(Setup());
    doc.State().raster.Set(1, 1, 9);
    doc.Operations().StepRange(+1); // range changed: image cleared; link down: repaint now
    EXPECT_EQ(doc.State().raster.At(1, 1), 0);
    EXPECT_EQ(ui.repaints, 1);
    EXPECT_GE(ui.miniBarRefreshes, 1);

    doc.Cycle().Acquisition().linkState = kLinkUp; // connected: the next ping repaints
    doc.Operations().StepGain(+1);
    EXPECT_EQ(ui.repaints, 1);
}

TEST_F(CVelmarisDocTest, CyclePanelRefreshGoesThroughThePanelRules)
{
    doc.Initialise(Setup());
    int before = ui.panelRefreshes;
    doc.Cycle().StartRealTime();
    EXPECT_EQ(ui.panelRefreshes, before + 1);

    ui.panelExists = false; // the rules refresh only a panel that exists
    before = ui.panelRefreshes;
    doc.Cycle().StartRealTime();
    EXPECT_EQ(ui.panelRefreshes, before);
}

TEST_F(CVelmarisDocTest, CloseSavesTheSettingsAndStopsEverything)
{
    doc.Initialise(Setup());
    doc.Operations().StepGain(+3);
    ASSERT_TRUE(doc.Recorder().Open(folder / "rec.52a"));
    timers.SetTimer(kPingTimer, 10);

    EXPECT_TRUE(doc.Close());
    EXPECT_TRUE(timers.armed.empty());
    EXPECT_EQ(serial.quits, 1);
    EXPECT_FALSE(doc.IsRecording());

    SonarSettings saved;
    CommandMessage command;
    PingRecord ping;
    LoadSettingsFile(iniPath, saved, command, ping, SettingsFileContext {});
    EXPECT_EQ(saved.gain, 9);
}

TEST_F(CVelmarisDocTest, EveryConnectReloadsTheDocumentsIniFile)
{
    doc.Initialise(Setup());
    WriteIni("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\n[Sonar Settings]\nGain=23\n");
    doc.Cycle().StartRealTime();
    EXPECT_EQ(doc.State().settings.gain, 23);
    EXPECT_EQ(doc.State().command[CommandMessage::kGain], 23);
    EXPECT_EQ(ui.settingsLoads, 2);
    ASSERT_FALSE(tcp.connects.empty());
    EXPECT_EQ(tcp.connects.back(), (std::pair<std::string, int> {"127.0.0.1", 14040}));
}

} // namespace
} // namespace velmaris
