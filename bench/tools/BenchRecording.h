#pragma once
// The recordings the tool's benchmarks play: written once per program by the
// simulated heads into the temporary folder, named by the benchmark and the
// process, so runs side by side do not meet.

#include "sim/SyntheticRecording.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace velmaris::tool {

// A file "velmaris-<name>-<pid><suffix>" in the temporary folder.
inline std::filesystem::path BenchPath(const std::string& name, const char* suffix)
{
    return std::filesystem::temp_directory_path()
        / ("velmaris-" + name + "-" + std::to_string(getpid()) + suffix);
}

// Writes the recording `options` describe at BenchPath(name, ".52l") and
// returns its path; a failure is said on standard error.
inline std::string WriteBenchRecording(const std::string& name, const sim::SynthOptions& options)
{
    const std::string path = BenchPath(name, ".52l").string();
    std::string error;
    if (!sim::WriteSyntheticRecording(path, options, &error))
        std::fprintf(stderr, "%s\n", error.c_str());
    return path;
}

} // namespace velmaris::tool
