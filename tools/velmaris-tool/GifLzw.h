#pragma once
// The LZW coder of GIF image data with 8-bit codes. The string table is a
// 64 KB open-addressed hash (a quarter full at most), small enough to stay in
// the processor's near caches, which is what a pixel's look-up costs. Data
// that coding does not shrink (noise) is stored for a while instead: nine bits
// a pixel. Plain C++, one object per writer, not thread-safe; it allocates
// its table once.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmaris::tool {

class GifLzw {
public:
    GifLzw();

    // Appends the image data of a `width` x `height` rectangle whose rows lie
    // `stride` bytes apart from `pixels`: the minimum code size byte, the codes
    // in sub-blocks of at most 255 bytes, and the empty block that ends them.
    // width and height at least 1.
    void Encode(const std::uint8_t* pixels, std::size_t stride, int width, int height,
        std::vector<std::uint8_t>& out);

private:
    static constexpr int kSlotBits = 14;
    static constexpr std::uint32_t kSlots = 1u << kSlotBits;
    std::vector<std::uint32_t> slots_; // (code << 8 | pixel) << 12 | longer code; 0 empty
};

} // namespace velmaris::tool
