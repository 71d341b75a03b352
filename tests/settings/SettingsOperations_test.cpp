#include "settings/SettingsOperations.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace velmaris {
namespace {

struct RecordingHost : SettingsHost {
    void RefreshMiniSettingsBar() override { ++miniBarRefreshes; }
    bool SettingsPanelExists() const override { return panelExists; }
    void RefreshSettingsPanel() override { ++panelRefreshes; }
    void ClearImageRaster() override { ++rasterClears; }
    void ClearImageAndHistory() override { ++imageAndHistoryClears; }
    bool IsLinkConnected() const override { return connected; }
    void RepaintAllViews() override { ++repaints; }

    int Calls() const
    {
        return miniBarRefreshes + panelRefreshes + rasterClears + imageAndHistoryClears + repaints;
    }

    bool panelExists = true;
    bool connected = false;
    int miniBarRefreshes = 0;
    int panelRefreshes = 0;
    int rasterClears = 0;
    int imageAndHistoryClears = 0;
    int repaints = 0;
};

class SettingsOperationsTest : public ::testing::Test {
protected:
    void SetUp() override { InitialiseCommandMessage(message, settings); }

    std::uint8_t Byte(std::size_t offset) const { return message[offset]; }
    void Reset() { host = RecordingHost {}; }

