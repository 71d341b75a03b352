#pragma once
// What the settings panel and the mini settings bar show: the text of every
// value field and the range and position of every spin, computed from the
// settings and the live command message. Pure functions, no windows, so the
// two bars and the tests share one set of formats.
//
// Numbers are formatted without the C locale (a desktop locale with a
// decimal comma must not change "0.20 dB/m").

#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

#include <array>
#include <string>

namespace velmaris {

// One value field and the spin beside it.
struct FieldView {
    std::string text;
    int lower = 0;
    int upper = 0;
    int position = 0;
};

// The six fields both bars share, in this order.
enum SharedField {
    kFieldRange,
    kFieldGain,
    kFieldSector,
    kFieldTrain,
    kFieldSpeed,
    kFieldMode,
    kSharedFieldCount
};

std::string RangeText(int rangeIndex, int metricScale); // "%d m", or "%d ft" (3 x metres) with feet
std::string GainText(int gain); // "%d dB"
std::string DegreesText(int degrees); // "%d deg."
std::string SpeedText(int stepCode); // step name; 5 is shown as the 8 it stands for
std::string ModeText(DisplayMode sectorMode); // "Sector", "Polar", "SideScan"
std::string FrequencyText(int code); // "%d kHz", (code + 35) x 5
std::string AbsorptionText(int hundredths); // "%.2f dB/m"
std::string PulseLengthText(int tens); // "%d usec", 10 x tens
std::string SwitchDelayText(int ms); // "%d ms"

std::array<FieldView, kSharedFieldCount> SharedFieldViews(
    const SonarSettings& settings, const CommandMessage& message);

// The panel's manual frequency set-up. Frequency, absorption and pulse length
// can be changed by hand only with `Auto Settings` off; the switch delay always.
struct ManualSetupView {
    FieldView frequency;
    FieldView absorption;
    FieldView pulseLength;
    FieldView switchDelay;
    bool enableChecked = false; // "Enable": manual set-up
    bool manualFieldsEnabled = false;
};

// Display only: the automatic values, when on, must already be loaded.
ManualSetupView ManualSetupViewOf(const SonarSettings& settings, const CommandMessage& message);

// Fixed-point text with `decimals` digits after the point, always a '.'.
std::string FixedText(double value, int decimals);

} // namespace velmaris
