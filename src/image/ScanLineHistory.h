#pragma once
// The receive line L0 and the three most recently prepared lines L1..L3.
// L0 is the ping's echo buffer: the reply bytes from offset 12 on (or a
// record's bytes from offset 112 on) land at its start, and the bytes after
// them keep their previous content.

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmaris {

inline constexpr std::size_t kScanLineBytes = 640;
using ScanLine = std::array<std::uint8_t, kScanLineBytes>;

struct ScanLineHistory {
    ScanLine l0 {}; // receive line, the echo buffer
    ScanLine l1 {}; // oldest prepared line
    ScanLine l2 {};
    ScanLine l3 {}; // newest prepared line
    bool resetPending = true; // the next prepared line fills L1..L3
};

} // namespace velmaris
