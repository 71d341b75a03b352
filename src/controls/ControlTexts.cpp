#include "controls/ControlTexts.h"

#include "protocol/Units.h"

#include <charconv>

namespace velmaris {

std::string FixedText(double value, int decimals)
{
    char buffer[330]; // the longest double in fixed notation, with a few decimals
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc {})
        return "";
    return std::string(buffer, result.ptr);
}

std::string RangeText(int rangeIndex, int metricScale)
{
    const int metres = RangeMetresForIndex(rangeIndex);
    if (metricScale == 1)
        return std::to_string(ShownFeetForMetres(metres)) + " ft";
    return std::to_string(metres) + " m";
}

std::string GainText(int gain)
{
    return std::to_string(gain) + " dB";
}

std::string DegreesText(int degrees)
{
    return std::to_string(degrees) + " deg.";
}

std::string SpeedText(int stepCode)
{
    // The document turns a 5 into 8 before it goes out; show what the head gets.
    stepCode = StepCodeSent(stepCode);
    const std::string name = StepName(stepCode);
    // A code with no name (hand-edited file) is shown as its number.
    return name.empty() ? std::to_string(stepCode) : name;
}

std::string ModeText(DisplayMode sectorMode)
{
    switch (sectorMode) {
    case DisplayMode::Sector:
        return "Sector";
    case DisplayMode::Polar:
        return "Polar";
    case DisplayMode::SideScan:
        return "SideScan";
    }
    return std::to_string(CodeOf(sectorMode));
}

std::string FrequencyText(int code)
{
    return std::to_string(FrequencyKhzForCode(code)) + " kHz";
}

std::string AbsorptionText(int hundredths)
{
    return FixedText(hundredths / 100.0, 2) + " dB/m";
}

std::string PulseLengthText(int tens)
{
    return std::to_string(10 * tens) + " usec";
}

std::string SwitchDelayText(int ms)
{
    return std::to_string(ms) + " ms";
}

std::array<FieldView, kSharedFieldCount> SharedFieldViews(
    const SonarSettings& settings, const CommandMessage& message)
{
    const int width = message[CommandMessage::kSectorWidth];
    const int step = message[CommandMessage::kStep];
    std::array<FieldView, kSharedFieldCount> views;
    views[kFieldRange]
        = {RangeText(settings.rangeIndex, settings.metricScale), 0, kRangeCount - 1, settings.rangeIndex};
    views[kFieldGain] = {GainText(settings.gain), 0, 40, settings.gain};
    views[kFieldSector] = {DegreesText(DegreesForCode(width)), 0, 120, width};
    views[kFieldTrain] = {DegreesText(settings.trainAngleDegrees), 0, 120, message[CommandMessage::kTrain]};
    views[kFieldSpeed] = {SpeedText(step), 1, 5, step};
    views[kFieldMode] = {ModeText(settings.sectorMode), CodeOf(DisplayMode::Sector), CodeOf(DisplayMode::SideScan),
        CodeOf(settings.sectorMode)};
    return views;
}

ManualSetupView ManualSetupViewOf(const SonarSettings& settings, const CommandMessage& message)
{
    const int delay = message[CommandMessage::kSwitchDelay];
    const int pulse = message[CommandMessage::kPulseLength];
    ManualSetupView view;
    view.switchDelay = {SwitchDelayText(delay), 0, 50, delay / 2};
    view.frequency = {FrequencyText(message[CommandMessage::kFrequency]), 0, 165, settings.frequency - 21};
    view.absorption = {AbsorptionText(settings.absorption), 0, 255, settings.absorption};
    view.pulseLength = {PulseLengthText(pulse), 1, 100, pulse};
    view.enableChecked = settings.autoSettings != 1;
    view.manualFieldsEnabled = settings.autoSettings != 1;
    return view;
}

} // namespace velmaris
