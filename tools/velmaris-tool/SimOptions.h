#pragma once
// Command-line parsing shared by the simulator subcommands (headsim, synth).

#include "sim/SimCommand.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmaris::tool {

// Whole number in [low, high]; false for anything else.
bool ParseInteger(const std::string& text, long long low, long long high, long long& out);

// Handles --mode, --range, --step, --gain at args[i] (advancing i past the
// value). Returns 1 when taken, 0 when the option is not one of these, -1
// after printing an error for a bad value.
int ParsePingOption(const char* command, const std::vector<std::string>& args, std::size_t& i,
    sim::SimCommandSettings& settings);

} // namespace velmaris::tool
