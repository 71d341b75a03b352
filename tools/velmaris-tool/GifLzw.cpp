#include "GifLzw.h"

#include <algorithm>

namespace velmaris::tool {

namespace {

constexpr int kClear = 256;
constexpr int kEnd = 257;
constexpr int kLargestCode = 4095;
constexpr int kStoredRun = 1 << 16; // pixels stored before coding is tried again

// Codes packed least significant bit first into sub-blocks of 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t>& out)
        : out_(out)
    { }

    void Put(int code, int width)
    {
        written_ += std::uint64_t(width);
        bits_ |= std::uint64_t(code) << count_;
        count_ += width;
        if (count_ >= 32) {
            for (int i = 0; i < 4; ++i)
                Byte(static_cast<std::uint8_t>(bits_ >> (8 * i)));
            bits_ >>= 32;
            count_ -= 32;
        }
    }

    std::uint64_t Bits() const { return written_; }

    void Close()
    {
        for (; count_ > 0; count_ -= 8, bits_ >>= 8)
            Byte(static_cast<std::uint8_t>(bits_));
        if (fill_ > 0)
            Block();
        out_.push_back(0);
    }

private:
    void Byte(std::uint8_t b)
    {
        block_[++fill_] = b;
        if (fill_ == 255)
            Block();
    }

    void Block()
    {
        block_[0] = static_cast<std::uint8_t>(fill_);
        out_.insert(out_.end(), block_, block_ + fill_ + 1);
        fill_ = 0;
    }

    std::vector<std::uint8_t>& out_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
    std::uint64_t written_ = 0;
    std::uint8_t block_[256] {};
    int fill_ = 0;
};

} // namespace

GifLzw::GifLzw()
    : slots_(kSlots, 0)
{ }

void GifLzw::Encode(
    const std::uint8_t* pixels, std::size_t stride, int width, int height, std::vector<std::uint8_t>& out)
{
    out.push_back(8);
    CodeWriter writer(out);
    std::uint32_t* slots = slots_.data();
    int codeWidth = 9;
    int lastCode = kEnd; // the last code given out, as the decoder will count them
    int current = -1; // the code of the string matched so far; -1 for none
    int storedLeft = 0; // pixels still to store as they are
    std::uint64_t chunkBits = 0, chunkPixels = 0; // since the last clear, in coded mode
    const auto clear = [&] {
        writer.Put(kClear, codeWidth);
        std::fill(slots_.begin(), slots_.end(), 0u);
        codeWidth = 9;
        lastCode = kEnd;
        chunkBits = writer.Bits();
        chunkPixels = 0;
    };
    // Counts a code the decoder makes an entry for, widening the codes as it will.
    const auto counted = [&] {
        if (++lastCode >= (1 << codeWidth))
            ++codeWidth;
    };
    const auto store = [&](int pixel) {
        writer.Put(pixel, 9);
        if (++lastCode == 510) // clear before the codes would grow to 10 bits
            clear();
        if (--storedLeft == 0)
            clear();
    };
    writer.Put(kClear, codeWidth);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels + std::size_t(y) * stride;
        for (int x = 0; x < width; ++x) {
            const int pixel = row[x];
            if (storedLeft > 0) {
                store(pixel);
                continue;
            }
            ++chunkPixels;
            if (current < 0) {
                current = pixel;
                continue;
            }
            // Slots hold key << 12 | code (never 0: codes start at 258).
            const std::uint32_t key = std::uint32_t(current) << 8 | std::uint32_t(pixel);
            std::uint32_t h = (key * 0x9E3779B1u) >> (32 - kSlotBits);
            while (slots[h] != 0 && slots[h] >> 12 != key)
                h = (h + 1) & (kSlots - 1);
            if (slots[h] != 0) {
                current = static_cast<int>(slots[h] & 0xFFF);
                continue;
            }
            writer.Put(current, codeWidth);
            slots[h] = key << 12 | std::uint32_t(lastCode + 1);
            counted();
            current = pixel;
            if (lastCode < kLargestCode)
                continue;
            // The table is full. Data that coding does not shrink (noise) is
            // stored for a while: nine bits a pixel at a fraction of the work.
            const bool poor = 2 * (writer.Bits() - chunkBits) > 17 * chunkPixels;
            clear();
            if (poor) {
                storedLeft = kStoredRun;
                current = -1;
                store(pixel);
            }
        }
    }
    if (current >= 0) {
        writer.Put(current, codeWidth);
        counted();
    }
    writer.Put(kClear, codeWidth);
    writer.Put(kEnd, 9);
    writer.Close();
    std::fill(slots_.begin(), slots_.end(), 0u);
}

} // namespace velmaris::tool
