#include "FakeCommandTarget.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CStatusPanes.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

namespace velmaris {
namespace {

using test::FakeCommandTarget;

// The menu bar as the operator sees it: "menu|item|id", submenu items as
// "menu|submenu>item|id", separators as "menu|----".
const QStringList kExpectedMenus {
    "&File|Connect to &Sonar Head|32804",
    "&File|&Open File to Playback|32805",
    "&File|Plot Data from UDP|32879",
    "&File|----",
    "&File|&Record  Start (Stop)|32806",
    "&File|Set Record Directory...|32790",
    "&File|Auto Save File Names|32817",
    "&File|----",
    "&File|&Save Screen|32868",
    "&File|Export Targets...|32880",
    "&File|----",
    "&File|E&xit|57665",
    "&View|&Hold|32813",
    "&View|&Reverse|32814",
    "&View|&Clear Screen|32791",
    "&View|----",
    "&View|&Zoom Factor>50 %|32781",
    "&View|&Zoom Factor>75 %|32782",
    "&View|&Zoom Factor>100 %|32783",
    "&View|&Zoom Factor>125 %|32784",
    "&View|&Zoom Factor>150 %|32785",
    "&View|&Zoom Factor>175 %|32786",
    "&View|&Zoom Factor>200 %|32787",
    "&View|Zoom In|32822",
    "&View|Zoom Out|32823",
    "&View|----",
    "&View|Grid>None|32828",
    "&View|Grid>Rectangular|32829",
    "&View|Grid>Polar|32830",
    "&View|Range Marker|32827",
    "&View|Color &Indicator|32794",
    "&View|----",
    "&View|Main &Toolbar|59392",
    "&View|Mini Settings Bar|32844",
    "&View|Show S&onar Settings|32824",
    "ColorTable|Normal  &High|32771",
    "ColorTable|Normal  &Low|32772",
    "ColorTable|Gr&een|32773",
    "ColorTable|&Grey|32774",
    "ColorTable|&Reverse Grey|32775",
    "ColorTable|&Brown / Yellow|32776",
    "ColorTable|Gree&n / Blue|32777",
    "ColorTable|Green / &Yellow|32778",
    "ColorTable|Bl&ue|32779",
    "System|&Choose COM Ports|32796",
    "System|&IP Address|32798",
    "System|&Diagnostics|32799",
    "System|----",
    "System|Sound Velocity|32801",
    "System|&Sonar Orientation>&Up|32802",
    "System|&Sonar Orientation>&Down|32803",
    "System|Sonar Type>K52A|32866",
    "System|Sonar Type>K52L|32867",
    "Options|Units>Meters|32842",
    "Options|Units>Feet|32843",
    "Options|Measure Target|32815",
    "Options|RealTime Play Speed|32864",
    "Profile|Off|32850",
    "Profile|Points Only|32851",
    "Profile|Low Mix|32852",
    "Profile|Medium Mix|32853",
    "Profile|High Mix|32854",
    "Profile|----",
    "Profile|Point Size>Small|32875",
    "Profile|Point Size>Medium|32876",
    "Profile|Point Size>Large|32877",
    "Profile|Zero Down|32878",
    "&Help|Help...|57670",
    "&Help|&About Velmaris...|57664",
};

// Commands whose items carry a check mark.
const std::set<int> kCheckable {32771, 32772, 32773, 32774, 32775, 32776, 32777, 32778, 32779, 32781, 32782,
    32783, 32784, 32785, 32786, 32787, 32850, 32851, 32852, 32853, 32854, 32875, 32876, 32877, 32824, 32806,
    32813, 32810, 32811, 32812, 32799, 57670, 32794, 32828, 32829, 32830, 32842, 32843, 32817, 32802, 32803,
    32864, 32866, 32867, 32827, 32878, 32844, 59392, 32815};

void Flatten(
    const QString& prefix, const QString& path, QMenu* menu, QStringList& out, std::vector<QAction*>& all)
{
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            out << prefix + "|----";
        } else if (action->menu() != nullptr) {
            Flatten(prefix, path + action->text() + ">", action->menu(), out, all);
        } else {
            out << prefix + "|" + path + action->text() + "|" + QString::number(action->data().toInt());
            all.push_back(action);
        }
    }
}

class MainFrameTest : public ::testing::Test {
protected:
    FakeCommandTarget target;
    CMainFrame frame {target};

