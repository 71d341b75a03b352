#include "image/ColorIndicator.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(ColorIndicatorTest, RowsRunFromStrongestDown)
{
    const std::vector<std::uint8_t> bar = BuildIndicatorBar(117);
    ASSERT_EQ(bar.size(), 117u * 8);
    for (int y = 0; y < 117; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(bar[y * 8 + x], 117 - y) << y;
        }
    }
    const std::vector<std::uint8_t> tall = BuildIndicatorBar(1000);
    EXPECT_EQ(tall[0], 117);
    EXPECT_EQ(tall[999 * 8], 117 - 999 * 117 / 1000);
    EXPECT_EQ(tall[500 * 8 + 7], 117 - 58);
    const std::vector<std::uint8_t> one = BuildIndicatorBar(1);
    EXPECT_EQ(one, std::vector<std::uint8_t>(8, 117));
    EXPECT_TRUE(BuildIndicatorBar(0).empty());
    EXPECT_TRUE(BuildIndicatorBar(-5).empty());
}

} // namespace
} // namespace velmaris
