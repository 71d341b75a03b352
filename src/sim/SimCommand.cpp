#include "sim/SimCommand.h"

#include "protocol/SonarSettings.h"

#include <algorithm>

namespace velmaris::sim {

std::optional<SimMode> ParseSimMode(std::string_view text)
{
    if (text == "sector")
        return SimMode::Sector;
    if (text == "polar")
        return SimMode::Polar;
    if (text == "sidescan")
        return SimMode::SideScan;
    return std::nullopt;
}

DisplayMode SectorModeFor(SimMode mode)
{
    switch (mode) {
    case SimMode::Sector:
        return DisplayMode::Sector;
    case SimMode::Polar:
        return DisplayMode::Polar;
    case SimMode::SideScan:
        return DisplayMode::SideScan;
    }
    return DisplayMode::Polar;
}

CommandMessage BuildSimCommand(const SimCommandSettings& s)
{
    using CM = CommandMessage;
    CommandMessage c;
    SonarSettings settings;
    InitialiseCommandMessage(c, settings);
    const int range = std::clamp(s.rangeMetres, 1, 255);
    const AutoRow row = settings.automaticTable[static_cast<std::size_t>(RangeIndexForMetres(range))];
    c[CM::kRange] = static_cast<std::uint8_t>(range);
    c[CM::kGain] = static_cast<std::uint8_t>(std::clamp(s.gain, 0, 40));
    c[CM::kFrequency] = row.frequency;
    c[CM::kAbsorption] = row.absorption;
    c[CM::kPulseLength] = row.pulseLength;
    c[CM::kDataPoints] = static_cast<std::uint8_t>(s.dataPoints);
    const auto step = static_cast<std::uint8_t>(std::clamp(s.step, 0, 255));
    switch (s.mode) {
    case SimMode::Sector:
        c[CM::kTrain] = 60;
        c[CM::kSectorWidth] = 60;
        c[CM::kStep] = step;
        break;
    case SimMode::Polar:
        c[CM::kTrain] = 60;
        c[CM::kSectorWidth] = 120;
        c[CM::kStep] = step;
        break;
    case SimMode::SideScan:
        c[CM::kTrain] = 30;
        c[CM::kSectorWidth] = 0;
        c[CM::kStep] = kStepNone;
        break;
    }
    return c;
}

} // namespace velmaris::sim
