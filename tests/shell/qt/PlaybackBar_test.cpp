#include "FakeCommandTarget.h"
#include "controls/qt/CSpinButton.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CPlaybackBar.h"
#include "shell/qt/QtFileWindows.h"
#include "station/PlaybackBarUi.h"
#include "support/PlaybackRig.h"
#include "support/RecordFixture.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

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

// A point on the slider's groove at `fraction` of its width (the style
// draws the ticks below it).
QPoint OnTrack(const QSlider* slider, double fraction)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.pageStep = slider->pageStep();
    option.singleStep = slider->singleStep();
    const QRect groove
        = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
    return {static_cast<int>(slider->width() * fraction), groove.center().y()};
}

TEST(PlaybackBar, EachPressOnTheSliderIsHeldUntilItsOneRelease)
{
    CPlaybackBar bar;
    bar.resize(500, 30);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QSlider* slider = bar.PositionSlider();
    const QPoint thumb = OnTrack(slider, 0.5); // at 50
    const QPoint trackRight = OnTrack(slider, 0.9);
    const QPoint trackLeft = OnTrack(slider, 0.1);
    const QPoint besideTrack(trackRight.x(), slider->height() - 1); // on the ticks
    struct Case {
        const char* what;
        Qt::MouseButton button;
        QPoint press, release;
        int pressesAndReleases; // each
        int moved; // -1 left, 0 not, +1 right
    };
    const Case cases[] = {
        {"thumb", Qt::LeftButton, thumb, thumb, 1, 0},
        {"thumb dragged", Qt::LeftButton, thumb, trackRight, 1, +1},
        {"track right of the thumb", Qt::LeftButton, trackRight, trackRight, 1, +1},
        {"track left of the thumb", Qt::LeftButton, trackLeft, trackLeft, 1, -1},
        {"right button", Qt::RightButton, trackRight, trackRight, 0, 0},
        {"beside the groove", Qt::LeftButton, besideTrack, besideTrack, 0, 0},
    };
    for (const Case& c : cases) {
        bar.SetPosition(50);
        QSignalSpy pressed(&bar, &CPlaybackBar::positionPressed);
        QSignalSpy released(&bar, &CPlaybackBar::positionReleased);
        QTest::mousePress(slider, c.button, {}, c.press);
        EXPECT_EQ(pressed.count(), c.pressesAndReleases) << c.what;
        EXPECT_EQ(released.count(), 0) << c.what;
        if (c.release != c.press)
            QTest::mouseMove(slider, c.release);
        QTest::mouseRelease(slider, c.button, {}, c.release);
        EXPECT_EQ(pressed.count(), c.pressesAndReleases) << c.what;
        EXPECT_EQ(released.count(), c.pressesAndReleases) << c.what;
        const int moved = bar.Position() > 50 ? 1 : bar.Position() < 50 ? -1 : 0;
        EXPECT_EQ(moved, c.moved) << c.what << ": at " << bar.Position();
    }

    // The wheel moves nothing: it would have no release to seek on.
    bar.SetPosition(50);
    QSignalSpy released(&bar, &CPlaybackBar::positionReleased);
    QWheelEvent wheel(QPointF(thumb), slider->mapToGlobal(QPointF(thumb)), {}, QPoint(0, -120), Qt::NoButton,
        {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &wheel);
    EXPECT_EQ(bar.Position(), 50);
    EXPECT_EQ(released.count(), 0);
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

// The bar on the main frame, wired to a document (on fakes) as the station
// wires it: a click on the track holds the slider until the release, which
// seeks, and the ticks after it go on from there.
TEST(PlaybackBar, AClickOnTheTrackSeeksAndTheTicksGoOnFromThere)
{
    testing::PlaybackRig rig;
    test::FakeCommandTarget target;
    CMainFrame frame(target);
    QtFileWindows windows(frame, rig.doc);
    rig.doc.SetFileWindows(&rig.dialogs, &windows);
    frame.resize(1000, 600);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 1000; ++i)
        testing::Append(bytes, testing::MakeRecord(testing::PingSpec {}));
    const std::string path = rig.folder / "dive.52a";
    testing::WriteBytes(path, bytes);
    ASSERT_TRUE(rig.Play(path));
    ASSERT_EQ(rig.Player().FileStep(), 6400); // ten records a slider step
    rig.state.settings.playbackSpeed = 0; // a record a tick
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(rig.Tick());
    QSlider* slider = frame.PlaybackBar()->PositionSlider();
    ASSERT_EQ(slider->value(), 0);

    const QPoint track = OnTrack(slider, 0.75);
    QTest::mousePress(slider, Qt::LeftButton, {}, track);
    const int went = slider->value();
    ASSERT_GT(went, 0);
    EXPECT_TRUE(rig.Player().SliderHeld());
    ASSERT_TRUE(rig.Tick()); // held: the tick leaves the thumb where it went
    EXPECT_EQ(slider->value(), went);

    QTest::mouseRelease(slider, Qt::LeftButton, {}, track);
    EXPECT_FALSE(rig.Player().SliderHeld());
    EXPECT_EQ(rig.Player().Position(), went * 6400);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(rig.Tick());
    EXPECT_EQ(slider->value(), went);
    EXPECT_EQ(rig.Player().Position(), went * 6400 + 3 * 640);
}

} // namespace
} // namespace velmaris
