#include "image/SectorPainter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "ReferencePainter.h"
#include "image/ScanLinePainter.h"

namespace velmaris {
namespace {

using testing::Logical;

class SectorPainterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tables_ = new PaintTables; }
    static void TearDownTestSuite()
    {
        delete tables_;
        tables_ = nullptr;
    }

    // A fan pointing right (90 degrees), no start delay, full mix weight.
    static PaintInputs Plain()
    {
        PaintInputs in;
        in.displayMode = DisplayMode::Sector;
        in.headAngle = 90;
        in.directionFlag = 1; // forward: the fan ends at the head angle
        in.step = kStepSlow;
        in.statusOffset = -41;
        in.pulseLength = 0;
        in.pingRange = 30;
        in.rangeSetting = 30;
        return in;
    }

    void Paint(const PaintInputs& in, std::uint8_t fill)
    {
        history_.l0.fill(fill);
        PaintPing(raster_, history_, in, *tables_);
    }

    std::array<int, 256> Counts() const { return testing::Histogram(raster_); }

    static PaintTables* tables_;
    ImageRaster raster_;
    ScanLineHistory history_;
};

PaintTables* SectorPainterTest::tables_ = nullptr;

TEST_F(SectorPainterTest, MatchesThePlainTranscriptionOverManyPings)
{
    std::mt19937 rng(20260307);
    reference::Image ref;
    ScanLineHistory refHistory;
    for (int ping = 0; ping < 240; ++ping) {
        PaintInputs in = testing::RandomInputs(rng, ping % 2 == 0 ? DisplayMode::Sector : DisplayMode::Polar);
        if (ping % 60 == 0) {
            // Heads far out of range and unusual speeds now and then.
            in.headAngle = ping == 0 ? 5000.0 : -2000.0 + ping;
            in.speedOfSound = ping == 60 ? 2250.0 : 750.0;
            in.pulseLength = 255;
            in.zoom = ping == 120 ? 4.0 : ping == 180 ? 8.0 : in.zoom; // fans leaving the raster
        }
        testing::FillEchoes(history_, in.dataPoints * 10, rng);
        refHistory.l0 = history_.l0;
        PaintPing(raster_, history_, in, *tables_);
        PrepareScanLine(refHistory, in.dataPoints);
        reference::PaintSector(ref, refHistory, in, tables_->trig, tables_->blend);
        if (ping % 40 == 39) {
            ASSERT_EQ(Logical(raster_), ref.px) << "after ping " << ping;
        }
    }
    const std::array<int, 256> counts = Counts();
    EXPECT_GT(counts[0], 0);
    EXPECT_LT(counts[0], int(ImageRaster::kBytes) - 100000);
}

TEST_F(SectorPainterTest, ShortPingPaintsLikeDoubledLongPingWithItsOwnDelay)
{
    PaintInputs shortPing = Plain();
    shortPing.dataPoints = 25;
    shortPing.statusOffset = 202;
    shortPing.pulseLength = 10; // d = 302
    shortPing.step = kStepFastest;
    for (int n = 0; n < 250; ++n) {
        history_.l0[n] = std::uint8_t(n % 117 + 1);
    }
    PaintPing(raster_, history_, shortPing, *tables_);
    const std::vector<std::uint8_t> painted = Logical(raster_);

    // The same samples sent as 500 bytes, each twice; half the delay d keeps g.
    ImageRaster doubled;
    ScanLineHistory h2;
    for (int n = 0; n < 500; ++n) {
        h2.l0[n] = std::uint8_t(n / 2 % 117 + 1);
    }
    PaintInputs longPing = shortPing;
    longPing.dataPoints = 50;
    longPing.statusOffset = 51; // d = 151
    PaintPing(doubled, h2, longPing, *tables_);
    EXPECT_EQ(painted, Logical(doubled));

    // With the full delay the 500-sample g is twice as long: the fan moves out.
    ImageRaster moved;
    ScanLineHistory h3;
    h3.l0 = h2.l0;
    longPing.statusOffset = 202;
    PaintPing(moved, h3, longPing, *tables_);
    EXPECT_NE(painted, Logical(moved));
}