    QStringList MenuLines(std::vector<QAction*>* actions = nullptr)
    {
        QStringList lines;
        std::vector<QAction*> all;
        for (QAction* top : frame.menuBar()->actions())
            Flatten(top->text(), QString(), top->menu(), lines, all);
        if (actions != nullptr)
            *actions = all;
        return lines;
    }
    QMenu* TopMenu(const QString& title)
    {
        for (QAction* top : frame.menuBar()->actions())
            if (top->text() == title)
                return top->menu();
        return nullptr;
    }
};

TEST_F(MainFrameTest, MenuTreeMatchesTheStationsMenus)
{
    const QStringList lines = MenuLines();
    EXPECT_EQ(lines.size(), kExpectedMenus.size());
    for (qsizetype i = 0; i < std::min(lines.size(), kExpectedMenus.size()); ++i)
        EXPECT_EQ(lines[i].toStdString(), kExpectedMenus[i].toStdString()) << "line " << i;
}

TEST_F(MainFrameTest, ItemsWithACheckRuleAreCheckable)
{
    std::vector<QAction*> actions;
    MenuLines(&actions);
    for (QAction* action : actions) {
        const int id = action->data().toInt();
        EXPECT_EQ(action->isCheckable(), kCheckable.count(id) == 1) << id;
    }
    for (int id : {32810, 32811, 32812})
        EXPECT_TRUE(frame.CommandAction(id)->isCheckable()) << id;
    EXPECT_FALSE(frame.CommandAction(32825)->isCheckable());
}

TEST_F(MainFrameTest, ToolbarHasSixteenButtonsInOrder)
{
    const std::vector<int> expected {32804, 32805, 32806, 32810, 32811, 32812, 32813, 32814, 32791, 32825,
        32822, 32823, 32815, 32824, 32799, 57670};
    std::vector<int> ids;
    for (QAction* action : frame.MainToolBar()->actions()) {
        EXPECT_FALSE(action->isSeparator());
        EXPECT_FALSE(action->icon().isNull()) << action->data().toInt();
        ids.push_back(action->data().toInt());
    }
    EXPECT_EQ(ids, expected);
    // A button and its menu item are one action, so they share their state.
    EXPECT_EQ(frame.CommandAction(32813), frame.MainToolBar()->actions()[6]);
}

TEST_F(MainFrameTest, StatusBarPanes)
{
    CStatusPanes* panes = frame.StatusPanes();
    ASSERT_EQ(panes->PaneCount(), 17);
    const std::vector<int> ids {0, 1, 2, 9, 3, 5, 10, 6, 7, 11, 13, 14, 10, 15, 16, 11, 8};
    const QStringList texts {"Ready", "Target Size:", "", "", "Range:", "", "", "Bearing:", "", "",
        "Hor:", "", "", "Ver:", "", "", ""};
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(panes->PaneIdAt(i), ids[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(panes->PaneAt(i)->text(), texts[i]) << i;
    }
    // The read-outs are 50 pixels, wider when the font needs it for the widest value.
    for (int i : {2, 5, 8, 11, 14}) {
        EXPECT_GE(panes->PaneAt(i)->width(), 50) << i;
        EXPECT_GE(panes->PaneAt(i)->width(),
            panes->PaneAt(i)->fontMetrics().horizontalAdvance(QStringLiteral("-9999.99 ft")))
            << i;
    }
    // The date and time pane is 120 pixels, wider when the font needs it for "07-DEC-2026   14:30:05".
    QLabel* dateTime = panes->PaneAt(16);
    EXPECT_GE(dateTime->width(), 120);
    EXPECT_GE(dateTime->width(),
        dateTime->fontMetrics().horizontalAdvance(QStringLiteral("07-DEC-2026   14:30:05")));
    for (int i : {3, 6, 9, 12, 15}) {
        EXPECT_EQ(panes->PaneAt(i)->width(), 10) << i;
        EXPECT_FALSE(panes->PaneAt(i)->isEnabled()) << i;
        EXPECT_EQ(panes->PaneAt(i)->frameShape(), QFrame::NoFrame) << i;
    }
    EXPECT_EQ(panes->PaneAt(-1), nullptr);
    EXPECT_EQ(panes->PaneAt(17), nullptr);

    // The read-outs write by id; a duplicate id reaches the first pane only.
    EXPECT_TRUE(frame.SetPaneText(7, "123.4"));
    EXPECT_EQ(panes->PaneAt(8)->text(), "123.4");
    EXPECT_TRUE(frame.SetPaneText(10, "x"));
    EXPECT_EQ(panes->PaneAt(6)->text(), "x");
    EXPECT_EQ(panes->PaneAt(12)->text(), "");
    EXPECT_FALSE(frame.SetPaneText(4, "nowhere"));
}

TEST_F(MainFrameTest, AHighlightedItemsPromptShowsInTheMessagePane)
{
    frame.show();
    QMenu* file = TopMenu(QStringLiteral("&File"));
    ASSERT_NE(file, nullptr);
    QAction* plot = frame.CommandAction(32879);
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->toolTip(), QStringLiteral("Udp Mode"));
    QLabel* message = frame.StatusPanes()->PaneAt(0);
    file->popup(QPoint(0, 0));
    file->setActiveAction(plot);
    EXPECT_EQ(message->text(), QStringLiteral("Plot data from UDP"));
    // The other panes stay in sight while the prompt shows.
    EXPECT_TRUE(frame.StatusPanes()->PaneAt(1)->isVisible());
    // An item without a prompt brings back the idle text.
    file->setActiveAction(frame.CommandAction(32804));
    EXPECT_EQ(message->text(), QStringLiteral("Ready"));
    file->hide();
}

