#pragma once
// One scan line of echo bytes. The receive line L0 is the ping's echo
// buffer: the reply bytes from offset 12 on (or a record's bytes from offset
// 112 on) land at its start, and the bytes after them keep their previous
// content. The painter's history keeps three more of these.

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmaris {

inline constexpr std::size_t kScanLineBytes = 640;
using ScanLine = std::array<std::uint8_t, kScanLineBytes>;

} // namespace velmaris
