#pragma once
// Colour indices to the planes of a 4:2:0 picture, as an H.264 player reads
// them by default: BT.601 in limited range (Y 16-235, Cb and Cr 16-240),
// each chroma sample the rounded mean of its 2 x 2 pixels. A table per index
// makes a pixel one look-up. Plain C++, header only (the MP4 module links
// nothing of the tool's); not thread-safe, no allocation after construction.

#include "image/SonarBitmap.h"

#include <array>
#include <cstdint>

namespace velmaris::tool {

class YuvConverter {
public:
    explicit YuvConverter(const ColorTable& palette)
    {
        // The coefficients times 2^16; chroma stays unrounded until its block is summed.
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const int r = palette[i].red, g = palette[i].green, b = palette[i].blue;
            y_[i] = static_cast<std::uint8_t>(16 + ((16829 * r + 33039 * g + 6416 * b + 32768) >> 16));
            cb_[i] = -9714 * r - 19070 * g + 28784 * b;
            cr_[i] = 28784 * r - 24103 * g - 4681 * b;
        }
    }

    // Two rows of `width` indices (width even) to two luma rows and one row
    // of each chroma plane (width / 2 samples).
    void RowPair(const std::uint8_t* top, const std::uint8_t* bottom, int width, std::uint8_t* yTop,
        std::uint8_t* yBottom, std::uint8_t* cb, std::uint8_t* cr) const
    {
        for (int x = 0; x < width; x += 2) {
            const std::uint8_t a = top[x], b = top[x + 1], c = bottom[x], d = bottom[x + 1];
            yTop[x] = y_[a];
            yTop[x + 1] = y_[b];
            yBottom[x] = y_[c];
            yBottom[x + 1] = y_[d];
            cb[x / 2]
                = static_cast<std::uint8_t>(128 + ((cb_[a] + cb_[b] + cb_[c] + cb_[d] + (1 << 17)) >> 18));
            cr[x / 2]
                = static_cast<std::uint8_t>(128 + ((cr_[a] + cr_[b] + cr_[c] + cr_[d] + (1 << 17)) >> 18));
        }
    }

private:
    std::array<std::uint8_t, kColorTableEntries> y_ {};
    std::array<std::int32_t, kColorTableEntries> cb_ {};
    std::array<std::int32_t, kColorTableEntries> cr_ {};
};

} // namespace velmaris::tool
