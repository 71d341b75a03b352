#include "RecordCursor.h"

#include <algorithm>

namespace velmaris::tool {

std::span<const std::uint8_t> RecordCursor::WholeRecord(
    const RecordFrame& frame, std::vector<std::uint8_t>& buffer)
{
    const auto length = static_cast<std::size_t>(frame.recordLength);
    buffer.resize(length);
    if (length == kRecordPrefixSize + frame.bodySize) {
        auto out = std::copy(frame.header.begin(), frame.header.end(), buffer.begin());
        out = std::copy(frame.replyHeader.begin(), frame.replyHeader.end(), out);
        std::copy_n(frame.body.begin(), frame.bodySize, out);
        return buffer;
    }
    // Longer than one echo buffer: the frame kept only its first part.
    if (!file_.Seek(frame.offset) || file_.Read(buffer) != length)
        return {};
    return buffer;
}

} // namespace velmaris::tool
