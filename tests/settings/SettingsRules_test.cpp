#include "settings/SettingsRules.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

class SettingsRules : public ::testing::Test {
protected:
    void SetUp() override { InitialiseCommandMessage(message, settings); }

    std::uint8_t& Step() { return message[CommandMessage::kStep]; }

    SonarSettings settings;
    CommandMessage message;
};

TEST_F(SettingsRules, NormaliseStepK52AOnlyAvoidsNoneOutsideSideScan)
{
    settings.sectorMode = DisplayMode::Sector;
    settings.rangeIndex = 0; // 1 m: no short-range limit on the K52A
    Step() = kStepFastest;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepFastest);

    Step() = kStepNone;
    settings.stepSize = kStepFast;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepSlow);
    EXPECT_EQ(settings.stepSize, kStepFast); // the K52A leaves the saved step alone

    Step() = 5;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepFastest);

    settings.sectorMode = DisplayMode::SideScan;
    Step() = kStepFast;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepNone);
}

TEST_F(SettingsRules, NormaliseStepK52LLimitsShortRanges)
{
    settings.sonarType = SonarType::EthernetK52L;
    settings.sectorMode = DisplayMode::Polar;

    settings.rangeIndex = 3; // 4 m
    Step() = kStepFastest;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepSlow);
    EXPECT_EQ(settings.stepSize, kStepSlow);

    settings.rangeIndex = 4; // 5 m
    Step() = kStepFast;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepMedium);
    Step() = kStepSlow;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepSlow);

    settings.rangeIndex = 7; // 30 m: a step of 0 takes the saved step
    settings.stepSize = kStepFaster;
    Step() = kStepNone;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepFaster);

    settings.stepSize = kStepNone; // a saved 0 must still not stop the head
    Step() = kStepNone;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepSlow);
    EXPECT_EQ(settings.stepSize, kStepSlow);
}

TEST_F(SettingsRules, NormaliseStepK52LSideScanKeepsTheSavedStep)
{
    settings.sonarType = SonarType::EthernetK52L;
    settings.sectorMode = DisplayMode::SideScan;
    settings.stepSize = kStepFaster;
    Step() = kStepFaster;
    NormaliseStep(settings, message);
    EXPECT_EQ(Step(), kStepNone);
    EXPECT_EQ(settings.stepSize, kStepFaster);
}

TEST_F(SettingsRules, StorePerModeWritesOnlyTheCurrentModesCopies)
{
    message[CommandMessage::kSectorWidth] = 40;
    message[CommandMessage::kTrain] = 70;

    settings.sectorMode = DisplayMode::SideScan;
    StorePerMode(settings, message);
    EXPECT_EQ(settings.trainSS, 70);
    EXPECT_EQ(settings.sectorWidthSector, 60);
    EXPECT_EQ(settings.sectorWidthPolar, 120);

    settings.sectorMode = DisplayMode::Sector;
    StorePerMode(settings, message);
    EXPECT_EQ(settings.sectorWidthSector, 40);
    EXPECT_EQ(settings.trainSector, 70);
    EXPECT_EQ(settings.trainPolar, 60);
}

TEST_F(SettingsRules, MoveModeSettingsIntoCommandPerMode)
{
    settings.trainSector = 50;
    settings.sectorWidthSector = 30;
    settings.trainPolar = 80;
    settings.sectorWidthPolar = 90;
    settings.trainSS = 20;

    settings.sectorMode = DisplayMode::Polar;
    MoveModeSettingsIntoCommand(settings, message);
    EXPECT_EQ(message[CommandMessage::kTrain], 80);
    EXPECT_EQ(message[CommandMessage::kSectorWidth], 90);
    EXPECT_EQ(settings.trainAngleDegrees, 60);

    settings.sectorMode = DisplayMode::SideScan;
    MoveModeSettingsIntoCommand(settings, message);
    EXPECT_EQ(message[CommandMessage::kTrain], 20);
    EXPECT_EQ(message[CommandMessage::kSectorWidth], 0);
    EXPECT_EQ(Step(), kStepNone);
    EXPECT_EQ(settings.sectorWidthPolar, 90); // SideScan keeps no width of its own

    settings.sectorMode = DisplayMode::Sector;
    Step() = kStepNone; // as left by SideScan: normalised to a moving step
    MoveModeSettingsIntoCommand(settings, message);
    EXPECT_EQ(message[CommandMessage::kTrain], 50);
    EXPECT_EQ(message[CommandMessage::kSectorWidth], 30);
    EXPECT_EQ(Step(), kStepSlow);
    EXPECT_EQ(settings.trainAngleDegrees, 330);
}

TEST_F(SettingsRules, HandEditedModeValuesAreBoundedAndCopiesFollow)
{
    settings.sectorMode = DisplayMode::Sector;
    settings.sectorWidthSector = 200;
    settings.trainSector = 250;
    MoveModeSettingsIntoCommand(settings, message);
    EXPECT_EQ(message[CommandMessage::kSectorWidth], 60);
    EXPECT_EQ(message[CommandMessage::kTrain], 60);
    EXPECT_EQ(settings.sectorWidthSector, 60);
    EXPECT_EQ(settings.trainSector, 60);

    settings.sectorMode = DisplayMode::Polar;
    settings.sectorWidthPolar = 121;
    LoadModeGeometry(settings, message);
    EXPECT_EQ(message[CommandMessage::kSectorWidth], 120);
}

TEST_F(SettingsRules, TrainAngleFollowsOrientation)
{
    message[CommandMessage::kTrain] = 60;
    settings.sonarUpDown = 0;
    RecomputeTrainAngle(settings, message);
    EXPECT_EQ(settings.trainAngleDegrees, 0);
    settings.sonarUpDown = 1;
    RecomputeTrainAngle(settings, message);
    EXPECT_EQ(settings.trainAngleDegrees, 360);
}

TEST(SettingsRulesAuto, AutomaticValuesOnlyWhenAutoSettingsIsOn)
{
    CommandMessage message;
    SonarSettings settings;
    InitialiseCommandMessage(message, settings);
    settings.rangeIndex = 13;

    settings.autoSettings = 0;
    ApplyAutomaticValues(message, settings);
    EXPECT_EQ(message[CommandMessage::kFrequency], 165);
    EXPECT_EQ(settings.frequency, 165);

    settings.autoSettings = 1;
    ApplyAutomaticValues(message, settings);
    EXPECT_EQ(message[CommandMessage::kFrequency], 27);
    EXPECT_EQ(message[CommandMessage::kAbsorption], 10);
    EXPECT_EQ(message[CommandMessage::kPulseLength], 40);
    EXPECT_EQ(settings.frequency, 27);
    EXPECT_EQ(settings.absorption, 10);
    EXPECT_EQ(settings.pulseLength, 40);

    settings.rangeIndex = -3; // a bad index reads the default row, never outside the table
    ApplyAutomaticValues(message, settings);
    EXPECT_EQ(message[CommandMessage::kPulseLength], 8);
}

} // namespace
} // namespace velmaris
