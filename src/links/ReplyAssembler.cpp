#include "links/ReplyAssembler.h"

#include <algorithm>

namespace velmaris {

std::size_t ReplyAssembler::Feed(std::span<const std::uint8_t> bytes)
{
    const std::size_t count = std::min(bytes.size(), kReplyBufferSize - filled_);
    std::copy_n(bytes.begin(), count, buffer_.begin() + static_cast<std::ptrdiff_t>(filled_));
    filled_ += count;
    return count;
}

} // namespace velmaris
