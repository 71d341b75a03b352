// velmaris-tool synth: writes a recording of a simulated dive, no network.

#include "SimOptions.h"
#include "Subcommand.h"
#include "sim/SyntheticRecording.h"

#include <cstdio>

namespace velmaris::tool {

namespace {

void Usage(std::FILE* out)
{
    std::fprintf(out,
        "usage: velmaris-tool synth OUT [--pings N] [--mode sector|polar|sidescan] [--range M] [--step S]\n"
        "                           [--gain G] [--seed N]\n"
        "  OUT ending in .52a writes serial-head (K52A) records, .52l Ethernet-head (K52L) records.\n"
        "  Defaults: 400 pings, polar, 30 m, step 3, gain 20 dB, seed 1. The same options give the same "
        "file.\n");
}

int Run(const std::vector<std::string>& args)
{
    sim::SynthOptions options;
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            Usage(stdout);
            return kExitOk;
        }
        const int taken = ParsePingOption("synth", args, i, options.command);
        if (taken < 0)
            return kExitUsage;
        if (taken > 0)
            continue;
        long long number = 0;
        if ((a == "--pings" || a == "--seed") && i + 1 < args.size()) {
            const bool pings = a == "--pings";
            if (!ParseInteger(args[++i], pings ? 1 : 0, pings ? 1000000 : (1LL << 62), number)) {
                std::fprintf(stderr, "velmaris-tool synth: bad value for %s\n", a.c_str());
                return kExitUsage;
            }
            if (pings)
                options.pings = static_cast<int>(number);
            else
                options.seed = static_cast<std::uint64_t>(number);
        } else if (!a.empty() && a[0] != '-' && out.empty()) {
            out = a;
        } else {
            std::fprintf(stderr, "velmaris-tool synth: unexpected argument '%s'\n", a.c_str());
            Usage(stderr);
            return kExitUsage;
        }
    }
    if (out.empty()) {
        Usage(stderr);
        return kExitUsage;
    }
    if (sim::TagForFileName(out).empty()) {
        std::fprintf(stderr, "velmaris-tool synth: '%s' must end in .52a or .52l\n", out.c_str());
        return kExitUsage;
    }
    std::string error;
    if (!sim::WriteSyntheticRecording(out, options, &error)) {
        std::fprintf(stderr, "velmaris-tool synth: %s\n", error.c_str());
        return kExitFailure;
    }
    std::printf("wrote %d pings to %s\n", options.pings, out.c_str());
    return kExitOk;
}

const Subcommand::Registrar registrar({"synth",
    "synth OUT [--pings N] [--mode M] [--range M] ...  write a synthetic recording (.52a/.52l)", Run});

} // namespace
} // namespace velmaris::tool
