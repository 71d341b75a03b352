#include "settings/SettingsOperations.h"

#include "protocol/PairedSettings.h"
#include "protocol/Units.h"
#include "settings/SettingsRules.h"

#include <algorithm>

namespace velmaris {

namespace {

constexpr int kMaxGain = 40;
constexpr int kMaxTrainCode = 120;
constexpr int kFullCircle = 120; // sector width, units of 3 degrees
constexpr int kMaxWidthSector = 60;
constexpr int kTrainAhead = 60;

std::uint8_t Byte(int value)
{
    return static_cast<std::uint8_t>(value);
}

} // namespace

SettingsOperations::SettingsOperations(
    SonarSettings& settings, CommandMessage& message, DocumentFlags& flags, SettingsHost& host)
    : settings_(settings)
    , message_(message)
    , flags_(flags)
    , host_(host)
{ }

void SettingsOperations::ApplySettings()
{
    // The mini bar shows the normalised step; the panel shows the automatic
    // values of the current range.
    NormaliseStep();
    host_.RefreshMiniSettingsBar();
    RefreshSettingsPanel();
    flags_.statusResetRequest = true;
    if (flags_.rangeChanged) {
        host_.ClearImageAndHistory();
        flags_.rangeChanged = false;
    }
    // While connected the next reply repaints anyway.
    if (!host_.IsLinkConnected())
        host_.RepaintAllViews();
}

void SettingsOperations::RefreshSettingsPanel()
{
    if (!host_.SettingsPanelExists())
        return;
    ApplyAutomaticValues();
    host_.RefreshSettingsPanel();
}

// --- Range ---

void SettingsOperations::StoreRangeIndex(int index)
{
    settings_.rangeIndex = index;
    const std::uint8_t metres = Byte(RangeMetresForIndex(index));
    WriteRange(settings_, message_, metres);
    flags_.rangeChanged = true;
}

void SettingsOperations::StepRange(int delta)
{
    if (Blocked())
        return;
    const int index = std::clamp(settings_.rangeIndex + delta, 0, kRangeCount - 1);
    if (index == settings_.rangeIndex)
        return;
    StoreRangeIndex(index);
    ApplyAutomaticValues();
    NormaliseStep();
    ApplySettings();
}

void SettingsOperations::SetRangeFromSlider(int position)
{
    if (Blocked())
        return;
    StoreRangeIndex(std::clamp(position, 0, kRangeCount - 1));
    ApplyAutomaticValues();
    NormaliseStep();
    ApplySettings();
}

void SettingsOperations::SetRangeKeyIn(int value)
{
    if (Blocked() || value < 0)
        return;
    if (settings_.metricScale == 1)
        value = MetresForShownFeet(value);
    const int index = RangeIndexForMetres(value);
    if (index == settings_.rangeIndex)
        return;
    StoreRangeIndex(index);
    ApplySettings();
}

// --- Gain ---

void SettingsOperations::StepGain(int delta)
{
    if (Blocked())
        return;
    const int gain = std::clamp(settings_.gain + delta, 0, kMaxGain);
    if (gain == message_[CommandMessage::kGain])
        return;
    WriteGain(settings_, message_, Byte(gain));
    ApplySettings();
}

void SettingsOperations::SetGain(int value)
{
    if (Blocked() || value < 0 || value == message_[CommandMessage::kGain])
        return;
    WriteGain(settings_, message_, Byte(std::min(value, kMaxGain)));
    ApplySettings();
}

// --- Sector width ---

void SettingsOperations::StepSectorWidth(int delta)
{
    if (Blocked() || settings_.sectorMode == DisplayMode::SideScan)
        return;
    int width = std::max(message_[CommandMessage::kSectorWidth] + delta, 0);
    if (settings_.sectorMode == DisplayMode::Polar) {
        width = std::min(width, kFullCircle);
        settings_.sectorWidthPolar = Byte(width);
    } else {
        width = std::min(width, kMaxWidthSector);
        settings_.sectorWidthSector = Byte(width);
    }
    message_[CommandMessage::kSectorWidth] = Byte(width);
    if (width == kFullCircle) {
        // A full circle has no train: look straight ahead.
        message_[CommandMessage::kTrain] = kTrainAhead;
        settings_.trainPolar = kTrainAhead;
        RecomputeTrainAngle(settings_, message_);
    }
    StorePerMode();
    ApplySettings();
}

void SettingsOperations::SetSectorWidth(int degrees)
{
    if (Blocked() || settings_.sectorMode == DisplayMode::SideScan || degrees < 0)
        return;
    int width = CodeForDegrees(degrees);
    if (width == message_[CommandMessage::kSectorWidth])
        return;
    width = std::min(width, settings_.sectorMode == DisplayMode::Polar ? kFullCircle : kMaxWidthSector);
    message_[CommandMessage::kSectorWidth] = Byte(width);
    StorePerMode();
    ApplySettings();
}

// --- Train ---

void SettingsOperations::SetTrainCode(int code)
{
    message_[CommandMessage::kTrain] = Byte(code);
    RecomputeTrainAngle(settings_, message_);
    StorePerMode();
    ApplySettings();
}

void SettingsOperations::StepTrain(int delta)
{
    if (Blocked() || message_[CommandMessage::kSectorWidth] >= kFullCircle)
        return;
    int code = message_[CommandMessage::kTrain] + (settings_.sonarUpDown == 1 ? -delta : delta);
    if (code < 0)
        code = kMaxTrainCode;
    else if (code > kMaxTrainCode)
        code = 0;
    SetTrainCode(code);
}

void SettingsOperations::SetTrain(int degrees)
{
    if (Blocked() || degrees < 0)
        return;
    // Bound: an angle of a full turn or more is taken round the circle, so the
    // code stays within 0..119.
    const int b = CodeForDegrees(degrees % 360);
    const int code = b > 59 ? b - 60 : b + 60;
    if (code == message_[CommandMessage::kTrain])
        return;
    SetTrainCode(code);
}

// --- Speed ---

void SettingsOperations::StepSpeed(int delta)
{
    if (Blocked() || settings_.sectorMode == DisplayMode::SideScan)
        return;
    const int a = message_[CommandMessage::kStep] + delta;
    const int metres = RangeMetresForIndex(settings_.rangeIndex);
    int step;
    if (settings_.sonarType != SonarType::EthernetK52L || metres > 5) {
        if (a > kStepUnassigned && a < kStepFastest) // a step down from Fastest
            step = kStepFaster;
        else if (a >= kStepUnassigned)
            step = kStepFastest;
        else if (a <= 1)
            step = kStepSlow;
        else
            step = a;
    } else {
        // The K52L cannot step fast at short range.
        step = (a < 2 || metres < 5) ? kStepSlow : kStepMedium;
    }
    message_[CommandMessage::kStep] = Byte(step);
    settings_.stepSize = Byte(step);
    ApplySettings();
}

// --- Display mode ---

void SettingsOperations::StepMode(int delta)
{
    if (Blocked())
        return;
    StorePerMode();
    const int code = std::clamp(
        CodeOf(settings_.sectorMode) + delta, CodeOf(DisplayMode::Sector), CodeOf(DisplayMode::SideScan));
    settings_.sectorMode = DisplayModeForCode(code).value_or(settings_.sectorMode);
    LoadModeGeometry(settings_, message_);
    if (settings_.sectorMode == DisplayMode::SideScan) {
        message_[CommandMessage::kStep] = kStepNone;
    } else {
        message_[CommandMessage::kStep] = settings_.stepSize;
        NormaliseStep();
    }
    RecomputeTrainAngle(settings_, message_);
    flags_.rangeChanged = true; // the image is cleared even when the mode stayed
    ApplySettings();
}

void SettingsOperations::SelectSectorOrPolar(DisplayMode mode)
{
    if (Blocked())
        return;
    StorePerMode();
    if (settings_.sectorMode != mode)
        host_.ClearImageRaster();
    settings_.sectorMode = mode;
    LoadModeGeometry(settings_, message_);
    message_[CommandMessage::kStep] = settings_.stepSize;
    RecomputeTrainAngle(settings_, message_);
    if (message_[CommandMessage::kStep] == kStepNone) {
        message_[CommandMessage::kStep] = kStepSlow;
        settings_.stepSize = kStepSlow;
    }
    flags_.viewRecentreRequest = true;
    ApplySettings();
}

void SettingsOperations::SelectSector()
{
    SelectSectorOrPolar(DisplayMode::Sector);
}

void SettingsOperations::SelectPolar()
{
    SelectSectorOrPolar(DisplayMode::Polar);
}

void SettingsOperations::SelectSideScan()
{
    if (Blocked())
        return;
    StorePerMode();
    if (settings_.sectorMode != DisplayMode::SideScan)
        host_.ClearImageRaster();
    settings_.sectorMode = DisplayMode::SideScan;
    message_[CommandMessage::kStep] = kStepNone;
    LoadModeGeometry(settings_, message_);
    RecomputeTrainAngle(settings_, message_);
    flags_.rangeChanged = true;
    flags_.viewRecentreRequest = true;
    ApplySettings();
}

void SettingsOperations::SetOrientation(int sonarUpDown)
{
    if (Blocked())
        return;
    settings_.sonarUpDown = sonarUpDown != 0 ? 1 : 0;
    host_.ClearImageRaster();
    RecomputeTrainAngle(settings_, message_);
    ApplySettings();
}

// --- Manual set-up ---

void SettingsOperations::StepFrequency(int delta)
{
    if (Blocked())
        return;
    const auto code = Byte(std::clamp(settings_.frequency + delta, 21, 185));
    WriteFrequency(settings_, message_, code);
    RefreshSettingsPanel();
}

void SettingsOperations::StepAbsorption(int delta)
{
    if (Blocked())
        return;
    int a = std::clamp(settings_.absorption + delta, 0, 255);
    // 253 is never produced; stepping jumps over it in the direction of
    // travel, so 254 and 255 can be left downwards.
    if (a == 253)
        a = delta < 0 ? 252 : 254;
    WriteAbsorption(settings_, message_, Byte(a));
    RefreshSettingsPanel();
}

void SettingsOperations::StepPulseLength(int delta)
{
    if (Blocked())
        return;
    const auto p = Byte(std::clamp(settings_.pulseLength + delta, 1, 100));
    WritePulseLength(settings_, message_, p);
    RefreshSettingsPanel();
}

void SettingsOperations::StepSwitchDelay(int delta)
{
    if (Blocked())
        return;
    const int halves = std::clamp(message_[CommandMessage::kSwitchDelay] / 2 + delta, 0, 50);
    message_[CommandMessage::kSwitchDelay] = Byte(2 * halves);
    RefreshSettingsPanel();
}

void SettingsOperations::ToggleManualSetup()
{
    if (Blocked())
        return;
    settings_.autoSettings = settings_.autoSettings == 1 ? 0 : 1;
    RefreshSettingsPanel(); // loads the automatic values at once when switched on
}

// --- Rules on the held objects ---

void SettingsOperations::ApplyAutomaticValues()
{
    velmaris::ApplyAutomaticValues(message_, settings_);
}

void SettingsOperations::StorePerMode()
{
    velmaris::StorePerMode(settings_, message_);
}

void SettingsOperations::NormaliseStep()
{
    velmaris::NormaliseStep(settings_, message_);
}

} // namespace velmaris
