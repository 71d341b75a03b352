#pragma once
// Cuts a byte stream (TCP or serial) into 27-byte command messages. Bytes
// that do not form a well-formed command (wrong start, kind or terminator
// byte) are dropped up to the next start byte and counted once per run, so
// the head falls back into step with the station after any line noise.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velmaris::sim {

class CommandFramer {
public:
    // Appends bytes; returns the complete well-formed commands they finish,
    // 27 bytes each, in order.
    std::vector<std::vector<std::uint8_t>> Feed(std::span<const std::uint8_t> bytes);

    std::uint64_t MalformedCount() const { return malformed_; }
    std::size_t Buffered() const { return buffer_.size(); }
    void Clear();

private:
    void Discard(std::size_t count);

    std::vector<std::uint8_t> buffer_;
    std::uint64_t malformed_ = 0;
    bool discarding_ = false; // inside a counted run of bad bytes
};

} // namespace velmaris::sim
