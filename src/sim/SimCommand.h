#pragma once
// Command messages a station would send in each display mode, for the
// simulators that ping without a station (UDP sender, synthetic recordings)
// and for tests. Frequency, absorption and pulse length follow the automatic
// per-range table, as with `Auto Settings` on.

#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmaris::sim {

enum class SimMode { Sector, Polar, SideScan };

std::optional<SimMode> ParseSimMode(std::string_view text); // "sector", "polar", "sidescan"
DisplayMode SectorModeFor(SimMode mode); // `Sector Mode`

struct SimCommandSettings {
    SimMode mode = SimMode::Polar;
    int rangeMetres = 30; // taken as is (1..255); the table row is the nearest one below
    int step = 3; // step code for sector and polar; side-scan always sends 0
    int gain = 20;
    int dataPoints = 50; // 50 'IGX', 25 'IMX'
};

// Sector: train 60, width 60 (180 degrees); Polar: train 60, width 120 (full
// circle); SideScan: train 30 (to port), width 0, step 0.
CommandMessage BuildSimCommand(const SimCommandSettings& settings);

} // namespace velmaris::sim