TEST_F(MainFrameTest, StatesFollowTheTargetBeforeAMenuShows)
{
    QMenu* view = TopMenu("&View");
    ASSERT_NE(view, nullptr);
    target.checked = {32813};
    target.disabled = {32814};
    view->popup(QPoint(0, 0));
    EXPECT_TRUE(frame.CommandAction(32813)->isChecked());
    EXPECT_FALSE(frame.CommandAction(32814)->isEnabled());
    EXPECT_TRUE(frame.CommandAction(32791)->isEnabled());
    view->hide();

    target.checked.clear();
    target.disabled.clear();
    view->popup(QPoint(0, 0));
    EXPECT_FALSE(frame.CommandAction(32813)->isChecked());
    EXPECT_TRUE(frame.CommandAction(32814)->isEnabled());
    view->hide();

    // Submenus refresh when they open, too.
    target.checked = {32785};
    QMenu* zoom = frame.CommandAction(32785)->associatedObjects().isEmpty()
        ? nullptr
        : qobject_cast<QMenu*>(frame.CommandAction(32785)->associatedObjects().constFirst());
    ASSERT_NE(zoom, nullptr);
    zoom->popup(QPoint(0, 0));
    EXPECT_TRUE(frame.CommandAction(32785)->isChecked());
    zoom->hide();
}

TEST_F(MainFrameTest, RefreshOnDemandUpdatesToolbarButtons)
{
    target.checked = {32811};
    target.disabled = {32810, 32811, 32812};
    frame.CommandStatesChanged();
    EXPECT_TRUE(frame.CommandAction(32811)->isChecked());
    EXPECT_FALSE(frame.CommandAction(32810)->isChecked());
    for (int id : {32810, 32811, 32812})
        EXPECT_FALSE(frame.CommandAction(id)->isEnabled()) << id;
}

TEST_F(MainFrameTest, ShownToolbarFollowsStatesChangedBehindItsBackWhenTold)
{
    frame.show();
    target.checked = {32806};
    target.disabled = {32804};
    // Nothing polls: the buttons keep their states until the target speaks.
    QTest::qWait(300);
    EXPECT_FALSE(frame.CommandAction(32806)->isChecked());
    EXPECT_TRUE(frame.CommandAction(32804)->isEnabled());
    frame.CommandStatesChanged();
    EXPECT_TRUE(frame.CommandAction(32806)->isChecked());
    EXPECT_FALSE(frame.CommandAction(32804)->isEnabled());
}

TEST_F(MainFrameTest, CommandsReachTheTargetOnlyWhileEnabled)
{
    frame.CommandAction(32791)->trigger();
    frame.CommandAction(32825)->trigger(); // toolbar only
    EXPECT_EQ(target.executed, (std::vector<int> {32791, 32825}));

    // A checkable item does not keep the toggle Qt gives it on a click: the
    // target's rule decides.
    frame.CommandAction(32813)->trigger();
    EXPECT_FALSE(frame.CommandAction(32813)->isChecked());
    target.checked = {32813};
    frame.CommandAction(32813)->trigger();
    EXPECT_TRUE(frame.CommandAction(32813)->isChecked());

    // A command that turned grey since the last refresh does not run.
    target.executed.clear();
    target.disabled = {32814};
    frame.DispatchCommand(32814);
    EXPECT_TRUE(target.executed.empty());
    EXPECT_FALSE(frame.CommandAction(32814)->isEnabled());
}