    SonarSettings settings;
    CommandMessage message;
    DocumentFlags flags;
    RecordingHost host;
    SettingsOperations ops {settings, message, flags, host};
};

TEST_F(SettingsOperationsTest, ApplySettingsRefreshesClearsAndRepaints)
{
    settings.rangeIndex = 13;
    flags.rangeChanged = 1;
    ops.ApplySettings();
    EXPECT_EQ(host.miniBarRefreshes, 1);
    EXPECT_EQ(host.panelRefreshes, 1);
    EXPECT_EQ(Byte(CommandMessage::kFrequency), 27); // the panel shows the automatic row
    EXPECT_EQ(host.imageAndHistoryClears, 1);
    EXPECT_EQ(flags.rangeChanged, 0);
    EXPECT_EQ(flags.statusResetRequest, 1);
    EXPECT_EQ(host.repaints, 1);

    Reset();
    host.connected = true; // the next ping repaints
    host.panelExists = false;
    settings.rangeIndex = 6;
    ops.ApplySettings();
    EXPECT_EQ(host.panelRefreshes, 0);
    EXPECT_EQ(Byte(CommandMessage::kFrequency), 27); // no panel, no automatic load
    EXPECT_EQ(host.imageAndHistoryClears, 0);
    EXPECT_EQ(host.repaints, 0);
}

TEST_F(SettingsOperationsTest, RangeStepStopsAtTheEndsWithoutApplying)
{
    settings.rangeIndex = 14;
    ops.StepRange(+1);
    EXPECT_EQ(settings.rangeIndex, 14);
    settings.rangeIndex = 0;
    ops.StepRange(-1);
    EXPECT_EQ(settings.rangeIndex, 0);
    EXPECT_EQ(host.Calls(), 0);
    EXPECT_EQ(Byte(CommandMessage::kRange), 30);
}

TEST_F(SettingsOperationsTest, RangeChangeLoadsAutomaticValuesAndClearsTheImage)
{
    settings.rangeIndex = 12; // 100 m
    ops.StepRange(+1);
    EXPECT_EQ(settings.rangeIndex, 13);
    EXPECT_EQ(Byte(CommandMessage::kRange), 150);
    EXPECT_EQ(settings.range, 150);
    EXPECT_EQ(Byte(CommandMessage::kFrequency), 27);
    EXPECT_EQ(Byte(CommandMessage::kAbsorption), 10);
    EXPECT_EQ(Byte(CommandMessage::kPulseLength), 40);
    EXPECT_EQ(settings.frequency, 27);
    EXPECT_EQ(settings.absorption, 10);
    EXPECT_EQ(settings.pulseLength, 40);
    EXPECT_EQ(host.imageAndHistoryClears, 1);

    settings.autoSettings = 0; // manual values survive a range change
    host.panelExists = false;
    ops.StepRange(-1);
    EXPECT_EQ(Byte(CommandMessage::kFrequency), 27);
}

TEST_F(SettingsOperationsTest, RangeSliderFrom20To150MetresAndAlwaysClears)
{
    settings.rangeIndex = 6;
    ops.SetRangeFromSlider(13);
    EXPECT_EQ(settings.frequency, 27);
    EXPECT_EQ(settings.absorption, 10);
    EXPECT_EQ(settings.pulseLength, 40);

    Reset();
    ops.SetRangeFromSlider(99); // limited to the top, already there: still clears
    EXPECT_EQ(settings.rangeIndex, 14);
    EXPECT_EQ(host.imageAndHistoryClears, 1);
    ops.SetRangeFromSlider(14);
    EXPECT_EQ(host.imageAndHistoryClears, 2);
}

TEST_F(SettingsOperationsTest, RangeKeyInMapsMetresAndFeet)
{
    ops.SetRangeKeyIn(7);
    EXPECT_EQ(settings.rangeIndex, 4);
    EXPECT_EQ(Byte(CommandMessage::kRange), 5);
    ops.SetRangeKeyIn(0);
    EXPECT_EQ(settings.rangeIndex, 7);
    ops.SetRangeKeyIn(250);
    EXPECT_EQ(settings.rangeIndex, 14);

    settings.metricScale = 1;
    ops.SetRangeKeyIn(30);
    EXPECT_EQ(settings.rangeIndex, 5);
    EXPECT_EQ(Byte(CommandMessage::kRange), 10);

    Reset();
    ops.SetRangeKeyIn(31); // still 10 m: nothing to apply
    ops.SetRangeKeyIn(-10); // refused
    EXPECT_EQ(settings.rangeIndex, 5);
    EXPECT_EQ(host.Calls(), 0);
}

TEST_F(SettingsOperationsTest, GainStepAndKeyInAreLimitedTo40)
{
    settings.gain = 40;
    message[CommandMessage::kGain] = 40;
    ops.StepGain(+1);
    EXPECT_EQ(host.Calls(), 0);
    ops.StepGain(-1);
    EXPECT_EQ(settings.gain, 39);
    EXPECT_EQ(Byte(CommandMessage::kGain), 39);
    ops.SetGain(99);
    EXPECT_EQ(settings.gain, 40);
    EXPECT_EQ(Byte(CommandMessage::kGain), 40);
    settings.gain = 0;
    message[CommandMessage::kGain] = 0;
    ops.StepGain(-1);
    EXPECT_EQ(Byte(CommandMessage::kGain), 0);
}

TEST_F(SettingsOperationsTest, PolarWidthReachingFullCircleCentresTheTrainAndFreezesIt)
{
    settings.sectorMode = DisplayMode::Polar;
    message[CommandMessage::kSectorWidth] = 119;
    message[CommandMessage::kTrain] = 30;
    ops.StepSectorWidth(+1);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 120);
    EXPECT_EQ(settings.sectorWidthPolar, 120);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 60);
    EXPECT_EQ(settings.trainPolar, 60);
    EXPECT_EQ(settings.trainAngleDegrees, 0);

    ops.StepSectorWidth(+1);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 120);

    Reset();
    ops.StepTrain(+1);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 60);
    EXPECT_EQ(host.Calls(), 0);
}

TEST_F(SettingsOperationsTest, SectorWidthLimitsPerMode)
{
    settings.sectorMode = DisplayMode::Sector;
    message[CommandMessage::kSectorWidth] = 60;
    ops.StepSectorWidth(+1);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 60);
    EXPECT_EQ(settings.sectorWidthSector, 60);
    message[CommandMessage::kSectorWidth] = 0;
    ops.StepSectorWidth(-1);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 0);

    ops.SetSectorWidth(200); // 66 -> limited to 60 in Sector mode
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 60);
    EXPECT_EQ(settings.sectorWidthSector, 60);

    settings.sectorMode = DisplayMode::Polar;
    message[CommandMessage::kTrain] = 30;
    ops.SetSectorWidth(360); // key-in full circle keeps the train
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 120);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 30);
    EXPECT_EQ(settings.sectorWidthPolar, 120);
}

