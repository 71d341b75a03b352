#include "SimOptions.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace velmaris::tool {

bool ParseInteger(const std::string& text, long long low, long long high, long long& out)
{
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

const std::set<std::string>& PingOptionNames()
{
    static const std::set<std::string> names {"--mode", "--range", "--step", "--gain"};
    return names;
}

int SetPingOption(
    const char* command, const std::string& name, const std::string& value, sim::SimCommandSettings& settings)
{
    if (PingOptionNames().count(name) == 0)
        return 0;
    long long number = 0;
    if (name == "--mode") {
        const auto mode = sim::ParseSimMode(value);
        if (!mode) {
            std::fprintf(stderr, "velmaris-tool %s: --mode must be sector, polar or sidescan\n", command);
            return -1;
        }
        settings.mode = *mode;
    } else if (name == "--range") {
        if (!ParseInteger(value, 1, 200, number)) {
            std::fprintf(stderr, "velmaris-tool %s: --range must be 1 to 200 metres\n", command);
            return -1;
        }
        settings.rangeMetres = static_cast<int>(number);
    } else if (name == "--step") {
        if (!ParseInteger(value, 1, 8, number)) {
            std::fprintf(stderr, "velmaris-tool %s: --step must be a step code 1 to 8\n", command);
            return -1;
        }
        settings.step = static_cast<int>(number);
    } else {
        if (!ParseInteger(value, 0, 40, number)) {
            std::fprintf(stderr, "velmaris-tool %s: --gain must be 0 to 40 dB\n", command);
            return -1;
        }
        settings.gain = static_cast<int>(number);
    }
    return 1;
}

bool ApplyPingOptions(const char* command, const ParsedOptions& options, sim::SimCommandSettings& settings)
{
    for (const char* name : {"--mode", "--range", "--step", "--gain"}) {
        if (const auto value = options.Value(name);
            value && SetPingOption(command, name, *value, settings) < 0)
            return false;
    }
    return true;
}

int ParsePingOption(const char* command, const std::vector<std::string>& args, std::size_t& i,
    sim::SimCommandSettings& settings)
{
    const std::string& name = args[i];
    if (PingOptionNames().count(name) == 0)
        return 0;
    if (i + 1 >= args.size()) {
        std::fprintf(stderr, "velmaris-tool %s: %s needs a value\n", command, name.c_str());
        return -1;
    }
    return SetPingOption(command, name, args[++i], settings);
}

} // namespace velmaris::tool