TEST_F(MainFrameTest, FrameHandlesTheBarTogglesItself)
{
    frame.CommandAction(59392)->trigger();
    EXPECT_TRUE(frame.MainToolBar()->isHidden());
    EXPECT_FALSE(frame.CommandAction(59392)->isChecked());
    frame.DispatchCommand(59392);
    EXPECT_FALSE(frame.MainToolBar()->isHidden());
    EXPECT_TRUE(frame.CommandAction(59392)->isChecked());

    frame.DispatchCommand(59393);
    EXPECT_TRUE(frame.StatusPanes()->isHidden());
    frame.DispatchCommand(59393);
    EXPECT_FALSE(frame.StatusPanes()->isHidden());
    EXPECT_TRUE(target.executed.empty());
}

TEST_F(MainFrameTest, MiniSettingsBarToggle)
{
    QAction* toggle = frame.CommandAction(32844);
    EXPECT_FALSE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_TRUE(toggle->isEnabled());
    toggle->trigger();
    EXPECT_FALSE(frame.MiniSettingsBarHost()->isHidden());

    // Grey during playback, and a hot path past the grey item changes nothing.
    frame.ApplyModeBars(OperatingMode::Playback);
    EXPECT_FALSE(toggle->isEnabled());
    EXPECT_FALSE(toggle->isChecked());
    frame.DispatchCommand(32844);
    EXPECT_TRUE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_TRUE(target.executed.empty());
}

TEST_F(MainFrameTest, BarsPerOperatingMode)
{
    // After creation: toolbar and mini settings bar, no playback bar.
    EXPECT_FALSE(frame.MainToolBar()->isHidden());
    EXPECT_FALSE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_TRUE(frame.PlaybackBarHost()->isHidden());

    frame.ApplyModeBars(OperatingMode::Udp);
    EXPECT_FALSE(frame.MainToolBar()->isHidden());
    EXPECT_TRUE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_TRUE(frame.PlaybackBarHost()->isHidden());

    // Playback leaves the toolbar as the operator had it.
    frame.DispatchCommand(59392);
    ASSERT_TRUE(frame.MainToolBar()->isHidden());
    frame.ShowPlaybackBar(7, 50'000);
    EXPECT_TRUE(frame.MainToolBar()->isHidden());
    EXPECT_TRUE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_FALSE(frame.PlaybackBarHost()->isHidden());
    EXPECT_TRUE(frame.IsPlayingBack());

    frame.ApplyModeBars(OperatingMode::RealTime);
    EXPECT_FALSE(frame.MainToolBar()->isHidden());
    EXPECT_FALSE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_TRUE(frame.PlaybackBarHost()->isHidden());
    EXPECT_FALSE(frame.IsPlayingBack());
}

TEST_F(MainFrameTest, TitleAfterEverySizeChange)
{
    frame.show();
    TitleState state;
    frame.SetTitleSource([&state] { return state; });

    frame.resize(1000, 700);
    EXPECT_EQ(frame.windowTitle(), "Velmaris"); // no document: unchanged

    state.hasDocument = true;
    state.sonarType = SonarType::EthernetK52L;
    frame.resize(1010, 700);
    EXPECT_EQ(frame.windowTitle(), "Velmaris -- Real Time (K52L)");

    state.udpMode = 1;
    frame.resize(1020, 700);
    EXPECT_EQ(frame.windowTitle(), "Velmaris -- UDP Mode");

    state.playingBack = true;
    state.playbackPath = "/home/op/dive.52l";
    frame.resize(1030, 700);
    EXPECT_EQ(frame.windowTitle(), "Velmaris - Playback File [/home/op/dive.52l] ");

    // A mode that set its own title keeps it when the rule has no answer.
    state = TitleState {};
    frame.setWindowTitle("Velmaris - Record to File [a.52a] ");
    frame.resize(1040, 700);
    EXPECT_EQ(frame.windowTitle(), "Velmaris - Record to File [a.52a] ");
}

TEST_F(MainFrameTest, ExitClosesTheFrameAndTellsTheDocument)
{
    frame.show();
    QSignalSpy closing(&frame, &CMainFrame::frameClosing);
    frame.CommandAction(57665)->trigger();
    EXPECT_EQ(closing.count(), 1);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_TRUE(target.executed.empty());
}

TEST_F(MainFrameTest, ViewFillsTheClientArea)
{
    auto* view = new QWidget;
    frame.SetView(view);
    EXPECT_EQ(frame.centralWidget(), view);
    EXPECT_EQ(view->parent(), &frame);
}

} // namespace
} // namespace velmaris