TEST_F(SettingsOperationsTest, TrainWrapsAndFollowsOrientation)
{
    message[CommandMessage::kSectorWidth] = 30;
    message[CommandMessage::kTrain] = 0;
    settings.sectorMode = DisplayMode::Sector;
    ops.StepTrain(-1);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 120);
    EXPECT_EQ(settings.trainSector, 120);
    EXPECT_EQ(settings.trainAngleDegrees, 180);
    ops.StepTrain(+1);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 0);

    settings.sonarUpDown = 1;
    message[CommandMessage::kTrain] = 60;
    ops.StepTrain(+1);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 59);
    EXPECT_EQ(settings.trainAngleDegrees, 3);
}

TEST_F(SettingsOperationsTest, TrainKeyInDegreesStayWithinTheCodeRange)
{
    settings.sectorMode = DisplayMode::Sector;
    message[CommandMessage::kTrain] = 10;
    ops.SetTrain(0);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 60);
    EXPECT_EQ(settings.trainSector, 60);
    ops.SetTrain(180);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 0);
    ops.SetTrain(357);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 59);
    EXPECT_EQ(settings.trainAngleDegrees, 357);
    ops.SetTrain(370); // round the circle: 10 degrees
    EXPECT_EQ(Byte(CommandMessage::kTrain), 63);
    for (int degrees = 0; degrees <= 999; ++degrees) {
        ops.SetTrain(degrees);
        ASSERT_LE(Byte(CommandMessage::kTrain), 120) << degrees;
    }
}

TEST_F(SettingsOperationsTest, SpeedStepsRunThroughTheNamedCodes)
{
    settings.sectorMode = DisplayMode::Polar;
    message[CommandMessage::kStep] = kStepFaster;
    ops.StepSpeed(+1);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepFastest);
    EXPECT_EQ(settings.stepSize, kStepFastest);
    ops.StepSpeed(+1);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepFastest);
    ops.StepSpeed(-1);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepFaster);
    message[CommandMessage::kStep] = kStepSlow;
    ops.StepSpeed(-1);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepSlow); // "None" is never reached
}

TEST_F(SettingsOperationsTest, K52LSpeedAtShortRange)
{
    settings.sonarType = SonarType::EthernetK52L;
    settings.sectorMode = DisplayMode::Sector;
    settings.rangeIndex = 2; // 3 m
    for (int delta : {+1, +1, -1, +1}) {
        ops.StepSpeed(delta);
        EXPECT_EQ(Byte(CommandMessage::kStep), kStepSlow);
    }
    settings.rangeIndex = 4; // 5 m
    for (int i = 0; i < 4; ++i) {
        ops.StepSpeed(+1);
        EXPECT_EQ(Byte(CommandMessage::kStep), kStepMedium);
    }
    ops.StepSpeed(-1);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepSlow);
}

TEST_F(SettingsOperationsTest, SideScanIgnoresWidthAndSpeedButNotTrain)
{
    ops.SelectSideScan();
    Reset();
    const auto before = message.Bytes();
    ops.StepSectorWidth(+1);
    ops.SetSectorWidth(90);
    ops.StepSpeed(+1);
    EXPECT_EQ(message.Bytes(), before);
    EXPECT_EQ(host.Calls(), 0);

    ops.StepTrain(+1);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 31);
    EXPECT_EQ(settings.trainSS, 31);
}

