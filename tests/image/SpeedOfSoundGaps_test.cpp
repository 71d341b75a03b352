// Lines painted at real sound speeds have no holes. Above 1500 m/s the
// samples of a line land more than a pixel apart; the pixels between take
// the later sample. At 1500 m/s and below the picture is what it always was.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "ReferencePainter.h"
#include "image/ScanLinePainter.h"

namespace velmaris {
namespace {

struct GapCase {
    DisplayMode mode;
    double zoom;
    double from; // head angles swept: from .. from + 60 (Sector), the full circle (Polar)
    double speed = 0;
};

// Sector: wedges across the screen-right and the screen-up axes, where the
// radii step along the pixel columns and rows.
constexpr GapCase kLayouts[] = {
    {DisplayMode::SideScan, 1.0, 0},
    {DisplayMode::SideScan, 2.0, 0},
    {DisplayMode::Sector, 1.0, 60},
    {DisplayMode::Sector, 1.0, -30},
    {DisplayMode::Polar, 0.5, 0},
};
constexpr double kSpeeds[] = {1450, 1500, 1540, 1540.5, 1600};

// A ping with a start delay of a few pixels, stepping forward by the
// smallest step.
PaintInputs Inputs(const GapCase& c, double headAngle)
{
    PaintInputs in;
    in.displayMode = c.mode;
    in.speedOfSound = c.speed;
    in.zoom = c.zoom;
    in.step = kStepSlow;
    in.directionFlag = 1;
    in.headAngle = headAngle;
    in.statusOffset = 202;
    in.pulseLength = 10;
    in.pingRange = 30;
    return in;
}

// Radii of the first and the last sample a line paints (the radius cut
// drops samples beyond R_px + 1).
void SpanOfALine(const PaintInputs& in, double& first, double& last)
{
    const PaintGeometry geo = ComputePaintGeometry(in);
    first = geo.startDelay;
    last = first;
    for (int i = 0; i < geo.radiusPx; ++i) {
        const double r = i * in.speedOfSound / 1500 + geo.startDelay;
        if (int(r) <= geo.radiusPx) {
            last = r;
        }
    }
}

// Pixels inside the painted span that hold nothing. Side-scan: the columns
// of row 0 from the first sample's to the last one's. Fan: the pixels whose
// centre lies a pixel or more inside the swept wedge and the radii painted.
// The sweeps use the smallest step where neighbouring sub-lines cover
// every pixel between them (zoom 0.5 all round, zoom 1 near the axes); at
// larger steps and zooms they lie about a pixel apart at the rim whatever
// the speed of sound, and leave pixels between them.
int Holes(const ImageRaster& raster, const PaintInputs& in, double fromAngle, double toAngle)
{
    double first = 0;
    double last = 0;
    SpanOfALine(in, first, last);
    const int rpx = ImageRadiusPx(in.zoom);
    int holes = 0;
    if (in.displayMode == DisplayMode::SideScan) {
        const int x0 = int(in.zoom * 250);
        for (int x = x0 + int(first); x <= x0 + int(last); ++x) {
            holes += raster.At(x, 0) == 0;
        }
        return holes;
    }
    constexpr double kDegrees = 180 / 3.14159265358979;
    for (int y = 0; y < 2 * rpx + 2; ++y) {
        for (int x = 0; x < 2 * rpx + 2; ++x) {
            const double dx = x + 0.5 - rpx;
            const double dy = y + 0.5 - rpx;
            const double rho = std::hypot(dx, dy);
            if (rho < first + 1 || rho > last - 1) {
                continue;
            }
            // Head angles: 0 up, clockwise; the table steps by 0.05 degrees.
            double angle = std::atan2(dy, dx) * kDegrees + 90;
            if (angle < fromAngle) {
                angle += 360;
            }
            const double margin = kDegrees / rho + 0.1;
            if (angle >= fromAngle + margin && angle <= toAngle - margin) {
                holes += raster.At(x, y) == 0;
            }
        }
    }
    return holes;
}

TEST(SpeedOfSoundGapsTest, NoHoleInsideThePaintedSpanAndNothingChangesUpTo1500)
{
    PaintTables tables;
    ImageRaster raster;
    reference::Image before; // the painting without filled gaps
    for (std::size_t n = 0; n < std::size(kLayouts) * std::size(kSpeeds); ++n) {
        GapCase c = kLayouts[n / std::size(kSpeeds)];
        c.speed = kSpeeds[n % std::size(kSpeeds)];
        SCOPED_TRACE("mode " + std::to_string(CodeOf(c.mode)) + ", " + std::to_string(c.speed) + " m/s, zoom "
            + std::to_string(c.zoom));
        raster.Clear();
        std::fill(before.px.begin(), before.px.end(), std::uint8_t(0));
        ScanLineHistory history;
        ScanLineHistory refHistory;
        const double from = c.from;
        const double to = c.mode == DisplayMode::Polar ? from + 360 : from + 60;
        const int pings = c.mode == DisplayMode::SideScan ? 1 : int(std::lround((to - from) / 0.3));
        PaintInputs in;
        for (int ping = 1; ping <= pings; ++ping) {
            in = Inputs(c, from + ping * 0.3);
            for (int k = 0; k < 500; ++k) {
                history.l0[k] = std::uint8_t(1 + (k * 7 + ping) % 200); // never 0: side-scan can paint 0
            }
            refHistory.l0 = history.l0;
            PaintPing(raster, history, in, tables);
            PrepareScanLine(refHistory, in.dataPoints);
            if (c.mode == DisplayMode::SideScan) {
                reference::PaintSideScan(before, refHistory, in, reference::Gaps::Leave);
            } else {
                reference::PaintSector(
                    before, refHistory, in, tables.trig, tables.blend, reference::Gaps::Leave);
            }
        }
        EXPECT_EQ(Holes(raster, in, from, to), 0);
        if (c.speed <= 1500) {
            EXPECT_TRUE(testing::Logical(raster) == before.px) << "the picture changed";
        }
    }
}

} // namespace
} // namespace velmaris
