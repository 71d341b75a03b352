#include "image/BlendTable.h"

#include <vector>

#include <gtest/gtest.h>

namespace velmaris {
namespace {

template <std::size_t N>
void ExpectRowsSumTo200(const std::array<BlendRow, N>& t)
{
    for (std::size_t s = 0; s < N; ++s) {
        EXPECT_EQ(t[s].w1 + t[s].w2 + t[s].w3, 200) << "row " << s;
        EXPECT_GE(t[s].w1, 0);
        EXPECT_GE(t[s].w3, 0);
    }
}

TEST(BlendTableTest, RowsFollowTheirRules)
{
    const BlendTable b;
    ExpectRowsSumTo200(b.T7());
    ExpectRowsSumTo200(b.T11());
    ExpectRowsSumTo200(b.T21());
    ExpectRowsSumTo200(b.T41());
    EXPECT_EQ(b.T7()[0].w1, 65);
    EXPECT_EQ(b.T7()[6].w3, 65);
    EXPECT_EQ(b.T11()[10].w1, 25);
    const BlendRow t21row3 = b.T21()[3];
    EXPECT_EQ(t21row3.w1, 90);
    EXPECT_EQ(t21row3.w2, 110);
    EXPECT_EQ(b.T21()[10].w1, 20);
    EXPECT_EQ(b.T21()[10].w3, 20);
    EXPECT_EQ(b.T21()[17].w2, 110);
    EXPECT_EQ(b.T21()[18].w3, 100);
    EXPECT_EQ(b.T41()[20].w1, 20);
    EXPECT_EQ(b.T41()[20].w2, 160);
    EXPECT_EQ(b.T41()[35].w3, 95);
    EXPECT_EQ(b.T41()[36].w2, 100);
}

TEST(BlendTableTest, StepChoosesTableAndRows)
{
    const BlendTable b;
    EXPECT_EQ(b.ForStep(1).count, 7);
    EXPECT_EQ(b.ForStep(1).rows, b.T7().data());
    EXPECT_EQ(b.ForStep(2).count, 11);
    EXPECT_EQ(b.ForStep(3).count, 17); // the middle rows 2..18 of T21
    EXPECT_EQ(b.ForStep(3).rows, b.T21().data() + 2);
    EXPECT_EQ(b.ForStep(4).rows, b.T21().data());
    EXPECT_EQ(b.ForStep(5).count, 41);
    EXPECT_EQ(b.ForStep(6).count, 21);
    EXPECT_EQ(b.ForStep(6).rows, b.T41().data());
    EXPECT_EQ(b.ForStep(8).rows, b.T41().data());
    for (int step : {0, 7, 9, 255, -1}) {
        EXPECT_EQ(b.ForStep(step).count, 0) << step;
        EXPECT_EQ(b.ForStep(step).rows, nullptr);
    }
}

TEST(BlendTableTest, LevelIsTheTruncatedFloatingProduct)
{
    for (int sum = 0; sum <= BlendTable::kMaxSum; ++sum) {
        ASSERT_EQ(BlendTable::Level(sum), int(sum * 0.005)) << sum;
    }
}

TEST(BlendTableTest, BlendedLevelsMatchTheProductForEverySum)
{
    // Weights (200, 1, 0) reach every sum 0 .. 51199 once.
    constexpr int kCount = 256 * 200;
    std::vector<std::uint8_t> a(kCount), b(kCount), c(kCount, 0), out(kCount);
    for (int s = 0; s < kCount; ++s) {
        a[s] = std::uint8_t(s / 200);
        b[s] = std::uint8_t(s % 200);
    }
    BlendLevels(a.data(), b.data(), c.data(), BlendRow {200, 1, 0}, kCount, out.data());
    for (int s = 0; s < kCount; ++s) {
        ASSERT_EQ(out[s], int(s * 0.005)) << s;
    }
    // Largest weights and bytes, and a tail shorter than one block.
    std::vector<std::uint8_t> full(21, 255);
    BlendLevels(full.data(), full.data(), full.data(), BlendRow {0, 160, 40}, 21, out.data());
    for (int s = 0; s < 21; ++s) {
        ASSERT_EQ(out[s], 255);
    }
}

} // namespace
} // namespace velmaris
