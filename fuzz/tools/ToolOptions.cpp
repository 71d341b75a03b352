// Any argument list for the tool's subcommands: the input's lines are the
// arguments, parsed with the option sets the subcommands use (the first
// byte chooses one), then the simulated ping options, whole numbers and the
// simulated head's addresses taken from the values as the subcommands take
// them. An address that parses is always a loopback one.
#include "Options.h"
#include "SimOptions.h"
#include "sim/LoopbackAddress.h"

#include "FuzzLines.h"
#include <array>
#include <cstdio>
#include <set>

#include <string>
#include <vector>

namespace {

struct OptionSet {
    std::set<std::string> valued;
    std::set<std::string> switches;
    std::set<std::string> optionalValue;
};

const std::array<OptionSet, 4>& OptionSets()
{
    static const std::array<OptionSet, 4> sets {{
        {{"--ini"}, {"--help"}, {}},
        {{"--out", "--ini", "--crop"}, {"--raw", "--help"}, {}},
        {{"--baud", "--selection", "--tick-bytes"}, {"--help", "-h"}, {}},
        {{"--mode", "--range", "--step", "--gain", "--tcp", "--udp", "--faults", "--rate", "--seed"},
            {"--fast", "--log", "--help", "-h"}, {"--pty"}},
    }};
    return sets;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris::tool;
    if (size == 0)
        return 0;
    static std::FILE* quiet = [] { // the ping options print their complaints
        std::FILE* null = std::fopen("/dev/null", "w");
        if (null != nullptr)
            stderr = null;
        return null;
    }();
    (void)quiet;
    std::vector<std::string> args = velmaris::fuzz::SplitLines(data + 1, size - 1);

    const OptionSet& set = OptionSets()[data[0] % OptionSets().size()];
    const ParsedOptions parsed = ParseOptions(args, set.valued, set.switches, set.optionalValue);
    if (parsed.error.empty() != parsed.errorArgument.empty())
        __builtin_trap();
    for (const auto& [name, value] : parsed.values)
        if (set.valued.count(name) == 0 && set.optionalValue.count(name) == 0)
            __builtin_trap();

    velmaris::sim::SimCommandSettings settings;
    if (ApplyPingOptions("fuzz", parsed, settings)) {
        if (settings.rangeMetres < 1 || settings.rangeMetres > 200 || settings.step < 1 || settings.step > 8
            || settings.gain < 0 || settings.gain > 40)
            __builtin_trap();
    }
    for (const char* name : {"--tcp", "--udp"}) {
        if (const auto address = parsed.Value(name)) {
            velmaris::sim::LoopbackEndpoint endpoint;
            std::string error;
            if (velmaris::sim::ParseLoopbackEndpoint(*address, 4040, endpoint, &error)) {
                if (!velmaris::sim::IsLoopbackHost(endpoint.host) || endpoint.length == 0)
                    __builtin_trap();
            } else if (error.empty()) {
                __builtin_trap();
            }
        }
    }
    for (std::size_t i = 0; i < args.size(); ++i)
        ParsePingOption("fuzz", args, i, settings);
    for (const std::string& arg : args) {
        ParseWholeNumber(arg);
        long long number = 0;
        if (ParseInteger(arg, 0, 1000, number) && (number < 0 || number > 1000))
            __builtin_trap();
    }
    return 0;
}
