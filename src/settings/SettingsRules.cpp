#include "settings/SettingsRules.h"

#include "protocol/PairedSettings.h"

namespace velmaris {

namespace {

constexpr int kMaxSectorWidthSector = 60;
constexpr int kMaxSectorWidthPolar = 120;
constexpr int kMaxTrainCode = 120;
constexpr int kTrainAhead = 60;

std::uint8_t Limited(int value, int upper)
{
    return static_cast<std::uint8_t>(value > upper ? upper : value);
}

std::uint8_t BoundedTrain(int code)
{
    return static_cast<std::uint8_t>(code > kMaxTrainCode ? kTrainAhead : code);
}

void NormaliseStepK52L(SonarSettings& s, std::uint8_t& step)
{
    const int metres = RangeMetresForIndex(s.rangeIndex);
    if (metres <= 4)
        step = kStepSlow;
    else if (metres == 5 && step > kStepMedium)
        step = kStepMedium;
    if (step == kStepNone)
        step = s.stepSize;
    // "None" is for SideScan only; a stored step of 0 must not stop the head.
    if (step == kStepNone)
        step = kStepSlow;
    s.stepSize = step;
}

} // namespace

void NormaliseStep(SonarSettings& settings, CommandMessage& message)
{
    std::uint8_t& step = message[CommandMessage::kStep];
    step = static_cast<std::uint8_t>(StepCodeSent(step));
    if (settings.sectorMode == DisplayMode::SideScan) {
        step = kStepNone;
        return;
    }
    if (settings.sonarType == SonarType::EthernetK52L)
        NormaliseStepK52L(settings, step);
    else if (step == kStepNone)
        step = kStepSlow;
}

void LoadAutomaticValues(SonarSettings& settings, CommandMessage& message)
{
    int index = settings.rangeIndex;
    if (index < 0 || index >= kRangeCount)
        index = kDefaultRangeIndex;
    const AutoRow& row = settings.automaticTable[static_cast<std::size_t>(index)];
    WriteFrequency(settings, message, row.frequency);
    WriteAbsorption(settings, message, row.absorption);
    WritePulseLength(settings, message, row.pulseLength);
}

void ApplyAutomaticValues(CommandMessage& message, SonarSettings& settings)
{
    if (settings.autoSettings == 1)
        LoadAutomaticValues(settings, message);
}

void StorePerMode(SonarSettings& settings, CommandMessage& message)
{
    const std::uint8_t width = message[CommandMessage::kSectorWidth];
    const std::uint8_t train = message[CommandMessage::kTrain];
    switch (settings.sectorMode) {
    case DisplayMode::Sector:
        settings.sectorWidthSector = width;
        settings.trainSector = train;
        break;
    case DisplayMode::Polar:
        settings.sectorWidthPolar = width;
        settings.trainPolar = train;
        break;
    case DisplayMode::SideScan:
        settings.trainSS = train;
        break;
    default:
        break;
    }
}

void RecomputeTrainAngle(SonarSettings& settings, CommandMessage& message)
{
    settings.trainAngleDegrees = TrainAngleDegreesFor(message[CommandMessage::kTrain], settings.sonarUpDown);
}

void LoadModeGeometry(SonarSettings& settings, CommandMessage& message)
{
    std::uint8_t& width = message[CommandMessage::kSectorWidth];
    std::uint8_t& train = message[CommandMessage::kTrain];
    switch (settings.sectorMode) {
    case DisplayMode::Sector:
        width = Limited(settings.sectorWidthSector, kMaxSectorWidthSector);
        train = BoundedTrain(settings.trainSector);
        break;
    case DisplayMode::Polar:
        width = Limited(settings.sectorWidthPolar, kMaxSectorWidthPolar);
        train = BoundedTrain(settings.trainPolar);
        break;
    case DisplayMode::SideScan:
        width = 0;
        train = BoundedTrain(settings.trainSS);
        break;
    default:
        break;
    }
}

void MoveModeSettingsIntoCommand(SonarSettings& settings, CommandMessage& message)
{
    LoadModeGeometry(settings, message);
    if (settings.sectorMode == DisplayMode::SideScan)
        message[CommandMessage::kStep] = kStepNone;
    StorePerMode(settings, message);
    RecomputeTrainAngle(settings, message);
    NormaliseStep(settings, message);
}

} // namespace velmaris
