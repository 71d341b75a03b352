#include "image/ColorIndicator.h"

#include <algorithm>
#include <cstring>

namespace velmaris {

std::vector<std::uint8_t> BuildIndicatorBar(int height)
{
    if (height <= 0)
        return {};
    std::vector<std::uint8_t> bar(static_cast<std::size_t>(height) * kIndicatorBarWidth);
    for (int y = 0; y < height; ++y) {
        const long long q = std::clamp<long long>(static_cast<long long>(y) * 117 / height, 0, 117);
        std::memset(bar.data() + static_cast<std::size_t>(y) * kIndicatorBarWidth, static_cast<int>(117 - q),
            kIndicatorBarWidth);
    }
    return bar;
}

} // namespace velmaris