TEST_F(SectorPainterTest, FirstPingAfterResetIsBlendedWithItselfOnly)
{
    PingRecord ping;
    ResetScanHistory(history_, ping);
    Paint(Plain(), 80);
    // Every pixel of the fan carries the sample itself.
    EXPECT_EQ(raster_.At(500, 500), 80);
    const std::array<int, 256> counts = Counts();
    EXPECT_GT(counts[80], 1000);
    EXPECT_EQ(counts[80] + counts[0], int(ImageRaster::kBytes));

    // The next ping blends the lines 80, 80, 40 with T7 row s = (65 - 5s,
    // 100, 35 + 5s): values 73 - s. Forward, the last sub-line (s = 6) is the
    // last to write the origin pixel.
    PaintInputs next = Plain();
    next.headAngle = 90.3;
    Paint(next, 40);
    EXPECT_EQ(raster_.At(500, 500), 67);
    std::array<int, 256> seen {};
    for (int y = 490; y < 510; ++y) {
        for (int x = 500; x < 1000; ++x) {
            ++seen[raster_.At(x, y)];
        }
    }
    EXPECT_GT(seen[73], 0); // sub-line 0 along row 500
    EXPECT_GT(seen[67], 0);
    EXPECT_EQ(seen[0] + seen[80] + seen[67] + seen[68] + seen[69] + seen[70] + seen[71] + seen[72] + seen[73],
        20 * 500);

    // Stepping the other way reverses the weights: the last sub-line is row 6
    // read backwards, (65, 100, 35), and the start angle lies beyond theta.
    next.directionFlag = 0;
    next.headAngle = 89.4;
    Paint(next, 40); // lines 80, 40, 40
    EXPECT_EQ(raster_.At(500, 500), int((80 * 65 + 40 * 100 + 40 * 35) * 0.005));
}

TEST_F(SectorPainterTest, OriginAndRadiusFollowTheZoom)
{
    for (double zoom : {0.5, 1.0, 2.0}) {
        raster_.Clear();
        PaintInputs in = Plain();
        in.zoom = zoom;
        in.step = kStepFastest;
        in.headAngle = 91; // 88.6 .. 91 degrees: one sub-line lies on index 0
        Paint(in, 50);
        const int rpx = ImageRadiusPx(zoom);
        EXPECT_EQ(raster_.At(rpx, rpx), 50) << zoom;
        int maxX = 0;
        for (int y = rpx - 20; y <= rpx + 20; ++y) {
            for (int x = 0; x < 4000; ++x) {
                if (raster_.At(x, y) != 0) {
                    maxX = std::max(maxX, x);
                }
            }
        }
        EXPECT_EQ(maxX, 2 * rpx - 1) << zoom;
        EXPECT_EQ(raster_.At(rpx - 1, rpx), 0);
    }
}

TEST_F(SectorPainterTest, StartDelayPushesTheLineOutAndCutsItAtTheRadius)
{
    PaintInputs in = Plain();
    in.headAngle = 180;
    in.statusOffset = 202;
    in.pulseLength = 100; // d = 1202 us
    in.pingRange = 10;
    const double g = ComputePaintGeometry(in).startDelay;
    ASSERT_NEAR(g, 1202 * 1500 * 0.5 / 10000 * 500 / 10.0 / 100, 1e-9);
    Paint(in, 60);
    // Painted pixels lie between radius g and R_px + 1 from the origin.
    double nearest = 1e9;
    double farthest = 0;
    for (int y = 400; y < 1100; ++y) {
        for (int x = 400; x < 600; ++x) {
            if (raster_.At(x, y) != 0) {
                const double d = std::hypot(x - 500.0, y - 500.0);
                nearest = std::min(nearest, d);
                farthest = std::max(farthest, d);
            }
        }
    }
    EXPECT_GE(nearest, g - 1.5);
    EXPECT_LE(nearest, g + 1.5);
    EXPECT_GT(farthest, 499.0);
    EXPECT_LE(farthest, 501.5);
}

