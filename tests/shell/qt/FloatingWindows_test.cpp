// The floating windows and the modal help windows in the running station:
// the diagnostics window live against the simulated head, its hot key and
// close box, the settings panel in UDP mode, where the windows open, and the
// hot-keys list's own hot keys.

#include "controls/qt/CAboutDlg.h"
#include "controls/qt/CDiagDlg.h"
#include "controls/qt/CHelpDlg.h"
#include "image/qt/ViewRenderer.h"
#include "shell/ViewKeepClear.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CVelmarisApp.h"
#include "sim/TcpHeadServer.h"
#include "station/CVelmarisDoc.h"
#include "station/CommandIds.h"
#include "support/LiveStation.h"
#include "support/SpinUntil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace velmaris {
namespace {

namespace fs = std::filesystem;

template <typename W>
W* TopLevel(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name))
            return qobject_cast<W*>(w);
    return nullptr;
}

class FloatingWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        station_.MakeFolder("floating");
        std::string error;
        ASSERT_TRUE(station_.Start("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nDiagnostics "
                                   "Visible=1\nSettingsDlgVisible=0\n",
            {}, &error))
            << error;
        frame_ = app_->Frame();
        diag_ = TopLevel<CDiagDlg>("diagnosticsWindow");
        ASSERT_NE(diag_, nullptr);
    }
    void TearDown() override { station_.Stop(); }
    bool Checked(int id) const { return frame_->CommandAction(id)->isChecked(); }
    int PingCount() const { return app_->Document()->State().ping.pingCount; }

    test::LiveStation station_;
    std::unique_ptr<CVelmarisApp>& app_ = station_.app;
    CMainFrame* frame_ = nullptr;
    CDiagDlg* diag_ = nullptr;
};

TEST_F(FloatingWindowsTest, DiagnosticsFollowsTheHeadAndItsHotKeyAndCloseBox)
{
    // Never shown at start-up, whatever the settings stored.
    EXPECT_FALSE(diag_->isVisible());
    // Refreshed whether shown or not.
    ASSERT_TRUE(SpinUntil([&] { return diag_->ValueText(kDiagHeader) == ":   IGX"; }, 5000));
    EXPECT_EQ(diag_->ValueText(kDiagIpAddress), ":   127.0.0.1");
    EXPECT_EQ(diag_->ValueText(kDiagComPort), ":   n/a");

    frame_->DispatchCommand(cmd::kDiagnostics);
    EXPECT_TRUE(diag_->isVisible());
    EXPECT_TRUE(Checked(cmd::kDiagnostics));
    const int before = PingCount();
    ASSERT_TRUE(SpinUntil([&] { return PingCount() > before + 3; }, 5000));
    EXPECT_EQ(diag_->ValueText(kDiagHeadPos).toStdString(),
        ":   " + std::to_string(app_->Document()->State().ping.headPosition) + " ");

    // F3 while the window itself has the focus hides it.
    diag_->activateWindow();
    QApplication::setActiveWindow(diag_);
    QTest::keyClick(diag_, Qt::Key_F3);
    EXPECT_FALSE(diag_->isVisible());
    EXPECT_FALSE(Checked(cmd::kDiagnostics));

    // The close box hides it and clears the flag; the check mark follows.
    frame_->DispatchCommand(cmd::kDiagnostics);
    ASSERT_TRUE(diag_->isVisible());
    diag_->close();
    frame_->CommandStatesChanged();
    EXPECT_FALSE(diag_->isVisible());
    EXPECT_EQ(app_->Document()->State().settings.diagnosticsVisible, 0);
    EXPECT_FALSE(Checked(cmd::kDiagnostics));
}

