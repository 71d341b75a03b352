#include "files/RecordDecode.h"

#include <algorithm>

namespace velmaris {

RecordDecodeResult DecodeRecordedPing(const RecordedPing& record, PingRecord& ping, CommandMessage& command,
    SonarSettings& settings, const ReplyContext& context)
{
    RecordDecodeResult result;
    const std::uint8_t rangeBefore = command[CommandMessage::kRange];
    result.effects = DecodeRecordHeader(record.header, ping, command, settings);
    std::copy(record.replyHeader.begin(), record.replyHeader.end(), ping.replyHeader.begin());
    result.valid = DecodeReplyHeader(ping, command, settings, context);
    if (!result.valid)
        return result;
    result.rangeChanged = command[CommandMessage::kRange] != rangeBefore;
    return result;
}

} // namespace velmaris
