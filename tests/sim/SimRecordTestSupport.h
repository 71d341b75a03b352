#pragma once
// Decodes records written by the simulators with the station's decoders.

#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/RecordHeader.h"
#include "protocol/ReplyMessage.h"
#include "protocol/SonarSettings.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace velmaris::sim::test {

struct DecodedRecord {
    bool replyValid = false;
    PingRecord ping;
    CommandMessage command;
    SonarSettings settings;
    std::vector<std::uint8_t> echoes;
};

inline DecodedRecord DecodeOneRecord(std::span<const std::uint8_t> record)
{
    DecodedRecord d;
    if (record.size() < kRecordPrefixSize)
        return d;
    DecodeRecordHeader(record.first<kRecordHeaderSize>(), d.ping, d.command, d.settings);
    std::copy_n(record.begin() + kRecordHeaderSize, 12, d.ping.replyHeader.begin());
    d.replyValid = DecodeReplyHeader(d.ping, d.command, d.settings, ReplyContext {.playback = true});
    const std::size_t end
        = std::min<std::size_t>(record.size(), static_cast<std::size_t>(d.ping.recordLength));
    if (end > kRecordPrefixSize)
        d.echoes.assign(
            record.begin() + kRecordPrefixSize, record.begin() + static_cast<std::ptrdiff_t>(end));
    return d;
}

} // namespace velmaris::sim::test
