// The plain parts of a mosaic: samples at the ranges the painters draw
// them, the cells' means and their tiles, the UTM zone of a survey.
#include "image/ImageRaster.h"
#include "image/ScanLinePainter.h"
#include "station/MosaicSurvey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace velmaris {
namespace {

// One bright sample painted at zoom 1 lands at the range SampleRangesOf
// gives it, within a pixel (R / 500 metres), in the fan and the waterfall.
TEST(MosaicSurvey, SamplesLieWhereThePaintersDrawThem)
{
    struct Case {
        DisplayMode mode;
        double speed;
        int statusOffset;
        int pulseLength;
        int sample;
    };
    const Case cases[] = {
        {DisplayMode::Polar, 1500, 0, 10, 300},
        {DisplayMode::Polar, 1450, 40, 20, 450},
        {DisplayMode::Sector, 1600, 0, 5, 200},
        {DisplayMode::SideScan, 1500, 0, 10, 300},
        {DisplayMode::SideScan, 1580, 60, 30, 480},
    };
    auto raster = std::make_unique<ImageRaster>();
    auto tables = std::make_unique<PaintTables>();
    for (const Case& c : cases) {
        raster->Clear();
        PaintInputs in;
        in.displayMode = c.mode;
        in.speedOfSound = c.speed;
        in.statusOffset = c.statusOffset;
        in.pulseLength = c.pulseLength;
        in.pingRange = in.rangeSetting = 30;
        in.headAngle = 90; // along the origin's row, to the right
        in.step = 1;
        ScanLineHistory history;
        history.l0[std::size_t(c.sample)] = 200;
        PaintPing(*raster, history, in, *tables);
        const LineSampleRanges ranges = SampleRangesOf(in);
        ASSERT_GT(ranges.count, c.sample);
        const double metres = ranges.first + ranges.step * c.sample;
        const bool fan = c.mode != DisplayMode::SideScan;
        // The fan's wedge lies beside the head's line; the waterfall's is row 0.
        const double originX = fan ? 500 : 250, originY = fan ? 500 : 0;
        double sum = 0;
        int painted = 0;
        for (int y = fan ? 490 : 0; y <= (fan ? 510 : 0); ++y)
            for (int x = 0; x < ImageRaster::kWidth; ++x)
                if (raster->Row(y)[x] == 117) {
                    sum += std::hypot(x - originX, y - originY);
                    ++painted;
                }
        ASSERT_GT(painted, 0) << int(c.mode) << " " << c.speed;
        const double pixel = 30.0 / 500;
        EXPECT_NEAR(metres, sum / painted * pixel, 1.5 * pixel) << int(c.mode) << " " << c.speed;
        EXPECT_NEAR(ranges.step, c.speed / 1500 * pixel, 1e-12);
    }
    // As many samples as the painters' own plans keep, over the speeds of
    // sound and start delays.
    for (const DisplayMode mode : {DisplayMode::Polar, DisplayMode::SideScan})
        for (const double speed : {1400.0, 1499.0, 1500.0, 1501.0, 1600.0})
            for (const int offset : {0, 700}) {
                PaintInputs in;
                in.displayMode = mode;
                in.speedOfSound = speed;
                in.statusOffset = offset;
                in.pingRange = in.rangeSetting = 10;
                const PaintGeometry geo = ComputePaintGeometry(in);
                int planned = tables->plans.Radii(in, geo).samples;
                if (mode == DisplayMode::SideScan) {
                    const auto& columns = tables->plans.Columns(in, geo).column;
                    planned = 1 + *std::max_element(columns.begin(), columns.end(), [](auto a, auto b) {
                        return (a == 0xFFFF ? -1 : a) < (b == 0xFFFF ? -1 : b);
                    });
                }
                EXPECT_EQ(SampleRangesOf(in).count, planned) << int(mode) << " " << speed << " " << offset;
            }
    PaintInputs none;
    none.pingRange = 0;
    EXPECT_EQ(SampleRangesOf(none).count, 0) << "a ping of range 0 paints nothing";
}

TEST(MosaicSurvey, CellsHoldTheMeanOfTheirSamplesInTilesMadeWhereTheyFell)
{
    MosaicGrid grid(1000, 700);
    EXPECT_EQ(grid.TilesInUse(), 0u);
    // Four samples along a row from (10.5, 20.5) eastwards, one cell apart,
    // then the same line again with other levels; then a line leaving the
    // grid and a range that is not a number.
    const double ranges[] = {0, 1, 2, 3};
    const std::uint8_t a[] = {10, 20, 30, 40};
    const std::uint8_t b[] = {11, 20, 33, 100};
    grid.AddLine(10.5, 20.5, 1, 0, ranges, a, 4);
    grid.AddLine(10.5, 20.5, 1, 0, ranges, b, 4);
    const double outward[] = {0, 5, std::numeric_limits<double>::quiet_NaN(), 2000};
    grid.AddLine(998.5, 699.5, 1, 1, outward, a, 4);
    EXPECT_EQ(grid.TilesInUse(), 2u);

    std::uint8_t block[6 * 2];
    ASSERT_TRUE(grid.ReadBlock(9, 20, 6, 2, block));
    const std::uint8_t expected[] = {255, 11, 20, 32, 70, 255, 255, 255, 255, 255, 255, 255};
    for (std::size_t i = 0; i < sizeof block; ++i)
        EXPECT_EQ(block[i], expected[i]) << i; // 10.5 rounds to 11, 31.5 to 32
    std::uint8_t corner[4 * 4]; // reaching past the grid's corner
    ASSERT_TRUE(grid.ReadBlock(998, 698, 4, 4, corner));
    EXPECT_EQ(corner[4], 10);
    EXPECT_EQ(std::count(corner, corner + 16, MosaicGrid::kNoData), 15);
    EXPECT_FALSE(grid.ReadBlock(500, 300, 2, 1, corner)) << "no sample fell there";
    EXPECT_EQ(corner[0], MosaicGrid::kNoData);

    // A cell's count halves before it would overflow; the mean stays.
    MosaicGrid full(1, 1);
    const double zero[] = {0};
    const std::uint8_t level[] = {117};
    for (int i = 0; i < 70'000; ++i)
        full.AddLine(0.5, 0.5, 0, 0, zero, level, 1);
    std::uint8_t mean = 0;
    ASSERT_TRUE(full.ReadBlock(0, 0, 1, 1, &mean));
    EXPECT_EQ(mean, 117);
}

TEST(MosaicSurvey, ZoneOfASurveyAndFormatOfAFile)
{
    struct Case {
        GeoPoint point;
        int zone;
        bool north;
    };
    const Case cases[] = {
        {{59.43, 10.55}, 32, true},
        {{60.0, 4.0}, 32, true}, // south-west Norway: 32V, not 31
        {{55.9, 4.0}, 31, true},
        {{78.0, 15.0}, 33, true}, // Svalbard
        {{-33.9, 151.2}, 56, false},
        {{0.0, -180.0}, 1, true},
        {{10.0, 179.99}, 60, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UtmZoneOf(c.point), (UtmZone {c.zone, c.north}))
            << c.point.latitude << " " << c.point.longitude;
    }
    EXPECT_EQ(UtmZone({32, true}).Epsg(), 32632);
    EXPECT_EQ(UtmZone({56, false}).Epsg(), 32756);
    EXPECT_EQ(MosaicFormatForPath("a/b.TIF"), MosaicFormat::GeoTiff);
    EXPECT_EQ(MosaicFormatForPath("b.tiff"), MosaicFormat::GeoTiff);
    EXPECT_EQ(MosaicFormatForPath("c.kmz"), MosaicFormat::Kmz);
    EXPECT_FALSE(MosaicFormatForPath("d.kml"));
    EXPECT_FALSE(MosaicFormatForPath("tif"));
}

// A survey over the 180th meridian is one small box in the zone beside it,
// not a box around the earth in zone 31.
TEST(MosaicSurvey, ASurveyAcrossThe180thMeridianIsOneBox)
{
    struct Case {
        double first, second; // the heads' longitudes
        double centre; // of the box
        int zone;
    };
    const Case cases[] = {
        {179.9995, -179.9995, -180.0, 1}, // on the meridian: read as -180
        {179.990, 179.998, 179.994, 60},
        {179.999, -179.997, -179.999, 1},
        {-179.997, 179.999, -179.999, 1},
        {10.0, 10.001, 10.0005, 32},
    };
    for (const Case& c : cases) {
        MosaicExtent extent;
        for (const double longitude : {c.first, c.second}) {
            MosaicPing ping;
            ping.navigation.head = GeoPoint {60.0, longitude};
            ping.ranges.count = 1;
            ping.ranges.first = 30;
            extent.Add(ping);
        }
        GeoPoint sw, ne;
        extent.Bounds(sw, ne);
        EXPECT_LT(sw.longitude, ne.longitude) << c.first;
        EXPECT_LT(ne.longitude - sw.longitude, 0.01)
            << c.first << ": " << sw.longitude << " " << ne.longitude;
        const double centre = extent.Centre().longitude;
        EXPECT_NEAR(std::remainder(centre - c.centre, 360.0), 0.0, 1e-9) << c.first;
        EXPECT_GE(centre, -180.0);
        EXPECT_LT(centre, 180.0);
        EXPECT_EQ(UtmZoneOf(extent.Centre()).number, c.zone) << c.first;
    }
}

TEST(MosaicSurvey, AFrameTooLargeForTheCapsGetsACoarserCell)
{
    MosaicFrame frame;
    frame.cell = 0.05;
    frame.width = 40'000;
    frame.height = 20'000; // 8e8 cells
    EXPECT_FALSE(WithinCaps(frame));
    const double cell = CellWithinCaps(frame);
    EXPECT_GT(cell, 0.05 * std::sqrt(8e8 / kMosaicCellCap));
    EXPECT_LT(cell, 0.05 * std::sqrt(8e8 / kMosaicCellCap) * 1.1);
    MosaicFrame coarser = frame;
    coarser.cell = cell;
    coarser.width = int(frame.width * 0.05 / cell) + 1;
    coarser.height = int(frame.height * 0.05 / cell) + 1;
    EXPECT_TRUE(WithinCaps(coarser));
    frame.width = 200'000;
    frame.height = 10;
    EXPECT_FALSE(WithinCaps(frame)) << "too wide";
}

} // namespace
} // namespace velmaris
