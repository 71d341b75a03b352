// The commands tell their observer of state changes that happen outside a
// command (link events, mode steps from the bars, the help window running)
// and stay quiet when nothing a command shows has changed. Every group
// registers each of its ids once.

#include "CommandsFixture.h"

#include "station/CommandIds.h"

namespace velmaris {
namespace {

using namespace velmaris::testing;

TEST_F(CommandsTest, EachCommandIsRegisteredOnce)
{
    EXPECT_TRUE(commands.Table().Duplicates().empty());
    for (int id : {cmd::kColorTableFirst, cmd::kColorTableLast, cmd::kZoomLast, cmd::kProfileLast,
             cmd::kPointSizeLast, cmd::kConnect, cmd::kModeSideScan, cmd::kKeyInTrain, cmd::kTrainDown,
             cmd::kAbout, cmd::kHelp, cmd::kPlotUdp, cmd::kMeasureTarget})
        EXPECT_TRUE(commands.Table().Has(id)) << id;
    // The frame's own commands are not the document's.
    for (int id : {cmd::kExit, cmd::kToolbarToggle, cmd::kStatusBarToggle, cmd::kMiniSettingsBar})
        EXPECT_FALSE(commands.Table().Has(id)) << id;
}

TEST_F(CommandsTest, LinkEventsTellTheObserverOnlyWhenAStateChanged)
{
    Settings().sonarType = SonarType::EthernetK52L;
    Settings().ipAddress = "127.0.0.1";
    doc.SaveSettings();
    doc.Cycle().StartRealTime(); // directly: no command ran
    doc.NotifyStateChange();
    const int start = observer.count;
    ASSERT_TRUE(commands.IsEnabled(cmd::kConnect));

    doc.Events().OnTcpConnected(true); // the connection completes
    EXPECT_FALSE(commands.IsEnabled(cmd::kConnect));
    EXPECT_EQ(observer.count, start + 1);
    doc.Events().OnTimer(kGpsTimer); // nothing a command shows changed
    doc.Events().OnTcpBytes({});
    EXPECT_EQ(observer.count, start + 1);
    doc.Events().OnTcpClosed(); // the head went away
    EXPECT_TRUE(commands.IsEnabled(cmd::kConnect));
    EXPECT_EQ(observer.count, start + 2);
}

TEST_F(CommandsTest, ChangesFromTheBarsAndDuringACommandAreTold)
{
    GoLiveSerial();
    Settings().sectorMode = DisplayMode::Sector;
    doc.NotifyStateChange();
    int count = observer.count;

    // The mini settings bar's mode spin: the mode buttons' checks follow.
    doc.Operations().StepMode(+1);
    ASSERT_TRUE(commands.IsChecked(cmd::kModePolar));
    EXPECT_EQ(observer.count, ++count);
    doc.Operations().StepGain(+1); // no command shows the gain
    EXPECT_EQ(observer.count, count);
    doc.Operations().StepMode(+1); // SideScan: Measure Target turns grey
    EXPECT_FALSE(commands.IsEnabled(cmd::kMeasureTarget));
    EXPECT_EQ(observer.count, ++count);

    // The Help button shows checked while the help window runs.
    int toldWhileOpen = -1;
    hooks.whileHelpOpen = [&] { toldWhileOpen = observer.count; };
    commands.Execute(cmd::kHelp);
    EXPECT_EQ(toldWhileOpen, count + 1);
    EXPECT_EQ(observer.count, count + 2); // and once more when it closed
    EXPECT_FALSE(commands.IsChecked(cmd::kHelp));
}

TEST_F(CommandsTest, CommandsThatAreGoneAreNoLongerTold)
{
    {
        CommandHooks none;
        DocumentCommands other {doc, none};
        EXPECT_NE(doc.StateObserver(), nullptr);
    }
    EXPECT_EQ(doc.StateObserver(), nullptr);
    doc.Events().OnTcpClosed(); // nobody listens: no crash
}

} // namespace
} // namespace velmaris
