// On the real window: two targets measured with the mouse join the run's
// list, "Export Targets..." turns on, survives a Save Screen and writes the
// list as CSV through its save dialog; and a recording named with --play
// (the desktop's "open with") plays back at start-up without a head.

#include "files/DataFile.h"
#include "image/qt/CVelmarisView.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CVelmarisApp.h"
#include "sim/SyntheticRecording.h"
#include "station/CVelmarisDoc.h"
#include "station/CommandIds.h"
#include "station/GisModule.h"
#include "support/LiveStation.h"
#include "support/SpinUntil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace velmaris {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void SendMouse(CVelmarisView* view, QEvent::Type type, QPoint at, Qt::MouseButton button)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

void Click(CVelmarisView* view, QPoint at)
{
    SendMouse(view, QEvent::MouseMove, at, Qt::NoButton);
    SendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, at, Qt::LeftButton);
}

// Runs `command` and answers the save dialog it opens with `path`; returns
// the dialog's title, and its filters in `filters` when given.
QString AnswerSaveDialog(CMainFrame& frame, int command, const fs::path& path, QStringList* filters = nullptr)
{
    QString title;
    QTimer answer; // until the dialog has gone: its file list loads in the background
    QObject::connect(&answer, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            if (dialog == nullptr || !dialog->isVisible())
                continue;
            title = dialog->windowTitle();
            if (filters != nullptr)
                *filters = dialog->nameFilters();
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QString::fromStdString(path.string()));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    answer.start(50);
    frame.DispatchCommand(command);
    return title;
}

class StationTargets : public ::testing::Test {
protected:
    bool Start(StationCommandLine line = {})
    {
        station_.MakeFolder("targets");
        std::string error;
        const bool started = station_.Start("[System Settings]\nSonar Type=1\nIP Address=127.0.0.1\n"
                                            "Write File Directory="
                + station_.dir.string() + "/\n[Sonar Settings]\nRange Index=7\n",
            std::move(line), &error);
        EXPECT_TRUE(started) << error;
        return started;
    }
    void TearDown() override { station_.Stop(); }

    test::LiveStation station_;
};

TEST_F(StationTargets, TwoMeasurementsWithTheMouseExportAsCsv)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *station_.app->Frame();
    CVelmarisDoc& doc = *station_.app->Document();
    auto* view = frame.findChild<CVelmarisView*>();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(SpinUntil([&] { return doc.State().ping.pingCount >= 3; }, 10000));
    doc.State().settings.zoom = 1.0;
    QAction* exportItem = frame.CommandAction(cmd::kExportTargets);
    ASSERT_NE(exportItem, nullptr);
    EXPECT_FALSE(exportItem->isEnabled());

    // 30 m at zoom 1: 0.06 m per pixel from the window centre.
    const QPoint origin(view->width() / 2, view->height() / 2);
    const QPoint ends[2][2] = {{origin + QPoint(100, 0), origin + QPoint(100, -100)},
        {origin + QPoint(0, -50), origin + QPoint(-30, -90)}};
    for (const auto& end : ends) {
        frame.DispatchCommand(cmd::kMeasureTarget);
        Click(view, end[0]);
        Click(view, end[1]);
        EXPECT_FALSE(view->MeasureModeOn()) << "one measurement per command";
    }
    ASSERT_EQ(doc.Targets().size(), 2u);
    const MeasuredTarget& first = doc.Targets()[0];
    EXPECT_NEAR(first.anchorRange, 6.0, 1e-9);
    EXPECT_NEAR(*first.anchorBearing, 90.0, 1e-5);
    EXPECT_NEAR(first.endRange, std::sqrt(72.0), 1e-9);
    EXPECT_NEAR(*first.endBearing, 45.0, 1e-5);
    EXPECT_NEAR(first.size, 6.0, 1e-9);
    EXPECT_NEAR(doc.Targets()[1].size, 3.0, 1e-9); // 30 x 40 pixels
    EXPECT_NEAR(*doc.Targets()[1].anchorBearing, 0.0, 1e-5);
    EXPECT_FALSE(first.pingDate.empty());
    EXPECT_FALSE(first.pingTime.empty());
    EXPECT_EQ(first.measuredAt.size(), 19u) << first.measuredAt; // "2026-12-09 10:33:18"
    EXPECT_TRUE(exportItem->isEnabled()) << "the frame was told the list is no longer empty";

    // A Save Screen leaves the list as it was.
    const fs::path shot = station_.dir / "window.png";
    AnswerSaveDialog(frame, cmd::kSaveScreen, shot);
    EXPECT_TRUE(fs::exists(shot));
    EXPECT_EQ(doc.Targets().size(), 2u);
    EXPECT_TRUE(exportItem->isEnabled());

    const fs::path csv = station_.dir / "dive targets.csv";
    QStringList filters;
    EXPECT_EQ(
        AnswerSaveDialog(frame, cmd::kExportTargets, csv, &filters), QStringLiteral("Export Targets As:"));
    // Chart formats are offered where the GDAL module is in place, which is
    // not loaded for the offer.
    EXPECT_EQ(filters.join(';').contains(QStringLiteral("*.geojson")), GisModuleFound())
        << filters.join(';').toStdString();
    const std::string text = ReadFile(csv);
    EXPECT_EQ(text, TargetsCsv(doc.Targets()));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_NE(text.find(",6.00,90.0,8.49,45.0,6.00,19.69\r\n"), std::string::npos) << text;
}

