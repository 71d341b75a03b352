#include "image/ViewGrid.h"

#include <gtest/gtest.h>

#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

namespace velmaris {
namespace {

struct GridCase {
    SonarSettings settings;
    CommandMessage command;
    ViewGeometry geo = ComputeViewGeometry(1000, 1000, 1.0, DisplayMode::Polar, 0, 0);

    ViewScene Polar(int width, int train = 0)
    {
        command[CommandMessage::kSectorWidth] = std::uint8_t(width);
        settings.trainAngleDegrees = train;
        ViewScene scene;
        AppendPolarGrid(scene, geo, settings, command);
        return scene;
    }
};

const ViewLine& LineAt(const ViewScene& s, std::size_t i)
{
    return std::get<ViewLine>(s.at(i));
}
const ViewArc& ArcAt(const ViewScene& s, std::size_t i)
{
    return std::get<ViewArc>(s.at(i));
}

TEST(ViewGridTest, UnitFollowsZoomAndSpeedOfSound)
{
    EXPECT_DOUBLE_EQ(GridUnitPixels(1.0, 1500.0), 500.0);
    EXPECT_DOUBLE_EQ(GridUnitPixels(2.0, 1500.0), 1000.0);
    EXPECT_NEAR(GridUnitPixels(1.0, 1600.0), 468.75, 1e-9);
    EXPECT_EQ(GridUnitPixels(1.0, 0.0), 0.0);
    EXPECT_EQ(GridUnitPixels(0.0, 1500.0), 0.0);
}

TEST(ViewGridTest, PolarSectorHasFiveRingsWithEdgesAndTheTrainLine)
{
    GridCase c;
    const ViewScene s = c.Polar(60); // 180 degrees about screen-up
    ASSERT_EQ(s.size(), 16u);
    for (int i = 0; i < 5; ++i) {
        const int r = 100 * (i + 1);
        EXPECT_EQ(LineAt(s, 3 * i), (ViewLine {{500, 500}, {500 + r, 500}, kGridColor}));
        const ViewArc& arc = ArcAt(s, 3 * i + 1);
        EXPECT_EQ(arc.radius, r);
        EXPECT_EQ(arc.centre, (ScreenPoint {500, 500}));
        EXPECT_FLOAT_EQ(arc.startDeg, 0.0f);
        EXPECT_FLOAT_EQ(arc.sweepDeg, 180.0f);
        EXPECT_EQ(arc.color, kGridColor);
        EXPECT_EQ(LineAt(s, 3 * i + 2), (ViewLine {{500 - r, 500}, {500, 500}, kGridColor}));
    }
    EXPECT_EQ(LineAt(s, 15), (ViewLine {{500, 500}, {500, 0}, kAxisColor}));

    // Train 90, 30 degrees wide: the rings run from -15 to +15, the train line points right.
    const ViewScene t = c.Polar(10, 90);
    EXPECT_FLOAT_EQ(ArcAt(t, 1).startDeg, -15.0f);
    EXPECT_FLOAT_EQ(ArcAt(t, 1).sweepDeg, 30.0f);
    EXPECT_EQ(LineAt(t, 15).to, (ScreenPoint {1000, 500}));
}

TEST(ViewGridTest, FullCircleShowsTwoDiametersInsteadOfTheTrainLine)
{
    GridCase c;
    const ViewScene s = c.Polar(120);
    ASSERT_EQ(s.size(), 17u);
    EXPECT_FLOAT_EQ(ArcAt(s, 1).sweepDeg, 360.0f);
    // Angles go through the constant 3.1415926, so cos(-90) is a hair above 0
    // and the lower end truncates to (499, 999).
    EXPECT_EQ(LineAt(s, 15), (ViewLine {{499, 999}, {500, 0}, kAxisColor}));
    EXPECT_EQ(LineAt(s, 16), (ViewLine {{0, 500}, {1000, 500}, kAxisColor}));

    // No width: no rings, the train line alone.
    const ViewScene none = c.Polar(0);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(LineAt(none, 0).color, kAxisColor);
}

TEST(ViewGridTest, FeetSpacingIsThreeTimesPointThreeZeroFourEight)
{
    GridCase c;
    c.settings.metricScale = 1;
    const ViewScene s = c.Polar(60);
    const int expected[] = {91, 182, 274, 365, 457};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ArcAt(s, 3 * i + 1).radius, expected[i]);
    }
    EXPECT_EQ(LineAt(s, 15).to, (ScreenPoint {500, 0})); // the train line keeps the full range
}

