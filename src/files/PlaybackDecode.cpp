#include "files/PlaybackDecode.h"

namespace velmaris {

RecordedPing AsRecordedPing(const RecordFrame& frame)
{
    return RecordedPing {frame.header, frame.replyHeader, std::span(frame.body.data(), frame.bodySize)};
}

RecordDecodeResult DecodePlaybackRecord(SonarState& state, const RecordFrame& frame)
{
    return TakeRecordedPing(state, AsRecordedPing(frame), ReplyContext {true, false});
}

RecordDecodeResult TakeRecordedPing(
    SonarState& state, const RecordedPing& record, const ReplyContext& context)
{
    RecordDecodeResult result
        = DecodeRecordedPing(record, state.ping, state.command, state.settings, context);
    if (result.effects.clearRaster)
        ClearImage(state.raster);
    if (!result.valid)
        return result;
    if (result.rangeChanged) {
        // Live, a range change resets the picture before the next reply, so
        // that reply's own profile point survives; here the reply is already
        // decoded, so its pair is put back after the reset.
        const ProfileEntry own = state.ping.profileHistory.back();
        ResetImage(state);
        state.ping.profileHistory.back() = own;
        result.effects.fullRedraw = true;
    }
    CopyIntoEchoBuffer(record.body, state.history.l0);
    return result;
}

} // namespace velmaris
