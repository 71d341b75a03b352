#pragma once
// TCP is a byte stream: the K52L head's 513-byte reply may reach the station
// in several segments, and a segment may carry the start of the next reply.
// The assembler collects the bytes of one reply across deliveries.
//
// User-interface thread only. Never holds more than one reply; bytes past a
// whole reply stay with the caller until the reply has been taken.

#include "links/Links.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace velmaris {

class ReplyAssembler {
public:
    // Takes bytes until the reply is whole (or `bytes` is used up) and
    // returns how many it took; takes nothing while a whole reply waits.
    std::size_t Feed(std::span<const std::uint8_t> bytes);

    bool Complete() const { return filled_ == kReplyBufferSize; }
    std::size_t Pending() const { return filled_; }
    // The whole reply (valid while Complete()).
    std::span<const std::uint8_t, kReplyBufferSize> Reply() const { return buffer_; }

    // Drops whatever was collected: after a reply was taken, and when a
    // partial reply must not be completed by later bytes (watchdog expiry,
    // connection closed or restarted).
    void Clear() { filled_ = 0; }

private:
    std::array<std::uint8_t, kReplyBufferSize> buffer_ {};
    std::size_t filled_ = 0;
};

} // namespace velmaris
