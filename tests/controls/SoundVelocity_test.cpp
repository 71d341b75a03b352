#include "controls/SoundVelocity.h"

#include <gtest/gtest.h>

#include <limits>

namespace velmaris {
namespace {

TEST(SoundVelocityTest, SpinMovesTenthsAndStopsAtTheEnds)
{
    EXPECT_DOUBLE_EQ(StepSoundVelocity(1500.0, +1), 1500.1);
    EXPECT_DOUBLE_EQ(StepSoundVelocity(1599.9, +1), 1600.0);
    EXPECT_DOUBLE_EQ(StepSoundVelocity(1600.0, +1), 1600.0);
    EXPECT_DOUBLE_EQ(StepSoundVelocity(1600.0, -1), 1599.9);
    EXPECT_DOUBLE_EQ(StepSoundVelocity(1400.0, -1), 1400.0);
    EXPECT_DOUBLE_EQ(StepSoundVelocity(1400.0, 0), 1400.0);
    EXPECT_DOUBLE_EQ(StepSoundVelocity(1400.0, +1), 1400.1);
    EXPECT_DOUBLE_EQ(StepSoundVelocity(1300.0, +1), 1400.0); // brought back into range
    double speed = 1599.0;
    for (int i = 0; i < 10; ++i)
        speed = StepSoundVelocity(speed, +1);
    EXPECT_EQ(speed, 1600.0); // no drift from ten additions of 0.1
    EXPECT_EQ(StepSoundVelocity(speed, +1), 1600.0);
}

TEST(SoundVelocityTest, TypedTextAndAcceptance)
{
    EXPECT_DOUBLE_EQ(SoundVelocityFromText("1500.0"), 1500.0);
    EXPECT_DOUBLE_EQ(SoundVelocityFromText(" 1450.5"), 1450.5);
    EXPECT_DOUBLE_EQ(SoundVelocityFromText("1500.123456"), 1500.12); // seven characters
    EXPECT_DOUBLE_EQ(SoundVelocityFromText("abc"), 0.0);
    EXPECT_DOUBLE_EQ(SoundVelocityFromText(""), 0.0);
    EXPECT_DOUBLE_EQ(SoundVelocityFromText("--1500"), 0.0);
    EXPECT_DOUBLE_EQ(SoundVelocityFromText("-1500"), -1500.0);
    EXPECT_TRUE(IsSoundVelocityAccepted(1400.0));
    EXPECT_TRUE(IsSoundVelocityAccepted(1600.0));
    EXPECT_FALSE(IsSoundVelocityAccepted(1399.9));
    EXPECT_FALSE(IsSoundVelocityAccepted(1600.1));
    EXPECT_FALSE(IsSoundVelocityAccepted(std::numeric_limits<double>::quiet_NaN()));
}

TEST(SoundVelocityTest, InitialValuesAndSpinPosition)
{
    EXPECT_EQ(SoundVelocityText(1500.0), "1500.0");
    EXPECT_EQ(SoundVelocitySpinPosition(1500.0), 1000);
    EXPECT_EQ(SoundVelocitySpinPosition(1450.57), 505);
    EXPECT_EQ(SoundVelocitySpinPosition(1300.0), 0);
    EXPECT_EQ(SoundVelocitySpinPosition(1700.0), 2000);
    EXPECT_EQ(SoundVelocitySpinPosition(1800.0), 2000);
    EXPECT_EQ(SoundVelocitySpinPosition(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_DOUBLE_EQ(InitialWorkingSpeed(1523.7), 1523.0);
    EXPECT_DOUBLE_EQ(InitialWorkingSpeed(std::numeric_limits<double>::infinity()), 1500.0);
}

} // namespace
} // namespace velmaris
