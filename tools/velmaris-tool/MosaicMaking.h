#pragma once
// `velmaris-tool mosaic`: a recording and its track made into a mosaic
// file. Two passes over the records (--from-ping, --count): the first finds
// where the pings reach and the finest sample spacing, the second places
// every sample in the grid (station/MosaicSurvey); then the writer writes
// the file. Messages go to standard error, a progress bar too on a
// terminal.

#include "ToolRequests.h"

#include "station/MosaicFiles.h"

#include <cstdint>

namespace velmaris::tool {

struct MosaicOutcome {
    std::int64_t pings = 0; // placed
    MosaicFrame frame;
    std::size_t tiles = 0; // of the grid, in use
};

// The exit status (kExitOk, or kExitFailure with the message printed).
int MakeMosaic(const MosaicRequest& request, const MosaicWriter& writer, MosaicOutcome* outcome = nullptr);

} // namespace velmaris::tool
