#include "image/ImageRaster.h"

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

} // namespace
} // namespace velmaris
