#include "image/qt/CVelmarisView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QPixmap>

#include "image/ViewSource.h"
#include "image/qt/ViewRenderer.h"
#include "support/FakeViewSource.h"

namespace velmaris {
namespace {

using FakeSource = testing::FakeViewSource;

using Color = std::tuple<int, int, int>;

Color At(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return {qRed(p), qGreen(p), qBlue(p)};
}

Color Of(const Rgb& c)
{
    return {c.red, c.green, c.blue};
}

// An 800 x 600 view on a polar picture with no overlays: origin (400, 300),
// raster origin (500, 500) at the window centre, head line pointing right.
struct ViewCase : ::testing::Test {
    FakeSource source;
    CVelmarisView view {&source};

    ViewCase()
    {
        SonarSettings& s = source.state.settings;
        s.sectorMode = DisplayMode::Polar;
        s.grid = 0;
        s.viewRangeMark = 0;
        s.colorTable = 1;
        s.trainAngleDegrees = 0;
        source.state.command[CommandMessage::kSectorWidth] = 20; // 60 degrees about screen-up
        source.state.ping.headAngle = 90.0;
        source.status.linkState = LinkState::Up;
        source.status.colorIndicator = false;
        view.resize(800, 600);
    }

    QImage Grab() { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(ViewCase, RasterShowsInsideTheFanInTheSelectedTable)
{
    source.state.raster.Set(500, 400, 59); // 100 pixels above the sonar origin
    source.state.raster.Set(500, 600, 59); // 100 below: outside the 60-degree sector
    QImage image = Grab();
    ASSERT_EQ(image.size(), QSize(800, 600));
    EXPECT_EQ(At(image, 400, 200), Of(source.state.colors.Table(1)[59]));
    EXPECT_EQ(At(image, 400, 400), Color(0, 0, 0));
    EXPECT_EQ(At(image, 100, 550), Color(0, 0, 0)); // background outside the fan
    EXPECT_EQ(At(image, 5, 5), Color(0, 0, 0));

    // Another table recolours the same raster at the next paint.
    source.state.settings.colorTable = 5;
    image = Grab();
    EXPECT_EQ(At(image, 400, 200), Color(216, 89, 0));
}

TEST_F(ViewCase, ReverseGreyBackgroundStopsAtTheRasterEdge)
{
    source.state.settings.colorTable = 4;
    source.state.command[CommandMessage::kSectorWidth] = 120; // full circle
    view.Interaction().panX = 200; // raster left edge at x = 100
    const QImage image = Grab();
    EXPECT_EQ(At(image, 150, 300), Color(212, 212, 212));
    EXPECT_EQ(At(image, 99, 300), Color(0, 0, 0));
    EXPECT_EQ(At(image, 100, 300), Color(212, 212, 212));
    EXPECT_EQ(At(image, 50, 100), Color(0, 0, 0));
}

TEST_F(ViewCase, PolarGridRingsAndHeadLineColours)
{
    source.state.command[CommandMessage::kSectorWidth] = 120;
    source.state.settings.grid = 1;
    const QImage image = Grab();
    // Ring 2 (radius 200) at 45 degrees: (541.4, 158.6); the pen lands within a pixel.
    bool ring = false;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            ring = ring || At(image, 541 + dx, 159 + dy) == Of(kGridColor);
        }
    }
    EXPECT_TRUE(ring);
    // The vertical diameter runs from (399, 799) to (400, -199): cos(-90) through
    // 3.1415926 is a hair above 0, so one end truncates a pixel left.
    EXPECT_TRUE(At(image, 400, 150) == Of(kAxisColor) || At(image, 399, 150) == Of(kAxisColor));
    EXPECT_EQ(At(image, 400, 100), Of(kGridColor)); // top of ring 2
    EXPECT_EQ(At(image, 450, 300), Of(kAxisColor)); // horizontal diameter and head line
    EXPECT_EQ(At(image, 470, 250), Color(0, 0, 0)); // between the rings
}

TEST_F(ViewCase, IndicatorBarColumnsFollowTheTable)
{
    source.status.colorIndicator = true;
    const QImage image = Grab();
    const ColorTable& table = source.state.colors.Table(1);
    for (int x = 790; x < 798; ++x) {
        EXPECT_EQ(At(image, x, 0), Of(table[117])) << x;
        EXPECT_EQ(At(image, x, 599), Of(table[1])) << x;
        EXPECT_EQ(At(image, x, 300), Of(table[59])) << x; // 117 - trunc(300 x 117 / 600)
    }
    EXPECT_EQ(At(image, 789, 0), Color(0, 0, 0));
    EXPECT_EQ(At(image, 798, 0), Color(0, 0, 0));
}

TEST_F(ViewCase, StatusBoxRedWhileDisconnectedAndNeverInUdpMode)
{
    source.status.linkState = LinkState::Down;
    source.status.blinkToggle = true;
    source.status.sonarComPort = 4;
    QImage image = Grab();
    // "Com Port : COM4 " at x = 400 - 80: fill 295 .. 517, rows 573 .. 597.
    EXPECT_EQ(At(image, 300, 590), Color(250, 0, 0));
    EXPECT_EQ(At(image, 517, 597), Color(250, 0, 0));
    EXPECT_EQ(At(image, 294, 572), Color(250, 250, 250)); // frame
    EXPECT_EQ(At(image, 290, 590), Color(0, 0, 0));
    // Next paint: "No Connection" at x = 340, fill from 315.
    image = Grab();
    EXPECT_EQ(At(image, 300, 590), Color(0, 0, 0));
    EXPECT_EQ(At(image, 320, 590), Color(250, 0, 0));

    // A status reset puts the blink back to the port text.
    source.state.flags.statusResetRequest = 1;
    view.Interaction().blinkState = true;
    image = Grab();
    EXPECT_EQ(At(image, 300, 590), Color(250, 0, 0));
    EXPECT_EQ(source.state.flags.statusResetRequest, 0);

    source.status.udpMode = true;
    for (int i = 0; i < 2; ++i) {
        image = Grab();
        EXPECT_EQ(At(image, 320, 590), Color(0, 0, 0));
    }
    source.status.udpMode = false;
    source.status.blinkToggle = false;
    EXPECT_EQ(At(Grab(), 320, 590), Color(0, 0, 0));
}

int CountNear(const QImage& image, const QRect& area, const Rgb& c)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            n += std::abs(qRed(p) - c.red) < 30 && std::abs(qGreen(p) - c.green) < 30
                && std::abs(qBlue(p) - c.blue) < 30;
        }
    }
    return n;
}

