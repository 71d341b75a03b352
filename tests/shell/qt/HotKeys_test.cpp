#include "FakeCommandTarget.h"
#include "shell/FrameLayout.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/HotKeys.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

namespace velmaris {
namespace {

using test::FakeCommandTarget;

struct Press {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int id;
};

// Every hot key of the station, both cases of each letter included.
const std::vector<Press> kPresses {
    {Qt::Key_C, Qt::NoModifier, 32791},
    {Qt::Key_C, Qt::ShiftModifier, 32791},
    {Qt::Key_H, Qt::NoModifier, 32813},
    {Qt::Key_H, Qt::ShiftModifier, 32813},
    {Qt::Key_R, Qt::NoModifier, 32855},
    {Qt::Key_R, Qt::ShiftModifier, 32855},
    {Qt::Key_G, Qt::NoModifier, 32857},
    {Qt::Key_G, Qt::ShiftModifier, 32857},
    {Qt::Key_S, Qt::NoModifier, 32861},
    {Qt::Key_S, Qt::ShiftModifier, 32861},
    {Qt::Key_T, Qt::NoModifier, 32859},
    {Qt::Key_T, Qt::ShiftModifier, 32859},
    {Qt::Key_Space, Qt::NoModifier, 32814},
    {Qt::Key_S, Qt::ControlModifier, 32868},
    {Qt::Key_F1, Qt::NoModifier, 57670},
    {Qt::Key_F2, Qt::NoModifier, 32824},
    {Qt::Key_F3, Qt::NoModifier, 32799},
    {Qt::Key_Up, Qt::NoModifier, 32870},
    {Qt::Key_Down, Qt::NoModifier, 32871},
    {Qt::Key_Right, Qt::NoModifier, 32873},
    {Qt::Key_Left, Qt::NoModifier, 32872},
};

// Shows a window and waits until it is the application's active window (a
// transient window counts as active early, while its owner still has the
// keyboard).
bool ShowActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

class HotKeysTest : public ::testing::Test {
protected:
    FakeCommandTarget target;
    CMainFrame frame {target};

    void SetUp() override { ASSERT_TRUE(ShowActive(&frame)); }

