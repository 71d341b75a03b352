// The station's window in-process: start-up against the simulated head,
// titles and bars following the mode, a dropped recording played back, the
// record command writing a file, and an orderly close.

#include "controls/qt/CCtrlPanelDlg.h"
#include "controls/qt/SettingsPanelWindow.h"
#include "image/qt/CVelmarisView.h"
#include "shell/FrameLayout.h"
#include "shell/qt/AccessPoints.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CStatusPanes.h"
#include "shell/qt/CVelmarisApp.h"
#include "sim/SyntheticRecording.h"
#include "sim/TcpHeadServer.h"
#include "station/CVelmarisDoc.h"
#include "station/CommandIds.h"
#include "support/LiveStation.h"
#include "support/SpinUntil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace velmaris {
namespace {

namespace fs = std::filesystem;

class StationWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        station_.MakeFolder("window");
        std::string error;
        ASSERT_TRUE(
            station_.Start("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\nWrite File Directory="
                    + dir_.string() + "/\n[Sonar Settings]\nGain=17\n",
                {}, &error))
            << error;
    }
    void TearDown() override { station_.Stop(); }

    test::LiveStation station_;
    fs::path& dir_ = station_.dir;
    std::unique_ptr<sim::TcpHeadServer>& head_ = station_.head;
    std::unique_ptr<CVelmarisApp>& app_ = station_.app;
};

TEST_F(StationWindow, StartsLiveAgainstTheHead)
{
    CMainFrame& frame = *app_->Frame();
    CVelmarisDoc& doc = *app_->Document();
    EXPECT_TRUE(SpinUntil([&] { return doc.State().ping.pingCount >= 5; }, 10000));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Velmaris -- Real Time (K52L)"));
    EXPECT_FALSE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_TRUE(frame.PlaybackBarHost()->isHidden());
    // The mini settings bar shows what the settings file holds.
    EXPECT_EQ(frame.MiniSettingsBar()->findChild<QLineEdit*>(QStringLiteral("gainValue"))->text(),
        QStringLiteral("17 dB"));
    // Connect is grey while the head is connected: the frame was told.
    EXPECT_FALSE(frame.CommandAction(cmd::kConnect)->isEnabled());
}

TEST_F(StationWindow, EveryPingIsPaintedIntoTheRasterWhileTheViewKeepsToItsFrameRate)
{
    CVelmarisDoc& doc = *app_->Document();
    const auto* view = app_->Frame()->findChild<CVelmarisView*>();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(
        SpinUntil([&] { return doc.State().ping.pingCount >= 5 && view->FramesPainted() > 0; }, 10000));
    const int pings = doc.State().ping.pingCount;
    const std::uint64_t replies = head_->Pings();
    const quint64 frames = view->FramesPainted();
    QElapsedTimer clock;
    clock.start();
    SpinUntil([] { return false; }, 1000);
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    const int pinged = doc.State().ping.pingCount - pings;
    const auto painted = static_cast<double>(view->FramesPainted() - frames);
    // Each whole reply the head sent was painted into the raster (one may
    // be on its way), while the view painted at most its frame rate.
    EXPECT_NEAR(static_cast<double>(head_->Pings() - replies), pinged, 1.0);
    EXPECT_GT(painted, 0);
    EXPECT_LE(painted, seconds * 240 + 2);
    EXPECT_LT(painted, pinged / 2.0) << "one paint per ping: repaints are not coalesced";
}

TEST_F(StationWindow, RecordsThenPlaysADroppedFileBack)
{
    CMainFrame& frame = *app_->Frame();
    CVelmarisDoc& doc = *app_->Document();
    ASSERT_TRUE(SpinUntil([&] { return doc.State().ping.pingCount >= 3; }, 10000));

    // Recording through the command line's path: whole records go to the file.
    const fs::path recording = dir_ / "dive.52l";
    ASSERT_TRUE(doc.RecordingControl().OpenRecordFile(recording.string()));
    EXPECT_TRUE(frame.windowTitle().startsWith(QStringLiteral("Velmaris - Record to File [")));
    const int before = doc.State().ping.pingCount;
    ASSERT_TRUE(SpinUntil([&] { return doc.State().ping.pingCount >= before + 10; }, 10000));
    frame.DispatchCommand(cmd::kRecord); // stop
    EXPECT_FALSE(doc.IsRecording());
    const auto size = fs::file_size(recording);
    EXPECT_GE(size, 10u * 640u);
    EXPECT_EQ(size % 640u, 0u);

    // A dropped data file starts its playback.
    emit frame.fileDropped(QString::fromStdString(recording.string()));
    EXPECT_TRUE(doc.State().flags.playback);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Velmaris - Playback File [%1] ").arg(recording.c_str()));
    EXPECT_TRUE(frame.MiniSettingsBarHost()->isHidden());
    EXPECT_FALSE(frame.PlaybackBarHost()->isHidden());
    EXPECT_TRUE(SpinUntil([&] { return doc.PlaybackControl().RecordsRead() >= 10; }, 10000));
    EXPECT_FALSE(frame.CommandAction(cmd::kReverse)->isEnabled());

    // Anything else dropped is ignored.
    emit frame.fileDropped(QString::fromStdString((dir_ / "Velmaris.INI").string()));
    EXPECT_TRUE(doc.State().flags.playback);

    // Connecting ends the playback.
    frame.DispatchCommand(cmd::kConnect);
    EXPECT_FALSE(doc.State().flags.playback);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Velmaris -- Real Time (K52L)"));
}

