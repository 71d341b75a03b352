// The mouse on the real view: drag, measurement overlay, read-outs, wheel.
#include "image/qt/CVelmarisView.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "image/ViewScene.h"
#include "image/ViewSource.h"
#include "support/FakeViewSource.h"

namespace velmaris {
namespace {

using FakeSource = testing::FakeViewSource;

bool Is(const QImage& image, int x, int y, const Rgb& c)
{
    const QRgb p = image.pixel(x, y);
    return qRed(p) == c.red && qGreen(p) == c.green && qBlue(p) == c.blue;
}

// 800 x 600, 30 m, zoom 1, no overlays: the sonar origin is (400, 300).
struct ViewMouse : ::testing::Test {
    FakeSource source;
    CVelmarisView view {&source};

    ViewMouse()
    {
        SonarSettings& s = source.state.settings;
        s.sectorMode = DisplayMode::Polar;
        s.rangeIndex = 7;
        s.grid = 0;
        s.viewRangeMark = 0;
        s.colorTable = 1;
        source.state.command[CommandMessage::kSectorWidth] = 120; // full circle: nothing clipped
        source.status.linkState = LinkState::Up;
        source.status.colorIndicator = false;
        view.resize(800, 600);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QImage Frame()
    {
        view.repaint();
        return view.Frame();
    }
    void Move(int x, int y, Qt::MouseButtons buttons = Qt::NoButton)
    {
        // QTest::mouseMove does not carry buttons; send the event itself.
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), view.mapToGlobal(QPointF(x, y)), Qt::NoButton,
            buttons, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }
};

TEST_F(ViewMouse, DragMovesThePaintedOriginByTheDragDistance)
{
    source.state.raster.Set(500, 400, 59); // 100 px above the sonar origin
    ASSERT_TRUE(Is(Frame(), 400, 200, source.state.colors.Table(1)[59]));

    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
    Move(130, 80, Qt::LeftButton);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(130, 80));
    const QImage moved = Frame();
    EXPECT_TRUE(Is(moved, 430, 180, source.state.colors.Table(1)[59]));
    EXPECT_FALSE(Is(moved, 400, 200, source.state.colors.Table(1)[59]));

    // Moving without the button keeps the pan; the read-out now measures
    // from the moved origin (430, 280).
    Move(430, 180);
    EXPECT_DOUBLE_EQ(view.Reading().bearing, 0.0);
    EXPECT_NEAR(view.Reading().range, 6.0, 1e-9);
}

TEST_F(ViewMouse, MeasureClicksDrawTheOverlayAndTheSecondClickLiftsIt)
{
    QSignalSpy reads(&view, &CVelmarisView::cursorRead);
    view.ToggleMeasureMode();
    EXPECT_TRUE(view.MeasureModeOn());
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(200, 300));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(200, 300));
    Move(300, 300); // 100 px: 6.00 m
    EXPECT_EQ(reads.count(), 1);
    EXPECT_NEAR(view.Reading().targetSize, 6.0, 1e-9);
    EXPECT_EQ(view.Interaction().panX, 0); // a measuring click does not drag

    QImage image = Frame();
    EXPECT_TRUE(Is(image, 200 - 8, 300, kMeasureLineColor)); // the cross
    EXPECT_TRUE(Is(image, 200, 300 + 8, kMeasureLineColor));
    EXPECT_TRUE(Is(image, 250, 300, kMeasureLineColor)); // the line to the cursor
    int text = 0; // "6.00 m" above the cursor
    for (int y = 270; y < 294; ++y)
        for (int x = 300; x < 380; ++x)
            text += Is(image, x, y, kMeasureTextColor) ? 1 : 0;
    EXPECT_GT(text, 20);

    // The line follows the mouse, also while the button is held.
    Move(200, 400, Qt::LeftButton);
    image = Frame();
    EXPECT_TRUE(Is(image, 200, 350, kMeasureLineColor));
    EXPECT_FALSE(Is(image, 250, 300, kMeasureLineColor));

    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(200, 400));
    EXPECT_FALSE(view.MeasureModeOn());
    image = Frame();
    EXPECT_FALSE(Is(image, 200, 350, kMeasureLineColor));
    EXPECT_FALSE(Is(image, 192, 300, kMeasureLineColor));
}

TEST_F(ViewMouse, ReadoutsComeFromWidgetPixelsInEveryMode)
{
    Move(500, 300);
    EXPECT_NEAR(view.Reading().range, 6.0, 1e-9);
    EXPECT_NEAR(view.Reading().horizontal, -6.0, 1e-9);
    EXPECT_DOUBLE_EQ(view.Reading().bearing, 90.0);

    source.state.settings.sectorMode = DisplayMode::SideScan; // strip's left edge at x = 150
    Move(250, 40);
    EXPECT_NEAR(view.Reading().range, 6.0, 1e-9);
    EXPECT_DOUBLE_EQ(view.Reading().vertical, 0.0);
    EXPECT_DOUBLE_EQ(view.Reading().bearing, 90.0); // kept from the last polar move
}

TEST_F(ViewMouse, WheelNotchesStepTheZoomOncePerWholeNotch)
{
    QSignalSpy steps(&view, &CVelmarisView::zoomStepRequested);
    const auto wheel = [this](int delta) {
        QWheelEvent event(QPointF(10, 10), view.mapToGlobal(QPointF(10, 10)), {}, QPoint(0, delta),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    };
    wheel(120);
    wheel(-240);
    wheel(60); // half a notch: nothing yet
    EXPECT_EQ(steps.count(), 3);
    wheel(60);
    ASSERT_EQ(steps.count(), 4);
    EXPECT_EQ(steps[0][0].toInt(), 1);
    EXPECT_EQ(steps[1][0].toInt(), -1);
    EXPECT_EQ(steps[2][0].toInt(), -1);
    EXPECT_EQ(steps[3][0].toInt(), 1);
}

TEST(SonarCursor, ArtworkIsDrawnAtTheDevicePixelRatio)
{
    for (const qreal ratio : {1.0, 2.0, 1.5}) {
        const QCursor cursor = CVelmarisView::SonarCursor(ratio);
        const QPixmap pixmap = cursor.pixmap();
        EXPECT_EQ(pixmap.width(), int(std::ceil(32 * ratio)));
        EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
        EXPECT_EQ(cursor.hotSpot(), QPoint(16, 16));
        const QImage image = pixmap.toImage();
        const int c = image.width() / 2;
        EXPECT_GT(qAlpha(image.pixel(c, image.height() / 8)), 200) << ratio; // the cross's upper arm
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 8, image.height() / 8)), 0) << ratio; // clear corner
    }
}

} // namespace
} // namespace velmaris
