// velmaris-tool synth: writes a recording of a simulated dive, no network.

#include "Subcommand.h"
#include "sim/SyntheticRecording.h"

#include <cstdio>

namespace velmaris::tool {

int Run(const SynthRequest& request)
{
    const std::string& out = request.out;
    const sim::SynthOptions& options = request.options;
    std::string error;
    if (!sim::WriteSyntheticRecording(out, options, &error)) {
        std::fprintf(stderr, "velmaris-tool synth: %s\n", error.c_str());
        return kExitFailure;
    }
    std::printf("wrote %d pings to %s\n", options.pings, out.c_str());
    return kExitOk;
}

} // namespace velmaris::tool