TEST_F(SettingsOperationsTest, SelectModesRestorePerModeGeometryAndStep)
{
    // Polar (the default) with a narrowed sector.
    message[CommandMessage::kSectorWidth] = 90;
    message[CommandMessage::kTrain] = 70;
    settings.trainSector = 40;
    settings.sectorWidthSector = 20;

    ops.SelectSector();
    EXPECT_EQ(settings.sectorMode, DisplayMode::Sector);
    EXPECT_EQ(settings.sectorWidthPolar, 90); // stored on leaving
    EXPECT_EQ(settings.trainPolar, 70);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 20);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 40);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepFast);
    EXPECT_EQ(host.rasterClears, 1);
    EXPECT_EQ(flags.viewRecentreRequest, 1);

    ops.SelectSideScan();
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepNone);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 0);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 30);
    EXPECT_EQ(host.imageAndHistoryClears, 1);
    EXPECT_EQ(settings.stepSize, kStepFast);

    ops.SelectPolar();
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 90);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 70);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepFast);
    EXPECT_EQ(settings.trainAngleDegrees, 30);

    Reset();
    ops.SelectPolar(); // same mode: no raster clear, still applied
    EXPECT_EQ(host.rasterClears, 0);
    EXPECT_EQ(host.miniBarRefreshes, 1);

    settings.stepSize = kStepNone;
    ops.SelectSector();
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepSlow);
    EXPECT_EQ(settings.stepSize, kStepSlow);
}

TEST_F(SettingsOperationsTest, ModeStepRestoresAndAlwaysClears)
{
    settings.sectorWidthSector = 100; // hand-edited: limited to 60 in the command
    settings.trainSector = 45;
    ops.StepMode(-1);
    EXPECT_EQ(settings.sectorMode, DisplayMode::Sector);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 60);
    EXPECT_EQ(Byte(CommandMessage::kTrain), 45);
    EXPECT_EQ(settings.trainPolar, 60);
    EXPECT_EQ(settings.sectorWidthPolar, 120);

    Reset();
    ops.StepMode(-1); // stays Sector, image still cleared
    EXPECT_EQ(settings.sectorMode, DisplayMode::Sector);
    EXPECT_EQ(host.imageAndHistoryClears, 1);

    ops.StepMode(+1);
    ops.StepMode(+1);
    EXPECT_EQ(settings.sectorMode, DisplayMode::SideScan);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepNone);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 0);
    ops.StepMode(+1);
    EXPECT_EQ(settings.sectorMode, DisplayMode::SideScan);

    ops.StepMode(-1);
    EXPECT_EQ(settings.sectorMode, DisplayMode::Polar);
    EXPECT_EQ(Byte(CommandMessage::kStep), kStepFast);
    EXPECT_EQ(Byte(CommandMessage::kSectorWidth), 120);
}

TEST_F(SettingsOperationsTest, OrientationClearsRasterAndFlipsTheTrainAngle)
{
    ops.SetOrientation(1);
    EXPECT_EQ(settings.sonarUpDown, 1);
    EXPECT_EQ(settings.trainAngleDegrees, 360);
    EXPECT_EQ(host.rasterClears, 1);
    EXPECT_EQ(host.miniBarRefreshes, 1);
    ops.SetOrientation(0);
    EXPECT_EQ(settings.trainAngleDegrees, 0);
}

TEST_F(SettingsOperationsTest, ManualSetupStepsClampAndOnlyRefreshThePanel)
{
    settings.autoSettings = 0;
    settings.frequency = 185;
    ops.StepFrequency(+1);
    EXPECT_EQ(settings.frequency, 185);
    EXPECT_EQ(Byte(CommandMessage::kFrequency), 185);
    settings.frequency = 21;
    ops.StepFrequency(-1);
    EXPECT_EQ(Byte(CommandMessage::kFrequency), 21);

    settings.pulseLength = 100;
    ops.StepPulseLength(+1);
    EXPECT_EQ(Byte(CommandMessage::kPulseLength), 100);
    settings.pulseLength = 1;
    ops.StepPulseLength(-1);
    EXPECT_EQ(Byte(CommandMessage::kPulseLength), 1);

    ops.StepSwitchDelay(-1);
    EXPECT_EQ(Byte(CommandMessage::kSwitchDelay), 0);
    message[CommandMessage::kSwitchDelay] = 100;
    ops.StepSwitchDelay(+1);
    EXPECT_EQ(Byte(CommandMessage::kSwitchDelay), 100);
    ops.StepSwitchDelay(-1);
    EXPECT_EQ(Byte(CommandMessage::kSwitchDelay), 98);

    EXPECT_EQ(host.panelRefreshes, 7);
    EXPECT_EQ(host.miniBarRefreshes + host.repaints, 0);
}

