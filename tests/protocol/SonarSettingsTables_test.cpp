#include "protocol/SonarSettings.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(RangeTable, InverseMappingTakesLargestEntryNotAboveTheValue)
{
    EXPECT_EQ(RangeIndexForMetres(0), 7); // below 1 m: the 30 m default
    EXPECT_EQ(RangeIndexForMetres(-5), 7);
    EXPECT_EQ(RangeIndexForMetres(1), 0);
    EXPECT_EQ(RangeIndexForMetres(7), 4); // 5 m
    EXPECT_EQ(RangeIndexForMetres(30), 7);
    EXPECT_EQ(RangeIndexForMetres(149), 12);
    EXPECT_EQ(RangeIndexForMetres(250), 14); // 200 m
    for (int i = 0; i < kRangeCount; ++i)
        EXPECT_EQ(RangeIndexForMetres(kRangeTableMetres[i]), i);
}

TEST(RangeTable, IndexOutsideTableFallsBackToDefault)
{
    EXPECT_EQ(RangeMetresForIndex(15), 30);
    EXPECT_EQ(RangeMetresForIndex(-1), 30);
    EXPECT_EQ(RangeMetresForIndex(14), 200);
}

TEST(DerivedValues, TrainAngleDegrees)
{
    EXPECT_EQ(TrainAngleDegreesFor(60, 0), 0);
    EXPECT_EQ(TrainAngleDegreesFor(60, 1), 360);
    EXPECT_EQ(TrainAngleDegreesFor(0, 0), 180);
    EXPECT_EQ(TrainAngleDegreesFor(120, 0), 180);
    EXPECT_EQ(TrainAngleDegreesFor(59, 0), 357);
    EXPECT_EQ(TrainAngleDegreesFor(59, 1), 3);
    EXPECT_EQ(TrainAngleDegreesFor(200, 0), 360); // out-of-range codes are limited
}

TEST(DerivedValues, ProfileMixWeightAndStepNames)
{
    EXPECT_DOUBLE_EQ(ProfileMixWeightFor(0), 1.0);
    EXPECT_DOUBLE_EQ(ProfileMixWeightFor(1), 0.0);
    EXPECT_DOUBLE_EQ(ProfileMixWeightFor(2), 0.25);
    EXPECT_DOUBLE_EQ(ProfileMixWeightFor(3), 0.5);
    EXPECT_DOUBLE_EQ(ProfileMixWeightFor(4), 1.0);
    EXPECT_DOUBLE_EQ(ProfileMixWeightFor(9), 1.0);
    EXPECT_STREQ(StepName(kStepFastest), "Fastest");
    EXPECT_STREQ(StepName(kStepNone), "None");
    EXPECT_STREQ(StepName(kStepUnassigned), "");
}

TEST(AutomaticTable, RowsFollowTheRange)
{
    const AutoTable t = SonarSettings::BuildAutomaticTable();
    EXPECT_EQ(t[3].pulseLength, 1);
    EXPECT_EQ(t[4].pulseLength, 3);
    EXPECT_EQ(t[13].frequency, 27);
    EXPECT_EQ(t[13].absorption, 10);
    EXPECT_EQ(t[13].pulseLength, 40);
    EXPECT_EQ(t[14].pulseLength, 53);
}

} // namespace
} // namespace velmaris
