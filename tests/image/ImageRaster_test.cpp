#include "image/ImageRaster.h"

#include "PaintTestSupport.h"
#include "image/ScanLinePainter.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace velmaris {
namespace {

constexpr int kW = ImageRaster::kWidth;

TEST(ImageRasterTest, StartsClearedAndClipsSinglePixels)
{
    ImageRaster r;
    EXPECT_EQ(r.At(0, 0), 0);
    EXPECT_EQ(r.At(3999, 3999), 0);
    r.Set(3999, 3999, 9);
    r.Set(4000, 0, 9);
    r.Set(-1, 5, 9);
    r.Set(5, 4000, 9);
    EXPECT_EQ(r.At(3999, 3999), 9);
    EXPECT_EQ(r.At(4000, 0), 0);
    EXPECT_EQ(r.At(-1, 5), 0);
    EXPECT_EQ(r.Row(3999)[3999], 9);
}

TEST(ImageRasterTest, ScrollKeepsRowZeroAndDropsTheBottomRow)
{
    ImageRaster r;
    r.Set(10, 0, 1);
    r.Set(11, 1, 2);
    r.Set(12, 3999, 3);
    r.ScrollDown();
    EXPECT_EQ(r.At(10, 0), 1); // row 0 keeps its content
    EXPECT_EQ(r.At(10, 1), 1);
    EXPECT_EQ(r.At(11, 2), 2);
    EXPECT_EQ(r.At(11, 1), 0);
    EXPECT_EQ(r.At(12, 3999), 0); // fell off
    for (int y = 0; y < 4000; ++y) {
        ASSERT_NE(r.At(12, y), 3) << y;
    }
}

TEST(ImageRasterTest, CopiesAndLinearDataSeeLogicalRows)
{
    ImageRaster r;
    for (int y = 0; y < 5; ++y) {
        r.Set(y, y, std::uint8_t(y + 1));
    }
    for (int k = 0; k < 1234; ++k) {
        r.ScrollDown();
    }
    EXPECT_EQ(r.RowOrigin(), 4000 - 1234);
    EXPECT_EQ(r.At(0, 0), 1); // row 0 was copied down 1234 times
    EXPECT_EQ(r.At(0, 1234), 1);
    EXPECT_EQ(r.At(4, 1238), 5);

    std::vector<std::uint8_t> all(ImageRaster::kBytes);
    r.CopyAll(all.data());
    EXPECT_EQ(all[std::size_t(1238) * kW + 4], 5);
    EXPECT_EQ(all[std::size_t(1237) * kW + 3], 4);

    std::vector<std::uint8_t> rect(3 * 2, 0xEE);
    ASSERT_TRUE(r.CopyRect(2, 1236, 3, 2, rect.data(), 3));
    EXPECT_EQ(rect, (std::vector<std::uint8_t> {3, 0, 0, 0, 4, 0}));
    EXPECT_FALSE(r.CopyRect(3998, 0, 3, 1, rect.data(), 3));
    EXPECT_FALSE(r.CopyRect(0, -1, 1, 1, rect.data(), 1));
    EXPECT_FALSE(r.CopyRect(0, 3999, 1, 2, rect.data(), 1));

    std::uint8_t* linear = r.LinearData();
    EXPECT_EQ(r.RowOrigin(), 0);
    EXPECT_EQ(linear[std::size_t(1238) * kW + 4], 5);
    EXPECT_EQ(std::vector<std::uint8_t>(linear, linear + ImageRaster::kBytes), all);

    r.ScrollDown();
    r.Clear();
    EXPECT_EQ(r.RowOrigin(), 0);
    EXPECT_EQ(r.At(0, 0), 0);
    EXPECT_EQ(r.At(4, 1239), 0);
}

bool AllZero(const ImageRaster& r)
{
    static const std::vector<std::uint8_t> zero(kW, 0);
    for (int y = 0; y < ImageRaster::kHeight; ++y)
        if (std::memcmp(r.Row(y), zero.data(), kW) != 0)
            return false;
    return true;
}

TEST(ImageRasterTest, ClearWipesWhatEveryWritingAccessorHandedOut)
{
    ImageRaster r;
    r.Set(3999, 3999, 9);
    r.Row(17)[3] = 4;
    r.LinearDataFor(20, 30)[29 * kW + 19] = 5;
    for (int k = 0; k < 10; ++k)
        r.ScrollDown(); // each scroll copies row 0 into a new stored row
    r.LinearDataFor(0, 0); // rotates the rows and what is known of them
    r.Row(0)[3999] = 6;
    EXPECT_GT(r.WrittenRows(), 0);
    r.Clear();
    EXPECT_TRUE(AllZero(r));
    EXPECT_EQ(r.WrittenRows(), 0);
    r.LinearData()[ImageRaster::kBytes - 1] = 7; // the whole image, unnamed
    r.Clear();
    EXPECT_TRUE(AllZero(r));
    r.LinearDataFor(100, 100);
    r.Clear();
    r.LinearDataFor(50, 50)[49 * kW + 49] = 8; // a rectangle marked before the clear is marked again
    r.Clear();
    EXPECT_TRUE(AllZero(r));
}

// Whatever the painters write, in any mode and from any inputs (extreme
// zooms, speeds of sound of either sign, the waterfall's ring turned
// between fans), the next clear leaves nothing behind.
TEST(ImageRasterTest, ClearAfterAnyPaintingLeavesNothingBehind)
{
    using namespace velmaris::testing;
    static constexpr double kZooms[] = {0.01, 0.3, 1.0, 2.0, 3.99, 4.0, 8.0};
    static constexpr double kSpeeds[] = {1500.0, 6000.0, -1500.0, 0.0, 30.0};
    static PaintTables tables;
    std::mt19937 rng(52);
    ImageRaster r;
    ScanLineHistory history;
    for (int round = 0; round < 12; ++round) {
        for (int ping = 0; ping < 40; ++ping) {
            PaintInputs in = RandomInputs(rng, kEveryMode[rng() % std::size(kEveryMode)]);
            if (ping % 3 == 0) {
                in.zoom = kZooms[rng() % std::size(kZooms)];
                in.speedOfSound = kSpeeds[rng() % std::size(kSpeeds)];
            }
            FillEchoes(history, 500, rng);
            PaintPing(r, history, in, tables);
        }
        ClearImage(r);
        ASSERT_TRUE(AllZero(r)) << "round " << round;
    }
}

TEST(ImageRasterTest, ClearAfterOneFanWipesOnlyTheFansRows)
{
    static PaintTables tables;
    std::mt19937 rng(7);
    ImageRaster r;
    ScanLineHistory history;
    PaintInputs in = testing::RandomInputs(rng, DisplayMode::Polar);
    in.zoom = 1.0;
    in.speedOfSound = 1500.0;
    testing::FillEchoes(history, 500, rng);
    PaintPing(r, history, in, tables);
    EXPECT_GT(r.WrittenRows(), 0);
    EXPECT_LE(r.WrittenRows(), 1003) << "a fan at zoom 1 spans at most 1001 rows";
}

} // namespace
} // namespace velmaris
