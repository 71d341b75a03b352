#include "image/ViewReadouts.h"

#include <gtest/gtest.h>

#include "image/ScanLinePainter.h"
#include "image/SonarState.h"
#include "image/ViewInteraction.h"
#include "image/ViewSource.h"
#include "protocol/SonarSettings.h"

namespace velmaris {
namespace {

constexpr int kRange30 = 7; // index of 30 m

// An 800 x 600 view: the sonar origin is (400, 300) with no pan.
ReadoutFrame Frame(DisplayMode mode = DisplayMode::Polar, double zoom = 1.0, int rangeIndex = kRange30)
{
    return {800, 600, zoom, mode, rangeIndex};
}

struct CursorCase {
    const char* name;
    ReadoutFrame frame;
    int panX, panY;
    int x, y;
    int metricScale;
    const char* range;
    const char* bearing;
    const char* horizontal;
    const char* vertical;
};

class CursorReadoutTest : public ::testing::TestWithParam<CursorCase> { };

TEST_P(CursorReadoutTest, ReadsTheCursorFromTheOrigin)
{
    const CursorCase& c = GetParam();
    ViewInteraction view;
    view.panX = c.panX;
    view.panY = c.panY;
    CursorReading reading;
    reading.bearing = 123.0; // SideScan keeps whatever was there
    ReadCursor(c.frame, view, c.x, c.y, reading);
    const ReadoutTexts texts = FormatReadouts(reading, c.metricScale, c.frame.displayMode);
    EXPECT_EQ(texts.range, c.range);
    EXPECT_EQ(texts.bearing, c.bearing);
    EXPECT_EQ(texts.horizontal, c.horizontal);
    EXPECT_EQ(texts.vertical, c.vertical);
    EXPECT_EQ(texts.targetSize, ""); // no measurement: the pane stays empty
}

INSTANTIATE_TEST_SUITE_P(Cursor, CursorReadoutTest,
    ::testing::Values(
        // 30 m at zoom 1: 30 / 500 = 0.06 m per pixel.
        CursorCase {"Right", Frame(), 0, 0, 500, 300, 0, "6.00 m", "90.0 deg.", "6.00 m", "0.00 m"},
        CursorCase {"Above", Frame(), 0, 0, 400, 200, 0, "6.00 m", "0.0 deg.", "0.00 m", "6.00 m"},
        CursorCase {"Below", Frame(), 0, 0, 400, 400, 0, "6.00 m", "180.0 deg.", "0.00 m", "-6.00 m"},
        CursorCase {"Left", Frame(), 0, 0, 300, 300, 0, "6.00 m", "270.0 deg.", "-6.00 m", "0.00 m"},
        CursorCase {"UpRight", Frame(), 0, 0, 500, 200, 0, "8.49 m", "45.0 deg.", "6.00 m", "6.00 m"},
        CursorCase {"DownLeft", Frame(), 0, 0, 300, 400, 0, "8.49 m", "225.0 deg.", "-6.00 m", "-6.00 m"},
        CursorCase {"OnOrigin", Frame(), 0, 0, 400, 300, 0, "0.00 m", "0.0 deg.", "0.00 m", "0.00 m"},
        // The origin moves with the pan.
        CursorCase {"Panned", Frame(), 50, -20, 450, 180, 0, "6.00 m", "0.0 deg.", "0.00 m", "6.00 m"},
        // Zoom 2 halves the scale; 200 m range is index 14.
        CursorCase {
            "Zoom2", Frame(DisplayMode::Polar, 2.0), 0, 0, 500, 300, 0, "3.00 m", "90.0 deg.", "3.00 m", "0.00 m"},
        CursorCase {"Range200", Frame(DisplayMode::Sector, 1.0, 14), 0, 0, 400, 250, 0, "20.00 m", "0.0 deg.",
            "0.00 m", "20.00 m"},
        // Feet: metres / 0.3048.
        CursorCase {"Feet", Frame(), 0, 0, 500, 300, 1, "19.69 ft", "90.0 deg.", "19.69 ft", "0.00 ft"},
        // SideScan: the strip's left edge x = 400 - 250 = 150 on the cursor's
        // own row, so vertical is 0 and the range is the horizontal distance.
        CursorCase {"SideScan", Frame(DisplayMode::SideScan), 0, 0, 250, 17, 0, "6.00 m", "n/a", "6.00 m", "n/a"},
        // Zoom 2, pan 30: the edge is at trunc(400 - 500 + 30) = -70, 0.03 m per pixel.
        CursorCase {"SideScanZoomPan", Frame(DisplayMode::SideScan, 2.0), 30, 99, 180, 500, 1, "24.61 ft", "n/a",
            "24.61 ft", "n/a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CursorReadout, SideScanKeepsTheLastBearingAndScaleNeedsAUsableZoom)
{
    ViewInteraction view;
    CursorReading reading;
    ReadCursor(Frame(), view, 500, 300, reading);
    ReadCursor(Frame(DisplayMode::SideScan), view, 170, 40, reading);
    EXPECT_DOUBLE_EQ(reading.bearing, 90.0);
    EXPECT_DOUBLE_EQ(reading.vertical, 0.0);
    EXPECT_NEAR(reading.range, 20 * 0.06, 1e-12);

    EXPECT_DOUBLE_EQ(MetresPerPixel(kRange30, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(MetresPerPixel(kRange30, -1.0), 0.0);
    EXPECT_DOUBLE_EQ(MetresPerPixel(99, 1.0), 200.0 / 500); // index clamped to the table
    ReadCursor(Frame(DisplayMode::Polar, 0.0), view, 500, 300, reading);
    EXPECT_DOUBLE_EQ(reading.range, 0.0);
}

TEST(Measurement, TwoClicksMeasureAndTheCommandLeavesTheAnchorAtSizeZero)
{
    ViewInteraction view;
    CursorReading reading;
    ToggleMeasureMode(view);
    PressLeft(view, 400, 300); // anchor
    EXPECT_TRUE(view.measurementShown);
    EXPECT_FALSE(view.dragging);
    EXPECT_FALSE(MoveMouse(view, 430, 340)); // 50 px: 3.00 m
    ReadCursor(Frame(), view, 430, 340, reading);
    EXPECT_EQ(FormatReadouts(reading, 0, DisplayMode::Polar).targetSize, "3.00 m");
    EXPECT_EQ(FormatReadouts(reading, 1, DisplayMode::Polar).targetSize, "9.84 ft");

    // The second click lifts the anchor and ends measure mode.
    PressLeft(view, 430, 340);
    EXPECT_FALSE(view.measurementShown);
    EXPECT_FALSE(view.measureMode);

    // The command while an anchor is shown ends only measure mode: the line
    // stays and reads 0 until the command is on again and the image clicked.
    ToggleMeasureMode(view);
    PressLeft(view, 100, 100);
    ToggleMeasureMode(view);
    EXPECT_TRUE(view.measurementShown);
    ReadCursor(Frame(), view, 200, 100, reading);
    EXPECT_EQ(reading.targetSize, 0.0);
    EXPECT_EQ(FormatReadouts(reading, 0, DisplayMode::Polar).targetSize, "");
    ToggleMeasureMode(view);
    PressLeft(view, 200, 100);
    EXPECT_FALSE(view.measurementShown);
    EXPECT_FALSE(view.measureMode);
}

TEST(Drag, PanFollowsTheDragAndSurvivesUntilTheNextOrARecentre)
{
    ViewInteraction view;
    PressLeft(view, 100, 100);
    EXPECT_TRUE(MoveMouse(view, 130, 80));
    EXPECT_EQ(view.panX, 30);
    EXPECT_EQ(view.panY, -20);
    ReleaseLeft(view);
    EXPECT_FALSE(MoveMouse(view, 300, 300)); // no button: the pan stays
    EXPECT_EQ(view.panX, 30);

    PressLeft(view, 300, 300); // a second drag adds to the first
    MoveMouse(view, 290, 310);
    ReleaseLeft(view);
    EXPECT_EQ(view.panX, 20);
    EXPECT_EQ(view.panY, -10);

    ToggleMeasureMode(view);
    PressLeft(view, 5, 5);
    RecentreView(view);
    EXPECT_EQ(view.panX, 0);
    EXPECT_EQ(view.savedPanY, 0);
    EXPECT_FALSE(view.measureMode);
    EXPECT_FALSE(view.measurementShown);
}

TEST(RecentreRequest, ClearsTheImageOnlyWhenItChangesTheZoom)
{
    SonarState state;
    state.settings.zoom = 1.0;
    state.raster.Set(10, 10, 50);
    state.flags.viewRecentreRequest = 1;
    EXPECT_TRUE(TakeViewRequests(state).recentre);
    EXPECT_EQ(state.raster.At(10, 10), 50);

    state.settings.zoom = 1.75;
    state.flags.viewRecentreRequest = 1;
    EXPECT_TRUE(TakeViewRequests(state).recentre);
    EXPECT_EQ(state.settings.zoom, 1.0);
    EXPECT_EQ(state.raster.At(10, 10), 0); // no ghost of the old scale
}

} // namespace
} // namespace velmaris
