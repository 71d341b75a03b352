#include "station/CVelmarisDoc.h"

#include "files/SettingsFile.h"
#include "image/ViewInteraction.h"
#include "image/ViewTexts.h"
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
    EXPECT_TRUE(doc.State().settings.udpMode); // as the file says: start-up consults it
    EXPECT_EQ(doc.State().settings.sonarType, SonarType::EthernetK52L);
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
    doc.Events().OnUdpDropped(3); // counted for the diagnostics window
    EXPECT_EQ(doc.Cycle().Acquisition().droppedDatagrams, 3u);
    doc.Events().OnSerialPortLost();
    EXPECT_EQ(doc.Cycle().Acquisition().linkState, LinkState::Down);
}

TEST_F(CVelmarisDocTest, SettingsOperationsReachTheWindowsThroughTheDocument)
{
    doc.Initialise(Setup());
    doc.State().raster.Set(1, 1, 9);
    doc.Operations().StepRange(+1); // range changed: image cleared; link down: repaint now
    EXPECT_EQ(doc.State().raster.At(1, 1), 0);
    EXPECT_EQ(ui.repaints, 1);
    EXPECT_GE(ui.miniBarRefreshes, 1);

    doc.Cycle().Acquisition().linkState = LinkState::Up; // connected: the next ping repaints
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

// The view paints after the event that asked for a picture has finished, and
// on the TCP head after the next command has left: what it shows must be the
// finished ping's state, not the command's.
class ShownStatusTest : public CVelmarisDocTest {
protected:
    // The status box a paint now draws ("" for none), as the view does it.
    std::string Paint()
    {
        ServeViewRequests(TakeViewRequests(doc.State()), view);
        ViewScene scene;
        AppendStatusBox(scene, doc.Status(), view, 1600, 1000);
        for (const ViewItem& item : scene)
            if (const auto* text = std::get_if<ViewText>(&item))
                return text->text;
        return "";
    }

    ViewInteraction view;
};

TEST_F(ShownStatusTest, AHealthyEthernetHeadNeverShowsTheBox)
{
    WriteIni("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\n");
    doc.Initialise(Setup());
    doc.Cycle().StartRealTime();
    doc.Events().OnTcpConnected(true);
    const auto reply = MakeReply('G');
    ASSERT_TRUE(timers.Fire(kSendTimer));
    for (int ping = 0; ping < 12; ++ping) {
        doc.Events().OnTcpBytes(reply);
        ASSERT_TRUE(timers.Fire(kSendTimer)); // the next command leaves before the frame
        EXPECT_EQ(Paint(), "") << "ping " << ping;
    }
    EXPECT_EQ(doc.State().ping.pingCount, 12);
}

TEST_F(ShownStatusTest, ALostHeadAlternatesNoConnectionWithItsAddress)
{
    struct Case {
        SonarType sonarType;
        const char* address;
    };
    for (const Case c :
        {Case {SonarType::EthernetK52L, "IP: 127.0.0.1"}, Case {SonarType::SerialK52A, "Com Port : COM3 "}}) {
        SCOPED_TRACE(c.address);
        WriteIni("[System Settings]\nSonar Type=" + std::to_string(CodeOf(c.sonarType))
            + "\nIP Address=127.0.0.1\nSonarComPort=3\n");
        tcp.connectResult = false; // refused at once, every time the watchdog retries
        serial.openResult = SerialOpenResult::NotAvailable;
        doc.Initialise(Setup());
        doc.Cycle().StartRealTime();
        std::vector<std::string> shown;
        for (int second = 0; second < 8; ++second) {
            if (c.sonarType == SonarType::EthernetK52L) {
                ASSERT_TRUE(timers.Fire(kWatchdogTimer));
            } else {
                // The worker finds no open port and hands the ping over at once.
                ASSERT_TRUE(timers.Fire(kPingTimer) || timers.Fire(kWatchdogTimer));
                doc.Events().OnSerialTransfer({}, false, {});
            }
            if (const std::string box = Paint(); !box.empty())
                shown.push_back(box);
        }
        // The box shows every other second, its two texts in turn.
        EXPECT_EQ(shown, (std::vector<std::string> {c.address, "No Connection", c.address, "No Connection"}));
    }
}

} // namespace
} // namespace velmaris
