#pragma once
// Charts (and the other files GDAL writes) come from the module
// velmaris-gdal.so, which links GDAL: loading GDAL's libraries takes tens
// of milliseconds, so the programs load it on the first file that needs it,
// never at start. A build without GDAL (the Windows one) has no module and
// writes CSV alone.
//
// The module's entry returns one GisServices for the version the programs
// were built with, or null for any other.
//
// Any thread; the module is loaded once. The services live to the end of
// the process.

#include "station/ChartFiles.h"

#include <string>

namespace velmaris {

struct GisServices {
    const ChartWriter* charts = nullptr;
};

// Raised whenever GisServices changes, so a stale module is refused.
inline constexpr int kGisServicesVersion = 1;

// The module's entry, exported by velmaris-gdal.so under this name.
inline constexpr const char* kGisModuleEntry = "VelmarisGisServices";
using GisModuleEntry = const GisServices* (*)(int version);

// Whether this build has the module and its file is in place (a look at
// the file system, nothing loaded).
bool GisModuleFound();

// The module's services, loading it on the first call; nullptr with the
// reason in `why` (the same on every later call) when it cannot be loaded.
const GisServices* LoadGisModule(std::string& why);

// A ChartWriter that loads the module on its first write and hands every
// write to the module's; a write fails with the loader's reason when the
// module cannot be loaded. For the programs' "Export Targets..." and
// `track` commands.
const ChartWriter& ModuleChartWriter();

} // namespace velmaris
