#pragma once
// Command-line parsing shared by the simulator subcommands (headsim, synth).

#include "Options.h"
#include "sim/SimCommand.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmaris::tool {

// Whole number in [low, high]; false for anything else.
bool ParseInteger(const std::string& text, long long low, long long high, long long& out);

// The options that set the simulated pings' command: --mode, --range,
// --step, --gain.
const std::set<std::string>& PingOptionNames();

// Sets one of them from its value. Returns 1 when taken, 0 when `name` is
// not one of them, -1 after printing an error for a bad value.
int SetPingOption(const char* command, const std::string& name, const std::string& value,
    sim::SimCommandSettings& settings);

// Sets those given in `options`; false after printing an error.
bool ApplyPingOptions(const char* command, const ParsedOptions& options, sim::SimCommandSettings& settings);

// Handles --mode, --range, --step, --gain at args[i] (advancing i past the
// value). Returns 1 when taken, 0 when the option is not one of these, -1
// after printing an error for a bad value.
int ParsePingOption(const char* command, const std::vector<std::string>& args, std::size_t& i,
    sim::SimCommandSettings& settings);

} // namespace velmaris::tool
