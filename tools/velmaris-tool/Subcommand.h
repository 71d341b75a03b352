#pragma once
// Subcommands of velmaris-tool. Each runs in its own file (*Command.cpp)
// from the request its command line made (ToolRequests.h); main.cpp parses
// the command line and runs the one named.

#include "ToolRequests.h"

namespace velmaris::tool {

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // file errors, damaged input that stops the work
inline constexpr int kExitUsage = 2; // bad command line

int Run(const DumpRequest& request);
int Run(const RenderRequest& request);
int Run(const ExportRequest& request);
int Run(const ReplayRequest& request);
int Run(const HeadsimRequest& request);
int Run(const SynthRequest& request);
int Run(const NmeaRequest& request);
int Run(const GpssimRequest& request);
int Run(const TrackRequest& request);
int Run(const MosaicRequest& request);

} // namespace velmaris::tool