TEST_F(StationTargets, PlayOnTheCommandLineStartsThePlaybackWithoutAHead)
{
    // The recording is written before the station starts, in a folder of its own.
    const fs::path recording
        = fs::temp_directory_path() / ("velmaris-play-" + std::to_string(getpid()) + ".52l");
    std::string error;
    ASSERT_TRUE(sim::WriteSyntheticRecording(recording.string(), sim::SynthOptions {}, &error)) << error;
    StationCommandLine line;
    line.playFile = recording.string();
    const bool started = Start(line);
    fs::remove(recording);
    ASSERT_TRUE(started);
    CMainFrame& frame = *station_.app->Frame();
    CVelmarisDoc& doc = *station_.app->Document();
    EXPECT_TRUE(doc.State().flags.playback);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Velmaris - Playback File [%1] ").arg(recording.c_str()));
    EXPECT_FALSE(frame.PlaybackBarHost()->isHidden());
    EXPECT_TRUE(SpinUntil([&] { return doc.PlaybackControl().RecordsRead() >= 10; }, 10000));
    EXPECT_EQ(station_.head->Connections(), 0u) << "the head was never contacted";
}

TEST_F(StationTargets, PlayOfAFileThatIsNoRecordingSaysSoAndGoesLive)
{
    // The message box of "&Open File to Playback" shows from the event loop
    // once start-up has returned, and is answered as it shows.
    QStringList messages;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box == nullptr || !box->isVisible())
                continue;
            messages << box->text();
            QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection);
        }
    });
    answer.start(20);
    StationCommandLine line;
    line.playFile = "/nonexistent/velmaris/notes.txt";
    ASSERT_TRUE(Start(line));
    EXPECT_TRUE(SpinUntil([&] { return !messages.isEmpty(); }, 5000));
    answer.stop();
    EXPECT_EQ(messages, QStringList {QString::fromUtf8(kMsgUnknownFileType)});
    CMainFrame& frame = *station_.app->Frame();
    CVelmarisDoc& doc = *station_.app->Document();
    EXPECT_FALSE(doc.State().flags.playback);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Velmaris -- Real Time (K52L)"));
    EXPECT_TRUE(SpinUntil([&] { return doc.State().ping.pingCount >= 3; }, 10000));
    EXPECT_GE(station_.head->Connections(), 1u);
}

} // namespace
} // namespace velmaris
