#include "FakeCommandTarget.h"
#include "controls/qt/CSpinButton.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CPlaybackBar.h"
#include "station/PlaybackBarUi.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace velmaris {
namespace {

TEST(PlaybackBar, FieldsLeftToRight)
{
    CPlaybackBar bar;
    bar.resize(bar.sizeHint());
    bar.show();
    auto* filePos = bar.findChild<QLabel*>("playbackFilePosLabel");
    auto* slider = bar.findChild<QSlider*>("playbackPositionSlider");
    auto* indicator = bar.findChild<QProgressBar*>("playbackSpeedIndicator");
    auto* spin = bar.findChild<CSpinButton*>("playbackSpeedSpin");
    auto* speed = bar.findChild<QLabel*>("playbackSpeedLabel");
    ASSERT_TRUE(filePos && slider && indicator && spin && speed);
    EXPECT_EQ(filePos->text(), "File Pos:");
    EXPECT_EQ(speed->text(), "Speed");
    EXPECT_LT(filePos->x(), slider->x());
    EXPECT_LT(slider->x(), indicator->x());
    EXPECT_LT(indicator->x(), spin->x());
    EXPECT_LT(spin->x(), speed->x());
    EXPECT_EQ(slider->property("controlId").toInt(), 1266);
    EXPECT_EQ(spin->property("controlId").toInt(), 1263);
    EXPECT_EQ(indicator->property("controlId").toInt(), 1261);

    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(slider->tickInterval(), 10);
    EXPECT_NE(slider->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(indicator->minimum(), 0);
    EXPECT_EQ(indicator->maximum(), 12);
    EXPECT_EQ(spin->lower(), 0);
    EXPECT_EQ(spin->upper(), 12);
}

TEST(PlaybackBar, SpeedSpinAndIndicatorMoveTogether)
{
    CPlaybackBar bar;
    bar.show();
    QSignalSpy deltas(&bar, &CPlaybackBar::speedDelta);
    bar.SetSpeed(12);
    QTest::mouseClick(bar.SpeedSpin()->upButton(), Qt::LeftButton);
    ASSERT_EQ(deltas.count(), 1);
    EXPECT_EQ(deltas[0][0].toInt(), 1);
    EXPECT_EQ(bar.SpeedSpin()->position(), 12);
    bar.SetSpeed(99);
    EXPECT_EQ(bar.SpeedIndicator()->value(), 12);
    bar.SetSpeed(0);
    EXPECT_EQ(bar.SpeedIndicator()->value(), 0);
    QTest::mouseClick(bar.SpeedSpin()->downButton(), Qt::LeftButton);
    EXPECT_EQ(deltas[1][0].toInt(), -1);
    EXPECT_EQ(bar.SpeedSpin()->position(), 0);
}

TEST(PlaybackBar, SliderReportsHoldAndRelease)
{
    CPlaybackBar bar;
    bar.resize(500, 30);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy pressed(&bar, &CPlaybackBar::positionPressed);
    QSignalSpy released(&bar, &CPlaybackBar::positionReleased);
    QSlider* slider = bar.PositionSlider();
    const QPoint handle = slider->rect().center();
    bar.SetPosition(50);
    QTest::mousePress(slider, Qt::LeftButton, {}, handle);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(released.count(), 0);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, handle);
    EXPECT_EQ(released.count(), 1);
}

TEST(PlaybackBar, FrameShowsItForAFileAndComputesSeeks)
{
    test::FakeCommandTarget target;
    CMainFrame frame(target);
    frame.ShowPlaybackBar(5, 12'345);
    CPlaybackBar* bar = frame.PlaybackBar();
    EXPECT_EQ(bar->SpeedSpin()->position(), 5);
    EXPECT_EQ(bar->SpeedIndicator()->value(), 5);
    EXPECT_EQ(frame.FileStep(), 123);

    frame.SetPositionSlider(40);
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_EQ(frame.SliderSeekOffset(), 40 * 123);
    // Released at the right end: back to the start of the file.
    frame.SetPositionSlider(100);
    EXPECT_EQ(frame.SliderSeekOffset(), 0);

    frame.ShowPlaybackBar(0, 60);
    frame.SetPositionSlider(70);
    EXPECT_EQ(frame.SliderSeekOffset(), 0);
}

} // namespace
} // namespace velmaris