TEST_F(StationWindow, SettingsButtonFollowsThePanelsCloseBox)
{
    CMainFrame& frame = *app_->Frame();
    QAction* button = frame.CommandAction(cmd::kShowSonarSettings);
    if (button->isChecked())
        frame.DispatchCommand(cmd::kShowSonarSettings); // hidden first, whatever the INI said
    frame.DispatchCommand(cmd::kShowSonarSettings);
    ASSERT_NE(AccessPoints::SettingsPanel()->Panel(), nullptr);
    EXPECT_TRUE(button->isChecked());
    AccessPoints::SettingsPanel()->Panel()->close(); // the close box
    EXPECT_FALSE(button->isChecked());
}

TEST_F(StationWindow, CloseSavesTheSettingsAndEmptiesTheAccessPoints)
{
    CMainFrame& frame = *app_->Frame();
    EXPECT_EQ(AccessPoints::MainFrame(), &frame);
    EXPECT_EQ(AccessPoints::Document(), app_->Document());
    EXPECT_NE(AccessPoints::KeyIn(), nullptr); // created hidden at document initialisation
    EXPECT_NE(AccessPoints::Diagnostics(), nullptr);
    EXPECT_NE(AccessPoints::SettingsPanel(), nullptr);
    frame.DispatchCommand(cmd::kGridRectangular);
    frame.close();
    EXPECT_EQ(AccessPoints::MainFrame(), nullptr);
    EXPECT_EQ(AccessPoints::Document(), nullptr);
    EXPECT_EQ(AccessPoints::KeyIn(), nullptr);
    EXPECT_EQ(AccessPoints::Diagnostics(), nullptr);
    std::ifstream in(dir_ / "Velmaris.INI");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Grid=2"), std::string::npos) << text;
}

TEST_F(StationWindow, MeasureWheelReadoutsAndSaveScreenOnTheRealWindow)
{
    CMainFrame& frame = *app_->Frame();
    CVelmarisDoc& doc = *app_->Document();
    auto* view = frame.findChild<CVelmarisView*>();
    ASSERT_NE(view, nullptr);

    // "Measure Target" toggles the view's measure mode and is checked while on.
    frame.DispatchCommand(cmd::kMeasureTarget);
    frame.RefreshCommandStates();
    EXPECT_TRUE(view->MeasureModeOn());
    EXPECT_TRUE(frame.CommandAction(cmd::kMeasureTarget)->isChecked());
    frame.DispatchCommand(cmd::kMeasureTarget);
    EXPECT_FALSE(view->MeasureModeOn());

    // A mouse move fills the read-out panes: 100 px right of the origin.
    doc.State().settings.zoom = 1.0;
    const QPoint origin(view->width() / 2, view->height() / 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(origin + QPoint(100, 0)),
        view->mapToGlobal(QPointF(origin + QPoint(100, 0))), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    const double metres = RangeMetresForIndex(doc.State().settings.rangeIndex) / 5.0;
    EXPECT_EQ(frame.StatusPanes()->PaneText(kPaneRange), QString::asprintf("%.2f m", metres));
    EXPECT_EQ(frame.StatusPanes()->PaneText(kPaneBearing), QStringLiteral("90.0 deg."));
    EXPECT_EQ(frame.StatusPanes()->PaneText(kPaneVertical), QStringLiteral("0.00 m"));
    EXPECT_EQ(frame.StatusPanes()->PaneText(kPaneTargetSize), QString());

    // The wheel steps the zoom through "Zoom In" and "Zoom Out".
    const auto wheel = [view](int delta) {
        QWheelEvent event(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, delta),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    };
    wheel(120);
    EXPECT_EQ(doc.State().settings.zoom, 1.25);
    wheel(-240);
    EXPECT_EQ(doc.State().settings.zoom, 0.75);

    // SideScan greys "Measure Target" and reads the bearing as "n/a".
    frame.DispatchCommand(cmd::kModeSideScan);
    frame.RefreshCommandStates();
    EXPECT_FALSE(frame.CommandAction(cmd::kMeasureTarget)->isEnabled());
    QApplication::sendEvent(view, &move);
    EXPECT_EQ(frame.StatusPanes()->PaneText(kPaneBearing), QStringLiteral("n/a"));

    // "&Save Screen" opens "Save Image As:" in the record folder; the
    // picture has the window's size.
    const fs::path shot = dir_ / "Window.PNG";
    QString title;
    QString folder;
    // The dialog is answered as the operator would, once it shows.
    QTimer answer; // until the dialog has gone: its file list loads in the background
    QObject::connect(&answer, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            if (dialog == nullptr || !dialog->isVisible())
                continue;
            title = dialog->windowTitle();
            folder = dialog->directory().absolutePath();
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QString::fromStdString(shot.string()));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    answer.start(50);
    frame.DispatchCommand(cmd::kSaveScreen);
    EXPECT_EQ(title, QStringLiteral("Save Image As:"));
    EXPECT_EQ(folder.toStdString(), dir_.string());
    QImageReader reader(QString::fromStdString(shot.string()));
    EXPECT_EQ(reader.format(), QByteArray("png"));
    EXPECT_EQ(reader.size(), frame.size());
}

} // namespace
} // namespace velmaris
