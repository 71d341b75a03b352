// The main frame on the real document commands over fakes: the toolbar
// follows states the document changes on its own (a connection completing
// or dropping, a playback starting, the mode spin of the mini settings bar)
// at once, without the event loop running.

#include "shell/qt/CMainFrame.h"
#include "station/CVelmarisDoc.h"
#include "station/CommandIds.h"
#include "station/DocumentCommands.h"
#include "support/CycleFakes.h"
#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <QAction>

#include <fstream>

namespace velmaris {
namespace {

using namespace velmaris::testing;

class ToolbarStatesTest : public ::testing::Test, protected StationFakes {
protected:
    ToolbarStatesTest()
    {
        timers.events = &doc.Events();
        std::ofstream(iniPath) << "[System Settings]\nIP Address=127.0.0.1\n"; // the operator's settings
        doc.Initialise(DocumentSetup {iniPath, folder / "data/", 14040, 15040});
        commands.SetStateObserver(&frame);
        doc.State().settings.sonarType = SonarType::EthernetK52L;
        doc.State().settings.ipAddress = "127.0.0.1";
        doc.SaveSettings();
    }

    bool Enabled(int id) { return frame.CommandAction(id)->isEnabled(); }
    bool Checked(int id) { return frame.CommandAction(id)->isChecked(); }

    ScratchFolder folder {"toolbar"};
    std::string iniPath = folder / "Velmaris.INI";
    CVelmarisDoc doc {ui, Links(), reporter, clock};
    CommandHooks hooks;
    DocumentCommands commands {doc, hooks};
    CMainFrame frame {commands};
};

TEST_F(ToolbarStatesTest, ConnectFollowsTheLinkAsItsEventsArrive)
{
    frame.DispatchCommand(cmd::kConnect);
    ASSERT_EQ(tcp.connects.size(), 1u);
    EXPECT_TRUE(Enabled(cmd::kConnect)); // still connecting
    doc.Events().OnTcpConnected(true);
    EXPECT_FALSE(Enabled(cmd::kConnect));
    doc.Events().OnTcpClosed();
    EXPECT_TRUE(Enabled(cmd::kConnect));
}

TEST_F(ToolbarStatesTest, ModeButtonsFollowTheModeSpinAndPlayback)
{
    frame.DispatchCommand(cmd::kConnect);
    doc.Events().OnTcpConnected(true);
    frame.DispatchCommand(cmd::kModeSector);
    ASSERT_TRUE(Checked(cmd::kModeSector));
    doc.Operations().StepMode(+1); // the mini settings bar's spin
    EXPECT_TRUE(Checked(cmd::kModePolar));
    EXPECT_FALSE(Checked(cmd::kModeSector));
    doc.Operations().StepMode(+1);
    EXPECT_TRUE(Checked(cmd::kModeSideScan));
    EXPECT_FALSE(Enabled(cmd::kMeasureTarget));

    // A dropped file starts a playback: the live-only buttons turn grey and
    // the closed link frees Connect.
    const std::string file = folder / "dive.52l";
    std::ofstream(file, std::ios::binary) << std::string(640, '\0');
    ASSERT_TRUE(doc.PlaybackControl().OpenDroppedFile(file));
    for (int id :
        {cmd::kModePolar, cmd::kModeSector, cmd::kModeSideScan, cmd::kReverse, cmd::kShowSonarSettings})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(cmd::kConnect));
    // Connecting ends it.
    frame.DispatchCommand(cmd::kConnect);
    doc.Events().OnTcpConnected(true);
    EXPECT_TRUE(Enabled(cmd::kReverse));
    EXPECT_FALSE(Enabled(cmd::kConnect));
}

} // namespace
} // namespace velmaris