TEST(ViewGridTest, RectangularGridAroundThePannedOrigin)
{
    GridCase c;
    ViewScene s;
    AppendRectangularGrid(s, c.geo, c.settings);
    ASSERT_EQ(s.size(), 24u);
    EXPECT_EQ(LineAt(s, 0), (ViewLine {{0, 0}, {1000, 0}, kGridColor}));
    EXPECT_EQ(LineAt(s, 3), (ViewLine {{0, 300}, {1000, 300}, kGridColor}));
    EXPECT_EQ(LineAt(s, 10).from.y, 1000);
    EXPECT_EQ(LineAt(s, 11), (ViewLine {{0, 0}, {0, 1000}, kGridColor}));
    EXPECT_EQ(LineAt(s, 22), (ViewLine {{0, 500}, {1000, 500}, kAxisColor}));
    EXPECT_EQ(LineAt(s, 23), (ViewLine {{500, 0}, {500, 1000}, kAxisColor}));

    c.settings.metricScale = 1;
    c.geo = ComputeViewGeometry(1000, 1000, 1.0, DisplayMode::Polar, 10, 20);
    ViewScene f;
    AppendRectangularGrid(f, c.geo, c.settings);
    // Spacing 457.2 / 5 from 500 - 457.2; the extent stays the full range.
    EXPECT_EQ(LineAt(f, 0), (ViewLine {{10, 62}, {1010, 62}, kGridColor}));
    EXPECT_EQ(LineAt(f, 10).from.y, 977);
    EXPECT_EQ(LineAt(f, 11), (ViewLine {{52, 20}, {52, 1020}, kGridColor}));
}

TEST(ViewGridTest, SideScanLinesFromTheStripEdge)
{
    GridCase c;
    c.geo = ComputeViewGeometry(1000, 800, 1.0, DisplayMode::SideScan, 5, 7);
    ViewScene s;
    AppendSideScanGrid(s, c.geo, c.settings);
    ASSERT_EQ(s.size(), 8u);
    EXPECT_EQ(LineAt(s, 0), (ViewLine {{255, 7}, {255, 4007}, kAxisColor}));
    EXPECT_EQ(LineAt(s, 1), (ViewLine {{355, 7}, {355, 4007}, kGridColor}));
    EXPECT_EQ(LineAt(s, 5).from.x, 755);
    EXPECT_EQ(LineAt(s, 6), (ViewLine {{255, 7}, {755, 7}, kGridColor}));
    EXPECT_EQ(LineAt(s, 7), (ViewLine {{255, 4007}, {755, 4007}, kGridColor}));

    c.settings.metricScale = 1;
    ViewScene f;
    AppendSideScanGrid(f, c.geo, c.settings);
    EXPECT_EQ(LineAt(f, 1).from.x, 255 + 91);
    EXPECT_EQ(LineAt(f, 5).from.x, 255 + 457);
}

TEST(ViewGridTest, GridSettingPicksTheGridByMode)
{
    GridCase c;
    c.command[CommandMessage::kSectorWidth] = 60;
    auto count = [&](DisplayMode mode, int grid) {
        c.settings.sectorMode = mode;
        c.settings.grid = grid;
        ViewScene s;
        AppendGrid(s, c.geo, c.settings, c.command);
        return s.size();
    };
    EXPECT_EQ(count(DisplayMode::Sector, 0), 0u);
    EXPECT_EQ(count(DisplayMode::Sector, 1), 16u);
    EXPECT_EQ(count(DisplayMode::Polar, 2), 24u);
    EXPECT_EQ(count(DisplayMode::SideScan, 0), 0u);
    EXPECT_EQ(count(DisplayMode::SideScan, 1), 8u);
    EXPECT_EQ(count(DisplayMode::SideScan, 2), 8u);
}

} // namespace
} // namespace velmaris
