#include "sim/CommandFramer.h"

#include "protocol/CommandMessage.h"
#include "sim/HeadModel.h"

#include <algorithm>

namespace velmaris::sim {

void CommandFramer::Clear()
{
    buffer_.clear();
    discarding_ = false;
}

void CommandFramer::Discard(std::size_t count)
{
    if (!discarding_)
        ++malformed_;
    discarding_ = true;
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
}

std::vector<std::vector<std::uint8_t>> CommandFramer::Feed(std::span<const std::uint8_t> bytes)
{
    std::vector<std::vector<std::uint8_t>> commands;
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    for (;;) {
        const auto start = std::find(buffer_.begin(), buffer_.end(), CommandMessage::kStartByte);
        if (start != buffer_.begin()) {
            Discard(static_cast<std::size_t>(start - buffer_.begin()));
            continue;
        }
        if (buffer_.size() < CommandMessage::kSize)
            break;
        const std::span<const std::uint8_t> candidate(buffer_.data(), CommandMessage::kSize);
        if (!HeadModel::IsWellFormed(candidate)) {
            Discard(1); // a false start: look for the next start byte
            continue;
        }
        commands.emplace_back(candidate.begin(), candidate.end());
        buffer_.erase(buffer_.begin(), buffer_.begin() + CommandMessage::kSize);
        discarding_ = false;
    }
    return commands;
}

} // namespace velmaris::sim
