#include "image/SideScanPainter.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "ReferencePainter.h"
#include "image/ScanLinePainter.h"

namespace velmaris {
namespace {

using testing::Logical;

PaintInputs Plain()
{
    PaintInputs in;
    in.displayMode = DisplayMode::SideScan;
    in.statusOffset = -41;
    in.pulseLength = 0; // no start delay
    in.pingRange = 30;
    in.rangeSetting = 30;
    return in;
}

class SideScanPainterTest : public ::testing::Test {
protected:
    void Paint(const PaintInputs& in, std::uint8_t fill)
    {
        history_.l0.fill(fill);
        PaintPing(raster_, history_, in, tables_);
    }

    PaintTables tables_;
    ImageRaster raster_;
    ScanLineHistory history_;
};

TEST_F(SideScanPainterTest, LineCoversItsColumnsAtZoomOne)
{
    for (int n = 0; n < 500; ++n) {
        history_.l0[n] = std::uint8_t(n % 200 + 1);
    }
    PaintPing(raster_, history_, Plain(), tables_);
    EXPECT_EQ(raster_.At(249, 0), 0);
    EXPECT_EQ(raster_.At(250, 0), 1);
    EXPECT_EQ(raster_.At(250 + 116, 0), 117);
    EXPECT_EQ(raster_.At(250 + 150, 0), 117); // 151 capped
    EXPECT_EQ(raster_.At(749, 0), 100);
    EXPECT_EQ(raster_.At(750, 0), 0);
    EXPECT_EQ(raster_.At(250, 1), 0);
}

TEST_F(SideScanPainterTest, LineFallsOffAfter4000Pings)
{
    Paint(Plain(), 33);
    for (int k = 0; k < 3999; ++k) {
        Paint(Plain(), 0);
    }
    EXPECT_EQ(testing::Histogram(raster_)[33], 500);
    EXPECT_EQ(raster_.At(400, 3999), 33);
    Paint(Plain(), 0);
    EXPECT_EQ(testing::Histogram(raster_)[33], 0);
}

TEST_F(SideScanPainterTest, PingWithoutRangeOnlyScrolls)
{
    Paint(Plain(), 33);
    PaintInputs silent = Plain();
    silent.pingRange = 0;
    silent.profileDispMode = 4;
    silent.profileHistory[2] = {600.0, 0.0};
    Paint(silent, 90);
    // Row 0 keeps its content; row 1 took a copy of it.
    EXPECT_EQ(raster_.At(400, 0), 33);
    EXPECT_EQ(raster_.At(400, 1), 33);
    EXPECT_EQ(raster_.At(350, 0), 33);
    EXPECT_EQ(raster_.RowOrigin(), 3998);
}

TEST_F(SideScanPainterTest, MixWeightZeroPaintsZeroAndProfilePointStandsOut)
{
    Paint(Plain(), 250);
    PaintInputs in = Plain();
    in.mixWeight = 0;
    in.profileDispMode = 1;
    in.profilePointSize = 2;
    in.rangeSetting = 20; // the live range places the point, not the ping's
    in.profileHistory[2] = {1200.0, 0.0}; // 12 m of 20 m: 300 px
    in.profileHistory[1] = {600.0, 0.0}; // older entries are not drawn
    Paint(in, 250);
    for (int x = 250; x < 750; ++x) {
        if (x < 549 || x > 551) {
            ASSERT_EQ(raster_.At(x, 0), 0) << x;
        }
    }
    EXPECT_EQ(raster_.At(550, 0), 107);
    EXPECT_EQ(raster_.At(549, 0), 107);
    EXPECT_EQ(raster_.At(551, 0), 107);
    EXPECT_EQ(raster_.At(549, 1), 107); // row 1 holds the previous line (117)
    EXPECT_EQ(raster_.At(552, 1), 117);
    EXPECT_EQ(raster_.At(350, 0), 0);
}

TEST_F(SideScanPainterTest, ProfilePointSizesAndLimits)
{
    PaintInputs in = Plain();
    in.profileDispMode = 2;
    in.mixWeight = 0.25;
    in.profilePointSize = 0;
    in.profileHistory[2] = {600.0, 0.0}; // 100 px
    Paint(in, 0);
    EXPECT_EQ(raster_.At(350, 0), 107);
    EXPECT_EQ(raster_.At(349, 0), 0);
    in.profilePointSize = 1;
    Paint(in, 0);
    EXPECT_EQ(raster_.At(349, 0), 107);
    EXPECT_EQ(raster_.At(351, 0), 107);
    EXPECT_EQ(raster_.At(350, 1), 107); // last ping's point, scrolled down

    raster_.Clear();
    in.rangeSetting = 0; // undefined position: no point, no crash
    Paint(in, 0);
    in.rangeSetting = 1;
    in.profileHistory[2] = {16383.0, 0.0}; // far beyond the raster
    Paint(in, 0);
    EXPECT_EQ(testing::Histogram(raster_)[107], 0);
}

TEST_F(SideScanPainterTest, MatchesThePlainTranscription)
{
    std::mt19937 rng(4000);
    reference::Image ref;
    ScanLineHistory refHistory;
    for (int ping = 0; ping < 60; ++ping) {
        PaintInputs in = testing::RandomInputs(rng, DisplayMode::SideScan);
        if (ping == 7) {
            // Zoom 4 with a long delay: the line runs past column 3999.
            in.zoom = 4.0;
            in.pingRange = 1;
            in.pulseLength = 255;
            in.speedOfSound = 2250;
        }
        testing::FillEchoes(history_, in.dataPoints * 10, rng);
        refHistory.l0 = history_.l0;
        PaintPing(raster_, history_, in, tables_);
        PrepareScanLine(refHistory, in.dataPoints);
        reference::PaintSideScan(ref, refHistory, in);
        if (ping % 20 == 19) {
            ASSERT_EQ(Logical(raster_), ref.px) << "after ping " << ping;
        }
    }
    EXPECT_NE(raster_.RowOrigin(), 0);
}

} // namespace
} // namespace velmaris
