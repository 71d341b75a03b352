#include "controls/ControlTexts.h"

#include <gtest/gtest.h>

#include <clocale>

namespace velmaris {
namespace {

TEST(ControlTextsTest, FormatsOfEveryField)
{
    EXPECT_EQ(RangeText(5, 0), "10 m");
    EXPECT_EQ(RangeText(5, 1), "30 ft");
    EXPECT_EQ(RangeText(14, 1), "600 ft");
    EXPECT_EQ(RangeText(14, 2), "200 m"); // only 1 means feet
    EXPECT_EQ(GainText(40), "40 dB");
    EXPECT_EQ(DegreesText(357), "357 deg.");
    EXPECT_EQ(FrequencyText(21), "280 kHz");
    EXPECT_EQ(FrequencyText(185), "1100 kHz");
    EXPECT_EQ(AbsorptionText(20), "0.20 dB/m");
    EXPECT_EQ(AbsorptionText(255), "2.55 dB/m");
    EXPECT_EQ(AbsorptionText(0), "0.00 dB/m");
    EXPECT_EQ(PulseLengthText(100), "1000 usec");
    EXPECT_EQ(SwitchDelayText(100), "100 ms");
}

TEST(ControlTextsTest, StepAndModeNames)
{
    EXPECT_EQ(SpeedText(kStepNone), "None");
    EXPECT_EQ(SpeedText(kStepSlow), "Slow");
    EXPECT_EQ(SpeedText(kStepFaster), "Faster");
    EXPECT_EQ(SpeedText(kStepUnassigned), "Fastest"); // 5 goes out as 8
    EXPECT_EQ(SpeedText(kStepFastest), "Fastest");
    EXPECT_EQ(SpeedText(6), "6");
    EXPECT_EQ(ModeText(DisplayMode::Sector), "Sector");
    EXPECT_EQ(ModeText(DisplayMode::Polar), "Polar");
    EXPECT_EQ(ModeText(DisplayMode::SideScan), "SideScan");
}

TEST(ControlTextsTest, DecimalPointIgnoresTheDesktopLocale)
{
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before != nullptr ? before : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        std::setlocale(LC_NUMERIC, "C"); // no such locale here: still checks the format
    EXPECT_EQ(AbsorptionText(125), "1.25 dB/m");
    EXPECT_EQ(FixedText(1599.95, 1), "1600.0");
    EXPECT_EQ(FixedText(5e93, 1).size(), 96u); // a typed 5e93 still has a text
    EXPECT_EQ(FixedText(-1.7976931348623157e308, 2).size(), 313u);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ControlTextsTest, SharedFieldsComeFromSettingsAndCommand)
{
    SonarSettings settings;
    CommandMessage message;
    InitialiseCommandMessage(message, settings);
    settings.rangeIndex = 14;
    settings.metricScale = 1;
    settings.gain = 12;
    settings.sectorMode = DisplayMode::SideScan;
    settings.trainAngleDegrees = 180;
    message[CommandMessage::kSectorWidth] = 40;
    message[CommandMessage::kTrain] = 0;
    message[CommandMessage::kStep] = kStepFastest;

    const auto views = SharedFieldViews(settings, message);
    EXPECT_EQ(views[kFieldRange].text, "600 ft");
    EXPECT_EQ(views[kFieldRange].upper, 14);
    EXPECT_EQ(views[kFieldRange].position, 14);
    EXPECT_EQ(views[kFieldGain].text, "12 dB");
    EXPECT_EQ(views[kFieldSector].text, "120 deg.");
    EXPECT_EQ(views[kFieldSector].position, 40);
    EXPECT_EQ(views[kFieldTrain].text, "180 deg.");
    EXPECT_EQ(views[kFieldTrain].position, 0);
    EXPECT_EQ(views[kFieldSpeed].text, "Fastest");
    EXPECT_EQ(views[kFieldSpeed].lower, 1);
    EXPECT_EQ(views[kFieldSpeed].upper, 5);
    EXPECT_EQ(views[kFieldMode].text, "SideScan");
    EXPECT_EQ(views[kFieldMode].position, 2);
}

TEST(ControlTextsTest, ManualSetupUsesCommandTextsAndSettingPositions)
{
    SonarSettings settings;
    CommandMessage message;
    InitialiseCommandMessage(message, settings);
    settings.frequency = 30;
    message[CommandMessage::kFrequency] = 40; // text follows the command byte
    settings.absorption = 254;
    message[CommandMessage::kPulseLength] = 7;
    message[CommandMessage::kSwitchDelay] = 36;
    settings.autoSettings = 1;

    ManualSetupView view = ManualSetupViewOf(settings, message);
    EXPECT_EQ(view.frequency.text, "375 kHz");
    EXPECT_EQ(view.frequency.position, 9);
    EXPECT_EQ(view.frequency.upper, 165);
    EXPECT_EQ(view.absorption.text, "2.54 dB/m");
    EXPECT_EQ(view.pulseLength.text, "70 usec");
    EXPECT_EQ(view.pulseLength.lower, 1);
    EXPECT_EQ(view.switchDelay.text, "36 ms");
    EXPECT_EQ(view.switchDelay.position, 18);
    EXPECT_EQ(view.switchDelay.upper, 50);
    EXPECT_FALSE(view.enableChecked);
    EXPECT_FALSE(view.manualFieldsEnabled);

    settings.autoSettings = 0;
    view = ManualSetupViewOf(settings, message);
    EXPECT_TRUE(view.enableChecked);
    EXPECT_TRUE(view.manualFieldsEnabled);
}

} // namespace
} // namespace velmaris
