// Decodes arbitrary bytes as a record header (cut or zero-padded to 100
// bytes), then encodes a record from the decoded state and decodes that again.
#include "protocol/RecordHeader.h"

#include <algorithm>
#include <array>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    std::array<std::uint8_t, kRecordHeaderSize> header {};
    std::copy_n(data, std::min(size, header.size()), header.begin());

    PingRecord ping;
    CommandMessage command;
    SonarSettings settings;
    DecodeRecordHeader(header, ping, command, settings);

    // The reply header and kind follow the record header when present.
    for (std::size_t i = 0; i < ping.replyHeader.size() && kRecordHeaderSize + i < size; ++i)
        ping.replyHeader[i] = data[kRecordHeaderSize + i];
    ping.replyKind.assign(reinterpret_cast<const char*>(ping.replyHeader.data()), 3);

    const std::span<const std::uint8_t> echo(
        data + std::min(size, kRecordPrefixSize), size - std::min(size, kRecordPrefixSize));
    const std::vector<std::uint8_t> record
        = EncodeRecord(ping, command, settings, echo, RecordTag(SonarType::SerialK52A, false, SonarType::SerialK52A));
    if (record.size() != 384 && record.size() != 640 && record.size() != 128)
        __builtin_trap();
    if (((record[4] << 8) | record[5]) != static_cast<int>(record.size()))
        __builtin_trap();

    PingRecord again;
    DecodeRecordHeader(std::span<const std::uint8_t, kRecordHeaderSize>(record.data(), kRecordHeaderSize),
        again, command, settings);
    if (again.recordLength != static_cast<int>(record.size()))
        __builtin_trap();
    return 0;
}
