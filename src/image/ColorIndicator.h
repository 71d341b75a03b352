#pragma once
// The colour indicator bar at the right edge of the view: an 8-pixel-wide
// column of raster values from 117 (strongest, top) down to nearly 0, drawn
// through the selected palette so echo strength can be read against it.

#include <cstdint>
#include <vector>

namespace velmaris {

inline constexpr int kIndicatorBarWidth = 8;
inline constexpr int kIndicatorBarRightInset = 10; // left edge at client width - 10

// height rows of kIndicatorBarWidth bytes, top row first: row y holds
// 117 - q with q = trunc(y x 117 / height) limited to 0..117. Empty for a
// height of 0 or less.
std::vector<std::uint8_t> BuildIndicatorBar(int height);

} // namespace velmaris
