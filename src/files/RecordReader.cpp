#include "files/RecordReader.h"

#include <algorithm>

namespace velmaris {

int RecordLengthField(std::span<const std::uint8_t, kRecordHeaderSize> header)
{
    return (header[4] << 8) | header[5];
}

RecordStatus ReadRecordFrame(DataFile& file, std::int64_t offset, RecordFrame& frame)
{
    frame.offset = offset;
    frame.recordLength = 0;
    frame.bodySize = 0;
    if (offset < 0 || file.Length() - offset < static_cast<std::int64_t>(kRecordHeaderSize)
        || !file.Seek(offset))
        return RecordStatus::End;
    if (file.Read(frame.header) != frame.header.size())
        return RecordStatus::End;
    frame.recordLength = RecordLengthField(frame.header);
    if (frame.recordLength < static_cast<int>(kRecordPrefixSize)
        || offset + frame.recordLength > file.Length())
        return RecordStatus::Damaged;
    if (file.Read(frame.replyHeader) != frame.replyHeader.size())
        return RecordStatus::Damaged;
    const std::size_t bodyLength = static_cast<std::size_t>(frame.recordLength) - kRecordPrefixSize;
    frame.bodySize = std::min(bodyLength, frame.body.size());
    if (file.Read(std::span(frame.body.data(), frame.bodySize)) != frame.bodySize)
        return RecordStatus::Damaged;
    return RecordStatus::Ok;
}

} // namespace velmaris
