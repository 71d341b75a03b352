#include "image/ViewGeometry.h"

#include <gtest/gtest.h>

#include "image/SonarState.h"
#include "image/ViewSource.h"

namespace velmaris {
namespace {

TEST(ViewGeometryTest, RasterCentredOnWindowWithPan)
{
    const ViewGeometry g = ComputeViewGeometry(1920, 1080, 1.0, DisplayMode::Polar, 0, 0);
    EXPECT_EQ(g.imageX, 460);
    EXPECT_EQ(g.imageY, 40);
    EXPECT_EQ(g.originX, 960);
    EXPECT_EQ(g.originY, 540);
    // The raster's sonar origin (500, 500) lands on the window centre.
    EXPECT_EQ(g.rasterLeft + 500, g.originX);
    EXPECT_EQ(g.rasterTop + 500, g.originY);

    const ViewGeometry p = ComputeViewGeometry(1920, 1080, 1.0, DisplayMode::Sector, 30, -20);
    EXPECT_EQ(p.imageX, 460);
    EXPECT_EQ(p.rasterLeft, 490);
    EXPECT_EQ(p.rasterTop, 20);
    EXPECT_EQ(p.originX, 990);
    EXPECT_EQ(p.originY, 520);

    // An odd width halves in whole pixels.
    const ViewGeometry odd = ComputeViewGeometry(1001, 801, 0.75, DisplayMode::Polar, 0, 0);
    EXPECT_EQ(odd.imageX, 125);
    EXPECT_EQ(odd.imageY, 25);
    EXPECT_EQ(odd.originX, 500);
}

TEST(ViewGeometryTest, ZoomTwoPutsRasterOriginThousandPixelsUpLeft)
{
    const ViewGeometry g = ComputeViewGeometry(1920, 1080, 2.0, DisplayMode::Polar, 0, 0);
    EXPECT_EQ(g.imageX, 960 - 1000);
    EXPECT_EQ(g.imageY, 540 - 1000);
    // Raster origin (1000, 1000) at the window centre: the 2000-pixel fan is centred.
    EXPECT_EQ(g.rasterLeft + 1000, 960);
    EXPECT_EQ(g.rasterTop + 1000, 540);
}

TEST(ViewGeometryTest, SideScanStartsAtWindowTopPlusPan)
{
    const ViewGeometry g = ComputeViewGeometry(1920, 1080, 1.0, DisplayMode::SideScan, 0, 0);
    EXPECT_EQ(g.imageY, 0);
    EXPECT_EQ(g.rasterTop, 0);
    EXPECT_EQ(g.imageX, 460);
    const ViewGeometry p = ComputeViewGeometry(1920, 1080, 0.5, DisplayMode::SideScan, 0, 15);
    EXPECT_EQ(p.rasterTop, 15);
    EXPECT_EQ(p.imageX, 710);
}

TEST(ViewGeometryTest, AbsurdZoomSaturatesInsteadOfOverflowing)
{
    const ViewGeometry g = ComputeViewGeometry(100, 100, 1e300, DisplayMode::Polar, 0, 0);
    EXPECT_LT(g.imageX, -1000000);
    EXPECT_EQ(g.originX, 50);
}

TEST(ViewGeometryTest, HeadLineFollowsHeadAngleAndBackwardStep)
{
    const ViewGeometry g = ComputeViewGeometry(1000, 1000, 1.0, DisplayMode::Polar, 0, 0);
    // Forward sweep (direction 1, Sonar Up/Down 0): the angle as it is.
    EXPECT_EQ(HeadLineEnd(g, 0.0, 3, 1, 0), (ScreenPoint {500, 0}));
    EXPECT_EQ(HeadLineEnd(g, 90.0, 3, 1, 0), (ScreenPoint {999, 499}));
    EXPECT_EQ(HeadLineEnd(g, 180.0, 3, 1, 0), (ScreenPoint {500, 999}));
    // Backward: one step further (3 x 0.3 = 0.9 degrees clockwise).
    const ScreenPoint back = HeadLineEnd(g, 0.0, 3, 0, 0);
    EXPECT_EQ(back.x, 507); // 500 + trunc(sin 0.9 deg x 500) = 500 + 7
    EXPECT_EQ(back.y, 0);
    // Sonar Up/Down 1 reverses which direction counts as forward.
    EXPECT_EQ(HeadLineEnd(g, 0.0, 3, 0, 1), (ScreenPoint {500, 0}));
    // Length follows the zoom.
    const ViewGeometry z2 = ComputeViewGeometry(1000, 1000, 2.0, DisplayMode::Polar, 0, 0);
    EXPECT_EQ(HeadLineEnd(z2, 270.0, 0, 1, 0), (ScreenPoint {-499, 500}));
}

TEST(ViewGeometryTest, RequestsAreTakenOnceAndRecentreResetsZoomAndPan)
{
    SonarState state;
    state.settings.zoom = 1.75;
    state.flags.viewRecentreRequest = 1;
    state.flags.statusResetRequest = 1;
    ViewRequests r = TakeViewRequests(state);
    EXPECT_TRUE(r.recentre);
    EXPECT_TRUE(r.statusReset);
    EXPECT_EQ(state.settings.zoom, 1.0);
    EXPECT_EQ(state.flags.viewRecentreRequest, 0);
    EXPECT_EQ(state.flags.statusResetRequest, 0);

    state.settings.zoom = 1.5;
    r = TakeViewRequests(state);
    EXPECT_FALSE(r.recentre);
    EXPECT_FALSE(r.statusReset);
    EXPECT_EQ(state.settings.zoom, 1.5);

    ViewInteraction view;
    view.panX = 5;
    view.panY = -7;
    view.savedPanX = 3;
    view.savedPanY = 4;
    view.dragStartX = 9;
    view.dragStartY = 10;
    view.measurementShown = true;
    Recentre(view);
    EXPECT_EQ(view.panX, 0);
    EXPECT_EQ(view.panY, 0);
    EXPECT_EQ(view.savedPanX, 0);
    EXPECT_EQ(view.savedPanY, 0);
    EXPECT_EQ(view.dragStartX, 0);
    EXPECT_EQ(view.dragStartY, 0);
    EXPECT_TRUE(view.measurementShown);
}

} // namespace
} // namespace velmaris