    // Presses each key on `widget` and returns the commands that arrived.
    std::vector<int> PressAll(QWidget* widget)
    {
        std::vector<int> arrived;
        for (const Press& press : kPresses) {
            target.executed.clear();
            QTest::keyClick(widget, press.key, press.modifiers);
            arrived.push_back(
                target.executed.size() == 1 ? target.executed[0] : -static_cast<int>(target.executed.size()));
        }
        return arrived;
    }
    static std::vector<int> ExpectedIds()
    {
        std::vector<int> ids;
        for (const Press& press : kPresses)
            ids.push_back(press.id);
        return ids;
    }
};

TEST(HotKeyTable, EachLetterIsListedInBothCases)
{
    for (const Accelerator& a : Accelerators()) {
        if (a.kind != Accelerator::Kind::Char)
            continue;
        const char other
            = (a.ch >= 'a') ? static_cast<char>(a.ch - 'a' + 'A') : static_cast<char>(a.ch - 'A' + 'a');
        int matches = 0;
        for (const Accelerator& b : Accelerators())
            matches += (b.kind == Accelerator::Kind::Char && b.ch == other && b.id == a.id) ? 1 : 0;
        EXPECT_EQ(matches, 1) << a.ch;
    }
    EXPECT_EQ(AcceleratorSequence(Accelerators()[0]), QKeySequence(Qt::SHIFT | Qt::Key_C));
    EXPECT_EQ(AcceleratorSequence(Accelerators()[1]), QKeySequence(Qt::Key_C));
}

TEST_F(HotKeysTest, EveryKeyReachesTheTargetFromTheMainWindow)
{
    EXPECT_EQ(PressAll(&frame), ExpectedIds());
}

TEST_F(HotKeysTest, KeysWorkWhereverTheFocusIsInTheFrame)
{
    // Even after a click into the playback bar or the mini settings bar.
    frame.ApplyModeBars(OperatingMode::Playback);
    EXPECT_EQ(PressAll(frame.PlaybackBarHost()), ExpectedIds());
}

TEST_F(HotKeysTest, GreyCommandsDoNotRunFromTheKeyboard)
{
    target.disabled = {32814};
    QTest::keyClick(&frame, Qt::Key_Space);
    EXPECT_TRUE(target.executed.empty());
    QTest::keyClick(&frame, Qt::Key_C);
    EXPECT_EQ(target.executed, std::vector<int> {32791});
}

TEST_F(HotKeysTest, KeysWorkFromAFloatingWindowOfTheFrame)
{
    QDialog panel(&frame);
    panel.setWindowTitle("Settings");
    ASSERT_TRUE(ShowActive(&panel));
    EXPECT_EQ(PressAll(&panel), ExpectedIds());
}

TEST_F(HotKeysTest, ToolWindowToo)
{
    QWidget tool(&frame, Qt::Tool);
    ASSERT_TRUE(ShowActive(&tool));
    QTest::keyClick(&tool, Qt::Key_C, Qt::ShiftModifier);
    QTest::keyClick(&tool, Qt::Key_Space);
    EXPECT_EQ(target.executed, (std::vector<int> {32791, 32814}));
}

TEST_F(HotKeysTest, TextFieldsKeepTheLettersTypedIntoThem)
{
    QDialog keyIn(&frame);
    auto* edit = new QLineEdit(&keyIn);
    (new QVBoxLayout(&keyIn))->addWidget(edit);
    ASSERT_TRUE(ShowActive(&keyIn));
    edit->setFocus();
    QTest::keyClicks(edit, "cs t");
    EXPECT_EQ(edit->text(), "cs t");
    EXPECT_TRUE(target.executed.empty());
    // Keys a text field has no use for still reach the frame.
    QTest::keyClick(edit, Qt::Key_F3);
    EXPECT_EQ(target.executed, std::vector<int> {32799});
}

TEST_F(HotKeysTest, ModalWindowWithItsOwnCopyRunsEachKeyOnce)
{
    QDialog help(&frame);
    frame.InstallAccelerators(&help);
    help.setWindowModality(Qt::ApplicationModal);
    ASSERT_TRUE(ShowActive(&help));
    EXPECT_EQ(PressAll(&help), ExpectedIds());
    help.hide();

    // A window with a copy that is shown without modality is served by the
    // frame's keys alone: each key still runs exactly once.
    QDialog panel(&frame);
    frame.InstallAccelerators(&panel);
    ASSERT_TRUE(ShowActive(&panel));
    EXPECT_EQ(PressAll(&panel), ExpectedIds());
}

TEST_F(HotKeysTest, ModalWindowWithoutTheKeysBlocksThem)
{
    // A file dialog or message box: typing there must not clear the screen.
    QDialog fileDialog(&frame);
    fileDialog.setWindowModality(Qt::ApplicationModal);
    ASSERT_TRUE(ShowActive(&fileDialog));
    QTest::keyClick(&fileDialog, Qt::Key_C);
    QTest::keyClick(&fileDialog, Qt::Key_Space);
    EXPECT_TRUE(target.executed.empty());
}

TEST_F(HotKeysTest, OpenMenuKeepsItsMnemonics)
{
    QMenu* colors = nullptr;
    for (QAction* top : frame.menuBar()->actions())
        if (top->text() == "ColorTable")
            colors = top->menu();
    ASSERT_NE(colors, nullptr);
    colors->popup(frame.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(colors));
    // "h" picks "Normal  &High" instead of Hold.
    QTest::keyClick(colors, Qt::Key_H);
    EXPECT_EQ(target.executed, std::vector<int> {32771});
}

} // namespace
} // namespace velmaris
