#pragma once
// Writes a recording of a simulated dive without any network: pings of a
// seeded head, stamped from a fixed start time at the station's ping period,
// encoded with the station's record encoder. The same options give the same
// file.

#include "sim/SimCommand.h"

#include <cstdint>
#include <string>

namespace velmaris::sim {

struct SynthOptions {
    int pings = 400;
    SimCommandSettings command;
    std::uint64_t seed = 1;
};

// The tag for a file name: "52A" for ".52a", "52L" for ".52l" (case ignored),
// or "" for any other name.
std::string TagForFileName(const std::string& path);

// Writes the file (replacing it). False with a message on any failure,
// including a name without a .52a or .52l extension.
bool WriteSyntheticRecording(const std::string& path, const SynthOptions& options, std::string* error);

} // namespace velmaris::sim