TEST_F(ViewCase, HeldAndStatusLineTexts)
{
    const QRect heldArea(700, 0, 90, 40);
    EXPECT_EQ(CountNear(Grab(), heldArea, kScaleTextColor), 0);
    source.status.held = true;
    source.state.settings.viewRangeMark = 1;
    QImage image = Grab();
    EXPECT_GT(CountNear(image, heldArea, kScaleTextColor), 20);
    // Range read-out "30 m" in (200, 200, 0) at the top left.
    EXPECT_GT(CountNear(image, QRect(5, 5, 60, 24), kRangeTextColor), 20);

    source.status.held = false;
    source.status.recording = true;
    image = Grab();
    EXPECT_GT(CountNear(image, QRect(650, 5, 140, 20), kRecordingColor), 20);
    EXPECT_GT(CountNear(image, QRect(650, 30, 140, 20), kRangeTextColor), 20); // "0 K Bytes"
}

TEST_F(ViewCase, RecentreRequestResetsZoomAndPan)
{
    source.state.settings.zoom = 1.5;
    source.state.flags.viewRecentreRequest = 1;
    view.Interaction().panX = 40;
    view.Interaction().savedPanY = 7;
    source.state.raster.Set(500, 400, 59);
    QImage image = Grab();
    EXPECT_EQ(source.state.settings.zoom, 1.0);
    EXPECT_EQ(source.state.flags.viewRecentreRequest, 0);
    EXPECT_EQ(view.Interaction().panX, 0);
    EXPECT_EQ(view.Interaction().savedPanY, 0);
    // The zoom changed: the image painted at 1.5 is gone.
    EXPECT_EQ(At(image, 400, 200), Color(0, 0, 0));

    // At zoom 1.0 already the request keeps the image.
    source.state.raster.Set(500, 400, 59);
    source.state.flags.viewRecentreRequest = 1;
    image = Grab();
    EXPECT_EQ(At(image, 400, 200), Of(source.state.colors.Table(1)[59]));
}

TEST_F(ViewCase, SideScanStartsAtTheTopUnclipped)
{
    source.state.settings.sectorMode = DisplayMode::SideScan;
    source.state.raster.Set(260, 0, 59);
    source.state.raster.Set(5, 590, 59); // far left, outside any fan
    const QImage image = Grab();
    // x0 = 400 - 500 = -100: raster column 260 at x = 160, row 0 at y = 0.
    EXPECT_EQ(At(image, 160, 0), Of(source.state.colors.Table(1)[59]));
    EXPECT_EQ(At(image, 160, 1), Color(0, 0, 0));
    EXPECT_EQ(At(image, 0, 590), Color(0, 0, 0)); // column 5 is left of the window
}

TEST_F(ViewCase, SizeWithoutAreaKeepsTheBuffer)
{
    Grab();
    EXPECT_EQ(view.Frame().size(), QSize(800, 600));
    view.resize(0, 50);
    QApplication::processEvents();
    EXPECT_EQ(view.Frame().size(), QSize(800, 600));
    view.resize(320, 240);
    EXPECT_EQ(Grab().size(), QSize(320, 240));
    EXPECT_EQ(view.Frame().size(), QSize(320, 240));
}

TEST_F(ViewCase, NoSourceDrawsNothingAndDoesNotCrash)
{
    view.SetSource(nullptr);
    EXPECT_EQ(view.grab().size(), QSize(800, 600));
}

// Counts paint events of the watched widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

bool WaitForPaints(const PaintCounter& counter, int atLeast, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (counter.paints < atLeast && timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return counter.paints >= atLeast;
}

TEST_F(ViewCase, OnlyHintZeroSchedulesARepaint)
{
    PaintCounter counter;
    view.installEventFilter(&counter);
    view.show();
    ASSERT_TRUE(WaitForPaints(counter, 1, 2000));
    WaitForPaints(counter, 1000, 100); // let the first exposure settle
    const int settled = counter.paints;

    view.OnUpdate(10);
    WaitForPaints(counter, settled + 1, 300);
    EXPECT_EQ(counter.paints, settled);

    view.OnUpdate(0);
    EXPECT_TRUE(WaitForPaints(counter, settled + 1, 2000));
    view.removeEventFilter(&counter);
}

TEST(ViewFontsTest, ArialResolvesWithTheCellHeights)
{
    const QFont a = ViewFontFor(ViewFont::A);
    const QFont b = ViewFontFor(ViewFont::B);
    EXPECT_FALSE(QFontInfo(a).family().isEmpty());
    EXPECT_EQ(a.weight(), QFont::Normal);
    EXPECT_NEAR(QFontMetrics(a).height(), 24, 1);
    EXPECT_NEAR(QFontMetrics(b).height(), 20, 1);
    EXPECT_LT(QFontInfo(a).pixelSize(), 24); // the em is smaller than the cell
}

} // namespace
} // namespace velmaris
