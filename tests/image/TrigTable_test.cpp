#include "image/TrigTable.h"

#include "image/RoundedTrig.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

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
    EXPECT_EQ(t.Cos(1800), 0x1.cc553391a6262p-26);
    EXPECT_NEAR(t.Cos(1800), 2.6794896585e-8, 1e-15);
    EXPECT_EQ(t.Sin(7199), RoundedSin(7199 * 0.05 * 3.1415926 / 180));
    EXPECT_EQ(t.Cos(TrigTable::kEntries - 1), RoundedCos(35999 * 0.05 * 3.1415926 / 180));
}

// The nearest doubles, also where a C library's sin or cos is one off
// (angles of the table whose values lie close to half-way between two).
TEST(TrigTableTest, RoundedSineAndCosineAreTheNearestDoubles)
{
    struct Case {
        int k; // table entry: k x 0.05 degrees through 3.1415926
        double sin;
        double cos;
    };
    const Case cases[] = {
        {0, 0x0.0p+0, 0x1.0000000000000p+0},
        {193, 0x1.574df03031135p-3, 0x1.f8c1591d27575p-1},
        {441, 0x1.806cf01ac132fp-2, 0x1.da8cf2b1e1e53p-1},
        {1064, 0x1.99f97604b66cfp-1, 0x1.32b339074188cp-1},
        {1321, 0x1.d3eab4f69296bp-1, 0x1.9fae8c6f5edb5p-2},
        {1800, 0x1.ffffffffffffdp-1, 0x1.cc553391a6262p-26},
        {2143, 0x1.e93c05ce5ee81p-1, -0x1.2df3853ea196dp-2},
        {3600, 0x1.cc553391a625fp-25, -0x1.ffffffffffff3p-1},
        {5400, -0x1.fffffffffffe3p-1, -0x1.593fe6cd3c9c4p-24},
        {9000, 0x1.fffffffffffafp-1, 0x1.1fb5404b07d6fp-23},
        {17999, 0x1.c9ab02915db0cp-11, -0x1.fffff3372fd18p-1},
        {35999, -0x1.c9cef938891ccp-11, 0x1.fffff3352d629p-1},
    };
    for (const Case& c : cases) {
        const double radians = c.k * 0.05 * 3.1415926 / 180;
        EXPECT_EQ(RoundedSin(radians), c.sin) << c.k;
        EXPECT_EQ(RoundedCos(radians), c.cos) << c.k;
    }
    EXPECT_EQ(RoundedSin(-0.5), -RoundedSin(0.5)); // below zero, as sector edges may be
    EXPECT_EQ(RoundedCos(-0.5), RoundedCos(0.5));
    EXPECT_LE(std::fabs(RoundedSin(1e300)), 1.0) << "far arguments: the C library";
}

// The compiled-in columns are the rounded sine and cosine computed here, bit
// for bit, on every platform the tests run on. When they differ, fresh copies
// of both files are written to the temporary folder to replace the ones in
// src/image.
TEST(TrigTableTest, CompiledValuesAreTheRoundedComputation)
{
    const double* columns[2] = {TrigTable::CosValues(), TrigTable::SinValues()};
    const char* names[2] = {"cosine", "sine"};
    int differing = 0;
    std::string text[2];
    for (int which = 0; which < 2; ++which) {
        text[which] = std::string("// The ") + names[which] + " column of TrigTable: entry k is the rounded "
            + names[which]
            + " of k x 0.05 degrees\n// through 3.1415926. Generated from RoundedTrig; TrigTable_test checks "
              "it "
              "against\n// the computation and writes a new copy when they differ. Do not edit.\n";
        for (int k = 0; k < TrigTable::kEntries; ++k) {
            const double radians = k * 0.05 * 3.1415926 / 180;
            const double value = which == 0 ? RoundedCos(radians) : RoundedSin(radians);
            differing += std::memcmp(&value, &columns[which][k], sizeof value) != 0;
            char literal[40];
            std::snprintf(literal, sizeof literal, "%a,%s", value, k % 4 == 3 ? "\n" : " ");
            text[which] += literal;
        }
    }
    if (differing == 0)
        return;
    const auto folder = std::filesystem::temp_directory_path();
    const char* files[2] = {"TrigTableCos.inc", "TrigTableSin.inc"};
    for (int which = 0; which < 2; ++which)
        if (std::FILE* f = std::fopen((folder / files[which]).string().c_str(), "wb")) {
            std::fwrite(text[which].data(), 1, text[which].size(), f);
            std::fclose(f);
        }
    ADD_FAILURE() << differing << " compiled-in values differ from the computation; fresh copies are in "
                  << folder.string();
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
