#pragma once
// The station's command line split by QCommandLineParser, with the options
// of StationOptions() and the rules of shell/StationCommandLine.h. Words
// keep their bytes whatever their encoding. Any thread; no QCoreApplication
// needed.

#include "shell/StationCommandLine.h"

#include <string>
#include <vector>

namespace velmaris {

// `args` are the arguments after the program name.
StationCommandLine ParseStationCommandLine(const std::vector<std::string>& args);

} // namespace velmaris
