#pragma once
// Parts of the programs that pull in large libraries (GDAL's hundred and
// more, FFmpeg's) are modules of their own, loaded on first use, so that a
// program that never writes a chart or a video starts without them.
//
// A module is looked for beside the program (the build tree), then in the
// installed library folder, then where this build made it (tests and
// benchmarks run from other folders). A loaded module is never unloaded: its
// code serves to the end of the process.
//
// Any thread; the dynamic loader serialises loads itself.

#include <filesystem>
#include <string>

namespace velmaris {

struct ModulePlaces {
    const char* fileName; // "velmaris-gdal.so"
    const char* installed; // relative to the program's folder, "../lib/velmaris/velmaris-gdal.so"
    const char* built; // absolute path in the build tree, or ""
};

// The folder of the running program; empty when the system cannot say.
std::filesystem::path ProgramFolder();

// The first of the places where a regular file exists; "" when none.
std::string FindModule(const ModulePlaces& places);

// Loads the module found by FindModule and returns its entry `symbol`;
// nullptr with the loader's own words in `why` when it is missing, cannot
// be loaded, or lacks the entry.
void* LoadModuleEntry(const ModulePlaces& places, const char* symbol, std::string& why);

} // namespace velmaris