// The view's text areas and colour indicator on the desktop, measured in
// the view's fonts.
std::vector<QRect> ViewTextRects(const QWidget& view)
{
    const ViewTextWidth width = [](ViewFont font, std::string_view text) {
        return QFontMetrics(ViewFontFor(font))
            .horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    const QPoint origin = view.mapToGlobal(QPoint(0, 0));
    std::vector<QRect> rects;
    for (const PlaceRect& r : ViewTextAreas(view.width(), view.height(), width))
        rects.emplace_back(origin.x() + r.x, origin.y() + r.y, r.width, r.height);
    return rects;
}

// Over the view (or off the main window), clear of its texts and of `others`.
void ExpectCoversNothing(const CMainFrame& frame, const QWidget* window, const std::vector<QWidget*>& others)
{
    const QWidget& view = *frame.centralWidget();
    const QRect viewRect(view.mapToGlobal(QPoint(0, 0)), view.size());
    const QRect at = window->frameGeometry();
    SCOPED_TRACE(window->objectName().toStdString());
    EXPECT_TRUE(viewRect.contains(at) || !frame.frameGeometry().intersects(at)) << "over a menu or a bar";
    for (const QRect& text : ViewTextRects(view))
        EXPECT_FALSE(at.intersects(text)) << "over the view's text at " << text.x() << "," << text.y();
    for (const QWidget* other : others)
        if (other != window && other->isVisible()) {
            EXPECT_FALSE(at.intersects(other->frameGeometry()));
        }
}

TEST_F(FloatingWindowsTest, WindowsOpenClearOfBarsAndTextsAndStayWhereTheyWereMoved)
{
    frame_->DispatchCommand(cmd::kShowSonarSettings);
    frame_->DispatchCommand(cmd::kDiagnostics);
    QWidget* panel = TopLevel<QWidget>("settingsPanel");
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->isVisible());
    ExpectCoversNothing(*frame_, panel, {diag_});
    ExpectCoversNothing(*frame_, diag_, {panel});

    // Moved by the operator: hidden and shown again (F2, reconnect), it stays.
    const QRect view(frame_->centralWidget()->mapToGlobal(QPoint(0, 0)), frame_->centralWidget()->size());
    panel->move(view.left() + 40, view.top() + 60);
    const QPoint moved = panel->pos();
    frame_->DispatchCommand(cmd::kShowSonarSettings);
    ASSERT_FALSE(panel->isVisible());
    app_->Document()->Cycle().StartRealTime(); // reloads the settings, shows the panel again
    frame_->DispatchCommand(cmd::kShowSonarSettings);
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->pos(), moved);
    if (!diag_->isVisible())
        frame_->DispatchCommand(cmd::kDiagnostics);
    diag_->move(view.left() + 10, view.top() + 20); // over the texts: the operator may
    const QPoint diagMoved = diag_->pos();
    frame_->DispatchCommand(cmd::kDiagnostics);
    ASSERT_FALSE(diag_->isVisible());
    frame_->DispatchCommand(cmd::kDiagnostics);
    ASSERT_TRUE(diag_->isVisible());
    EXPECT_EQ(diag_->pos(), diagMoved);

    // Entering UDP mode hides the panel and clears its flag.
    app_->Document()->Cycle().StartUdpMode();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(app_->Document()->State().settings.settingsDlgVisible, 0);
}

TEST(FloatingWindowsStartTest, ThePanelShownAtStartUpCoversNoBarOrText)
{
    test::LiveStation station;
    station.MakeFolder("floating-start");
    std::string error;
    ASSERT_TRUE(station.Start(
        "[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nSettingsDlgVisible=1\n", {}, &error))
        << error;
    CMainFrame* frame = station.app->Frame();
    QWidget* panel = TopLevel<QWidget>("settingsPanel");
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(SpinUntil([&] { return frame->windowHandle()->isExposed() && panel->isVisible(); }, 5000));
    QTest::qWait(50); // the place it takes once the main window is on the screen
    ExpectCoversNothing(*frame, panel, {});
    station.Stop();
}

TEST_F(FloatingWindowsTest, HotKeysListTakesF2AndF3AndIgnoresF1)
{
    bool ran = false;
    QTimer::singleShot(50, frame_, [&] {
        auto* help = qobject_cast<CHelpDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->windowTitle(), QStringLiteral("Hot Keys..."));
        const bool diagBefore = diag_->isVisible();
        QTest::keyClick(help, Qt::Key_F3);
        EXPECT_NE(diag_->isVisible(), diagBefore);
        QTest::keyClick(help, Qt::Key_F1); // nothing more opens
        EXPECT_EQ(QApplication::activeModalWidget(), help);
        EXPECT_TRUE(Checked(cmd::kHelp));
        ran = true;
        help->reject();
    });
    frame_->DispatchCommand(cmd::kHelp);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(Checked(cmd::kHelp));
}

} // namespace
} // namespace velmaris
