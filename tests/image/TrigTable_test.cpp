#include "image/TrigTable.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(TrigTableTest, EntriesUseTheShortPiConstant)
{
    const TrigTable t;
    EXPECT_EQ(t.Cos(0), 1.0);
    EXPECT_EQ(t.Sin(0), 0.0);
    // 90 degrees through 3.1415926 is a hair short of a quarter turn, so the
    // cosine is not 0 but about 2.68e-8.
    EXPECT_EQ(t.Cos(1800), std::cos(1800 * 0.05 * 3.1415926 / 180));
    EXPECT_NEAR(t.Cos(1800), 2.6794896585e-8, 1e-15);
    EXPECT_EQ(t.Sin(7199), std::sin(7199 * 0.05 * 3.1415926 / 180));
    EXPECT_EQ(t.Cos(TrigTable::kEntries - 1), std::cos(35999 * 0.05 * 3.1415926 / 180));
}

TEST(TrigTableTest, IndexWrapsOnceAsTheFanDoes)
{
    EXPECT_EQ(TrigTable::IndexForAngle(90.0), 0); // pointing right
    EXPECT_EQ(TrigTable::IndexForAngle(0.0), 5400); // up: 270 degrees
    EXPECT_EQ(TrigTable::IndexForAngle(89.99), 7199); // -0.01 -> 359.99
    EXPECT_EQ(TrigTable::IndexForAngle(450.0), 0); // 360 -> 0
    // After the single wrap a large angle still lands inside the table and
    // is used as it stands.
    EXPECT_EQ(TrigTable::IndexForAngle(1000.0), 11000);
    EXPECT_EQ(TrigTable::IndexForAngle(1889.0), 28780); // 1799 -> 1439 degrees
}

TEST(TrigTableTest, IndexOutsideTheTableIsReducedFirst)
{
    EXPECT_EQ(TrigTable::IndexForAngle(3000.0), 600); // 2550 -> 30 degrees
    EXPECT_EQ(TrigTable::IndexForAngle(-1000.0), 7000); // -730 -> 350 degrees
    for (double far : {1e300, -1e300, 1e15, -7.5e6}) {
        const int idx = TrigTable::IndexForAngle(far);
        EXPECT_GE(idx, 0) << far;
        EXPECT_LE(idx, 7199) << far;
    }
    EXPECT_EQ(TrigTable::IndexForAngle(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(TrigTable::IndexForAngle(std::numeric_limits<double>::infinity()), -1);
    EXPECT_EQ(TrigTable::IndexForAngle(-std::numeric_limits<double>::infinity()), -1);
}

} // namespace
} // namespace velmaris