TEST_F(SectorPainterTest, MixWeightZeroPaintsEveryEchoAsOne)
{
    PaintInputs in = Plain();
    in.profileDispMode = 1;
    in.mixWeight = 0.0;
    in.step = kStepFaster;
    Paint(in, 200);
    const std::array<int, 256> counts = Counts();
    EXPECT_GT(counts[1], 2000);
    EXPECT_EQ(counts[1] + counts[0], int(ImageRaster::kBytes));
}

TEST_F(SectorPainterTest, StepWithoutFanStillPaintsProfilePoints)
{
    PaintInputs in = Plain();
    in.step = 7;
    Paint(in, 90);
    EXPECT_EQ(Counts()[0], int(ImageRaster::kBytes));

    in.profileDispMode = 4;
    in.profilePointSize = 0;
    in.profileHistory[2] = {1200.0, 90.0}; // 12 m of 30 m: 200 pixels right
    Paint(in, 90);
    EXPECT_EQ(Counts()[107], 1);
    EXPECT_EQ(raster_.At(700, 500), 107);
}

TEST_F(SectorPainterTest, ProfilePointSizes)
{
    PaintInputs in = Plain();
    in.step = kStepNone;
    in.profileDispMode = 3;
    in.mixWeight = 0.5;
    in.profileHistory[0] = {600.0, 180.0}; // 100 px down
    in.profileHistory[1] = {0.0, 0.0}; // radius 0: skipped
    in.profileHistory[2] = {2990.0, 90.0}; // 498.3 px, not below R_px - 2: skipped
    in.profilePointSize = 1;
    Paint(in, 0);
    EXPECT_EQ(Counts()[107], 5);
    EXPECT_EQ(raster_.At(500, 600), 107);
    EXPECT_EQ(raster_.At(499, 600), 107);
    EXPECT_EQ(raster_.At(500, 601), 107);
    EXPECT_EQ(raster_.At(499, 599), 0);
    in.profilePointSize = 2;
    Paint(in, 0);
    EXPECT_EQ(Counts()[107], 9);
    EXPECT_EQ(raster_.At(499, 599), 107);
}

// Every stored `ProfileDispMode`, not only the menu's five: the echo weight
// it gives and whether the profile points are drawn.
TEST_F(SectorPainterTest, ProfileModeGivesEchoWeightAndPoints)
{
    struct Case {
        int mode;
        int echo; // an echo of 200 as painted
        bool points;
    };
    for (const Case c : {Case {0, 117, false}, Case {1, 1, true}, Case {2, 50, true}, Case {3, 100, true},
             Case {4, 117, true}, Case {5, 117, true}, Case {-3, 117, false},
             Case {std::numeric_limits<int>::max(), 117, true}}) {
        SCOPED_TRACE(c.mode);
        PaintInputs in = Plain();
        in.profileDispMode = c.mode;
        in.mixWeight = ProfileMixWeightFor(c.mode);
        in.profileHistory[2] = {1200.0, 90.0}; // 12 m of 30 m: 200 pixels right
        ClearImage(raster_);
        Paint(in, 200);
        const std::array<int, 256> counts = Counts();
        EXPECT_GT(counts[c.echo], 500); // the fan
        EXPECT_EQ(counts[c.echo] + counts[107] + counts[0], int(ImageRaster::kBytes));
        EXPECT_EQ(counts[107], c.points ? 5 : 0);
        EXPECT_EQ(raster_.At(700, 500) == 107, c.points);
    }
}

TEST_F(SectorPainterTest, PingWithoutRangePaintsNothing)
{
    PaintInputs in = Plain();
    in.pingRange = 0;
    in.profileDispMode = 4;
    in.profileHistory[2] = {600.0, 90.0};
    Paint(in, 90);
    EXPECT_EQ(Counts()[0], int(ImageRaster::kBytes));
    EXPECT_FALSE(history_.resetPending); // the history still advanced
}

TEST_F(SectorPainterTest, FanAfterWaterfallUsesLogicalRows)
{
    raster_.Set(3, 0, 5);
    raster_.ScrollDown();
    raster_.ScrollDown();
    Paint(Plain(), 70);
    EXPECT_EQ(raster_.At(3, 2), 5);
    EXPECT_EQ(raster_.At(500, 500), 70);
}

} // namespace
} // namespace velmaris
