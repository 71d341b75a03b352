#pragma once
// A recorded ping (a playback record, `velmaris-tool render`, or a UDP
// datagram) taken into the state, before it is painted: the record header
// and reply header decoded, the raster cleared when the mode changed, the
// raster and history reset when the range changed (a full redraw; the
// ping's own profile pair is kept, newest after two zero pairs, as live), and
// the echo bytes placed in L0.

#include "files/RecordDecode.h"
#include "files/RecordReader.h"
#include "image/SonarState.h"

namespace velmaris {

// Returns the decode result; paint (and record a copy) only when `valid`.
// `record.body` must already be bounded by what the record really holds.
RecordDecodeResult TakeRecordedPing(
    SonarState& state, const RecordedPing& record, const ReplyContext& context);

// A playback record: TakeRecordedPing with the playback context.
RecordDecodeResult DecodePlaybackRecord(SonarState& state, const RecordFrame& frame);

// The frame as a recorded ping (spans into the frame).
RecordedPing AsRecordedPing(const RecordFrame& frame);

} // namespace velmaris
