#pragma once
// The LZW coder of GIF image data. The codes start one bit wider than the
// largest index needs (7-bit indices: 8-bit codes). The string table is a
// 64 KB open-addressed hash, small enough to stay in the processor's near
// caches; a slot counts only while the code it names still stands for its
// key, so starting a new table clears nothing. Runs of one index (the
// transparent pixels around a frame's change) skip the hash: the codes of
// vv, vvv ... are kept per index, and a run is matched a word at a time.
// Data that coding shrinks by less than a third (noise, such as echoes) is
// stored for a while instead: each pixel its own code, a clear before the
// codes grow wider, runs still coded; the decision carries over from one
// rectangle to the next, since a sweep's frames look alike. Plain C++, one
// object per writer, not thread-safe; it allocates its tables once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmaris::tool {

class GifLzw {
public:
    GifLzw();

    // Appends the image data of a `width` x `height` rectangle whose rows lie
    // `stride` bytes apart from `pixels`: the minimum code size byte (the bits
    // of the largest index, 2 to 8), the codes in sub-blocks of at most 255
    // bytes, and the empty block that ends them. width and height at least 1.
    void Encode(const std::uint8_t* pixels, std::size_t stride, int width, int height,
        std::vector<std::uint8_t>& out);

private:
    static constexpr int kSlotBits = 14;
    static constexpr std::uint32_t kSlots = 1u << kSlotBits;
    static constexpr int kCodes = 4096;
    static constexpr int kLongestRun = 255; // runs noted per index, of 2 to 256 pixels
    std::vector<std::uint32_t> slots_; // key << 12 | code; 0 empty
    std::vector<std::uint32_t> keyOf_; // code -> prefix code << 8 | pixel, of the table in use
    // runs_[v * kLongestRun + n] is the code of v repeated n + 2 times, for
    // n below runCounts_[v], in the table in use.
    std::vector<std::uint16_t> runs_;
    std::array<int, 256> runCounts_ {};
    std::vector<std::uint8_t> runValues_; // the v whose runCounts_ are not 0
    std::vector<std::uint8_t> packed_; // the codes of one rectangle, before framing
    // Pixels (outside runs) still to store before coding is tried again;
    // carried from one rectangle to the next.
    std::int64_t storedLeft_ = 0;
};

} // namespace velmaris::tool