TEST_F(SettingsOperationsTest, AbsorptionNeverLandsOn253)
{
    settings.autoSettings = 0;
    settings.absorption = 252;
    ops.StepAbsorption(+1);
    EXPECT_EQ(settings.absorption, 254);
    EXPECT_EQ(Byte(CommandMessage::kAbsorption), 254);
    ops.StepAbsorption(+1);
    ops.StepAbsorption(+1);
    EXPECT_EQ(settings.absorption, 255);
    ops.StepAbsorption(-1);
    ops.StepAbsorption(-1); // skips 253 downwards too, so 254 can be left
    EXPECT_EQ(settings.absorption, 252);
    settings.absorption = 0;
    ops.StepAbsorption(-1);
    EXPECT_EQ(settings.absorption, 0);
}

TEST_F(SettingsOperationsTest, ManualSetupToggleLoadsAutomaticValuesWhenSwitchedOn)
{
    settings.autoSettings = 0;
    settings.rangeIndex = 14;
    settings.frequency = 50;
    ops.StepFrequency(+1);
    EXPECT_EQ(Byte(CommandMessage::kFrequency), 51);
    ops.ToggleManualSetup();
    EXPECT_EQ(settings.autoSettings, 1);
    EXPECT_EQ(Byte(CommandMessage::kFrequency), 27);
    EXPECT_EQ(settings.pulseLength, 53);
    ops.ToggleManualSetup();
    EXPECT_EQ(settings.autoSettings, 0);
}

TEST_F(SettingsOperationsTest, NothingActsDuringPlayback)
{
    flags.playback = true;
    settings.autoSettings = 0;
    message[CommandMessage::kSectorWidth] = 60;
    const SonarSettings settingsBefore = settings;
    const auto bytesBefore = message.Bytes();

    const std::vector<std::function<void()>> operations {
        [&] { ops.StepRange(+1); },
        [&] { ops.SetRangeFromSlider(3); },
        [&] { ops.SetRangeKeyIn(150); },
        [&] { ops.StepGain(+1); },
        [&] { ops.SetGain(12); },
        [&] { ops.StepSectorWidth(-1); },
        [&] { ops.SetSectorWidth(90); },
        [&] { ops.StepTrain(+1); },
        [&] { ops.SetTrain(90); },
        [&] { ops.StepSpeed(+1); },
        [&] { ops.StepMode(-1); },
        [&] { ops.SelectSector(); },
        [&] { ops.SelectPolar(); },
        [&] { ops.SelectSideScan(); },
        [&] { ops.SetOrientation(1); },
        [&] { ops.StepFrequency(+1); },
        [&] { ops.StepAbsorption(+1); },
        [&] { ops.StepPulseLength(+1); },
        [&] { ops.StepSwitchDelay(+1); },
        [&] { ops.ToggleManualSetup(); },
    };
    for (const auto& operation : operations)
        operation();

    EXPECT_EQ(message.Bytes(), bytesBefore);
    EXPECT_EQ(settings.rangeIndex, settingsBefore.rangeIndex);
    EXPECT_EQ(settings.gain, settingsBefore.gain);
    EXPECT_EQ(settings.sectorMode, settingsBefore.sectorMode);
    EXPECT_EQ(settings.sonarUpDown, settingsBefore.sonarUpDown);
    EXPECT_EQ(settings.autoSettings, settingsBefore.autoSettings);
    EXPECT_EQ(settings.frequency, settingsBefore.frequency);
    EXPECT_EQ(settings.absorption, settingsBefore.absorption);
    EXPECT_EQ(settings.stepSize, settingsBefore.stepSize);
    EXPECT_EQ(host.Calls(), 0);
    EXPECT_EQ(flags.rangeChanged + flags.viewRecentreRequest + flags.statusResetRequest, 0);
}

} // namespace
} // namespace velmaris
