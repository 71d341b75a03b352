#pragma once
// One record of a playback (or of `velmaris-tool render`) taken into the
// state, before it is painted: the record header and reply header decoded,
// the raster cleared when the mode changed, the raster and history reset
// when the range changed, and the echo bytes placed in L0.

#include "document/RecordDecode.h"
#include "document/RecordReader.h"
#include "document/SonarState.h"

namespace velmaris {

// Returns the decode result; paint (and record a copy) only when `valid`.
RecordDecodeResult DecodePlaybackRecord(SonarState& state, const RecordFrame& frame);

// The frame as a recorded ping (spans into the frame).
RecordedPing AsRecordedPing(const RecordFrame& frame);

} // namespace velmaris
