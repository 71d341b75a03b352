#include "station/PingPipeline.h"

#include "files/PlaybackDecode.h"
#include "files/RecordReader.h"
#include "image/ScanLinePainter.h"
#include "protocol/RecordHeader.h"
#include "protocol/ReplyMessage.h"

#include <algorithm>

namespace velmaris {

int NextPingPeriodMs(LinkState linkState, int rangeMetres, int replyLength, int switchDelayMs)
{
    if (linkState != LinkState::Up)
        return kLinkDownPeriodMs;
    const double travel = static_cast<double>(rangeMetres) * 2.0 / 1.5;
    const double transfer = static_cast<double>(replyLength) / 11.52;
    return static_cast<int>(travel + transfer + static_cast<double>(switchDelayMs) + 0.5);
}

void PingPipeline::StampPing()
{
    velmaris::StampPing(state_.ping, localTime_());
}

ReplyContext PingPipeline::Context() const
{
    return ReplyContext {state_.flags.playback, state_.settings.udpMode != 0};
}

bool PingPipeline::DecodeLiveReply()
{
    const std::size_t received = std::clamp<std::size_t>(
        static_cast<std::size_t>(std::max(acq_.receivedByteCount, 0)), 0, acq_.replyBuffer.size());
    StoreReply(std::span(acq_.replyBuffer.data(), received), state_.ping, state_.history.l0);
    state_.ping.receivedByteCount = static_cast<int>(received);
    const ReplyContext context = Context();
    return DecodeReplyHeader(state_.ping, state_.command, state_.settings, context);
}

bool PingPipeline::RunLive()
{
    StampPing();
    ui_.RefreshStatusLine();

    // No reply: nothing is decoded, recorded, painted or counted; the loop
    // time and the views still move on.
    const bool decoded = !acq_.awaitingReply && DecodeLiveReply();
    if (decoded) {
        if (recorder_.IsRecording()) {
            const auto tag
                = RecordTag(state_.settings.sonarType, state_.flags.playback, SonarType::SerialK52A);
            recorder_.Append(
                EncodeRecord(state_.ping, state_.command, state_.settings, state_.history.l0, tag));
        }
        PaintCurrentPing(state_);
    }

    ui_.RefreshDiagnostics();
    acq_.liveLoop.Measure();
    state_.ping.loopTime = acq_.liveLoop.Milliseconds();
    state_.ping.loopTimeRounded = acq_.liveLoop.Rounded();
    ui_.UpdateAllViews();

    std::uint8_t& step = state_.command[CommandMessage::kStep];
    step = static_cast<std::uint8_t>(StepCodeSent(step));
    const int period = NextPingPeriodMs(acq_.linkState, state_.command[CommandMessage::kRange],
        state_.ping.replyLength, state_.command[CommandMessage::kSwitchDelay]);
    // The one-shot requests of the command were cleared by the cycle when
    // the link reported it sent.
    if (!acq_.held && state_.settings.sonarType == SonarType::SerialK52A)
        timers_.SetTimer(kPingTimer, period);
    return decoded;
}

namespace {

// The datagram (at least a record's prefix long) as a recorded ping.
RecordedPing DatagramRecord(std::span<const std::uint8_t> datagram)
{
    const auto header = datagram.first<kRecordHeaderSize>();
    // Echo bytes follow the record length in the header, but never beyond
    // the datagram (nor, when copied, beyond the echo buffer).
    const int length = RecordLengthField(header);
    const std::size_t claimed = length > static_cast<int>(kRecordPrefixSize)
        ? static_cast<std::size_t>(length) - kRecordPrefixSize
        : 0;
    const std::span<const std::uint8_t> body = datagram.subspan(kRecordPrefixSize);
    return RecordedPing {header, datagram.subspan<kRecordHeaderSize, PingRecord::kReplyHeaderSize>(),
        body.first(std::min(claimed, body.size()))};
}

} // namespace

bool PingPipeline::DatagramWouldClear(std::span<const std::uint8_t> datagram) const
{
    // Decoded on copies: the state stays as it is when the datagram is dropped.
    PingRecord ping = state_.ping;
    CommandMessage command = state_.command;
    SonarSettings settings = state_.settings;
    const ReplyContext context = Context();
    const RecordDecodeResult result
        = DecodeRecordedPing(DatagramRecord(datagram), ping, command, settings, context);
    return result.effects.clearRaster || (result.valid && result.rangeChanged);
}

bool PingPipeline::DecodeDatagram(std::span<const std::uint8_t> datagram)
{
    const ReplyContext context = Context();
    const RecordDecodeResult result = TakeRecordedPing(state_, DatagramRecord(datagram), context);
    if (result.effects.clearRaster || (result.valid && result.rangeChanged))
        clearedForFrame_ = true;
    if (result.effects.fullRedraw)
        acq_.redraw = true;
    if (!result.valid)
        return false;
    acq_.awaitingReply = false;
    return true;
}

void PingPipeline::RunUdp(std::span<const std::uint8_t> datagram, std::size_t trueSize)
{
    const std::size_t length = std::min(datagram.size(), trueSize);
    const bool accepted = trueSize >= kMinUdpDatagram && trueSize <= kMaxUdpDatagram && length == trueSize;
    // The cleared picture has been shown (or is no longer waited for, and
    // not held): the next change may clear again.
    if (!acq_.held && !ui_.FrameAwaited())
        clearedForFrame_ = false;
    if (accepted && clearedForFrame_ && DatagramWouldClear(datagram.first(length))) {
        ++acq_.droppedDatagrams;
        return;
    }
    if (accepted && DecodeDatagram(datagram.first(length))) {
        PaintCurrentPing(state_);
        // The datagram is recorded as it came; one whose record length does
        // not fit inside it (or is shorter than a record's prefix) would
        // break the chain of records in the file and is not written.
        const auto recordLength = static_cast<std::size_t>(std::max(state_.ping.recordLength, 0));
        if (recorder_.IsRecording() && recordLength >= kRecordPrefixSize && recordLength <= length)
            recorder_.Append(datagram.first(recordLength));
    }

    acq_.replayLoop.Measure();
    if (!acq_.held)
        ui_.UpdateAllViews();
    ui_.RefreshStatusLine();
    ui_.RefreshDiagnostics();
}

} // namespace velmaris
