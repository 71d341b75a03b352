#pragma once
// Decoding one recorded ping (a data-file record or a UDP datagram) into the
// document's state: the record header first, then the reply header. The
// echo bytes are the caller's to place (after it has acted on the result).

#include "image/ScanLineHistory.h"
#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/RecordHeader.h"
#include "protocol/ReplyMessage.h"
#include "protocol/SonarSettings.h"

#include <cstdint>
#include <span>

namespace velmaris {

struct RecordedPing {
    std::span<const std::uint8_t, kRecordHeaderSize> header;
    std::span<const std::uint8_t, 12> replyHeader;
    std::span<const std::uint8_t> body; // echo bytes and padding, already bounded by the caller
};

struct RecordDecodeResult {
    RecordHeaderEffects effects; // mode change: clear the raster; full redraw
    bool valid = false; // the reply header decoded; the ping may be painted and counted
    bool rangeChanged = false; // the ping's range differs from the one in force before it
};

RecordDecodeResult DecodeRecordedPing(const RecordedPing& record, PingRecord& ping, CommandMessage& command,
    SonarSettings& settings, const ReplyContext& context);

} // namespace velmaris
