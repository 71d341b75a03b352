#include "GifLzw.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace velmaris::tool {

namespace {

constexpr int kLargestCode = 4095;
constexpr std::int64_t kStoredRun = 1 << 20; // pixels stored before coding is tried again
constexpr int kLeastStoredBits = 6; // smaller indices always code: few levels shrink well

// Codes packed least significant bit first into a flat buffer that holds
// them all (sized by the caller); framed into sub-blocks at the end.
class CodeWriter {
public:
    explicit CodeWriter(std::uint8_t* at)
        : at_(at)
    { }

    void Put(int code, int width)
    {
        bits_ |= std::uint64_t(code) << count_;
        count_ += width;
        if (count_ >= 32) {
            for (int i = 0; i < 4; ++i)
                at_[i] = static_cast<std::uint8_t>(bits_ >> (8 * i));
            at_ += 4;
            bits_ >>= 32;
            count_ -= 32;
        }
    }

    // n pixels, each its own code of `width` bits: 8-bit codes are the
    // pixels themselves, shifted by the bits pending.
    void PutLiterals(const std::uint8_t* p, int n, int width)
    {
        int i = 0;
        if (width == 8) {
            for (; count_ >= 8; count_ -= 8, bits_ >>= 8)
                *at_++ = static_cast<std::uint8_t>(bits_);
            if (count_ == 0) {
                std::memcpy(at_, p, std::size_t(n));
                at_ += n;
                return;
            }
            if constexpr (std::endian::native == std::endian::little) {
                for (; i + 8 <= n; i += 8, at_ += 8) {
                    std::uint64_t word;
                    std::memcpy(&word, p + i, 8);
                    const std::uint64_t out = bits_ | word << count_;
                    std::memcpy(at_, &out, 8);
                    bits_ = word >> (64 - count_);
                }
            }
        }
        for (; i < n; ++i)
            Put(p[i], width);
    }

    // The end of the bytes written, the last one padded with zero bits.
    std::uint8_t* Close()
    {
        for (; count_ > 0; count_ -= 8, bits_ >>= 8)
            *at_++ = static_cast<std::uint8_t>(bits_);
        return at_;
    }

private:
    std::uint8_t* at_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
};

// The bits the largest of the width x height pixels needs, at least 2 (the
// least minimum code size).
int IndexBits(const std::uint8_t* pixels, std::size_t stride, int width, int height)
{
    unsigned any = 0; // every bit set in some pixel
    for (int y = 0; y < height && any < 0x80; ++y) {
        const std::uint8_t* row = pixels + std::size_t(y) * stride;
        int x = 0;
#if defined(__SSE2__) || defined(_M_X64)
        __m128i bits = _mm_setzero_si128();
        for (; x + 16 <= width; x += 16)
            bits = _mm_or_si128(bits, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)));
        // Bit 7 of any byte, then the rest folded down.
        bits = _mm_or_si128(bits, _mm_srli_si128(bits, 8));
        bits = _mm_or_si128(bits, _mm_srli_si128(bits, 4));
        bits = _mm_or_si128(bits, _mm_srli_si128(bits, 2));
        bits = _mm_or_si128(bits, _mm_srli_si128(bits, 1));
        any |= unsigned(_mm_cvtsi128_si32(bits)) & 0xFF;
#endif
        for (; x < width; ++x)
            any |= row[x];
    }
    return std::max(2, int(std::bit_width(any)));
}

// How many of the n pixels from p[0] on to write as themselves: up to and
// including the first of kStoredRunStart equal ones in a row (a run to
// code), all n when there is none. Shorter runs cost a code or two more
// stored than coded, and far less time.
constexpr int kStoredRunStart = 4;
int StoredSpan(const std::uint8_t* p, int n)
{
    int i = 0;
#if defined(__SSE2__) || defined(_M_X64)
    for (; i + 16 + kStoredRunStart - 1 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        __m128i same = _mm_cmpeq_epi8(a, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1)));
        for (int k = 2; k < kStoredRunStart; ++k)
            same = _mm_and_si128(
                same, _mm_cmpeq_epi8(a, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + k))));
        if (const int at = _mm_movemask_epi8(same); at != 0)
            return i + std::countr_zero(unsigned(at)) + 1;
    }
#endif
    for (; i + kStoredRunStart <= n; ++i)
        if (std::all_of(p + i + 1, p + i + kStoredRunStart, [&](std::uint8_t v) { return v == p[i]; }))
            return i + 1;
    return n;
}

// Pixels from `p` (at most `n`) equal to `v`, eight at a time.
int RunLength(const std::uint8_t* p, int n, std::uint8_t v)
{
    int i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t pattern = 0x0101010101010101ull * v;
        for (; i + 8 <= n; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (const std::uint64_t diff = word ^ pattern; diff != 0)
                return i + std::countr_zero(diff) / 8;
        }
    }
    while (i < n && p[i] == v)
        ++i;
    return i;
}

} // namespace

GifLzw::GifLzw()
    : slots_(kSlots, 0)
    , keyOf_(kCodes, 0)
    , runs_(std::size_t(256) * kLongestRun)
{ }

// The coder follows the decoder's table: each code after the first since a
// clear makes the entry "string before + first pixel of this one", numbered
// from end + 1 on. Outside runs it matches greedily through the hash, so an
// entry there is the string just written and the pixel after it. In a run of
// v it takes the longest run of v it has noted (up to kLongestRun + 1
// pixels); the decoder makes the same entries whichever codes are chosen.
// `run` is the length of the run of `value` that `current` stands for, 0
// when it is not a run. Stored, a pixel that differs from the one before is
// written as itself, and its entry (two different pixels) is never used.
void GifLzw::Encode(
    const std::uint8_t* pixels, std::size_t stride, int width, int height, std::vector<std::uint8_t>& out)
{
    if (stride == std::size_t(width) && std::size_t(width) * std::size_t(height) < (1u << 30)) {
        width *= height; // rows end to end: one long row
        height = 1;
    }
    const int bits = IndexBits(pixels, stride, width, height);
    const int clear = 1 << bits;
    const int end = clear + 1;
    // At most one code of at most 12 bits per pixel, and a clear per 30.
    const std::size_t count = std::size_t(width) * std::size_t(height);
    if (packed_.size() < 2 * count + 64)
        packed_.resize(2 * count + 64);
    CodeWriter writer(packed_.data());
    std::uint32_t* const slots = slots_.data();
    std::uint32_t* const keyOf = keyOf_.data();
    std::uint16_t* const runs = runs_.data();
    int codeWidth = bits + 1;
    int lastCode = end; // the last entry made, as the decoder will count them
    int current = pixels[0]; // the code of the string matched so far
    int run = 1;
    std::uint8_t value = pixels[0];
    const bool mayStore = bits >= kLeastStoredBits;
    // Stored: before the codes grow one bit wider.
    const int storedLimit = (1 << (bits + 1)) - 2;
    bool stored = false; // every pixel outside runs written as itself
    int limit = kLargestCode; // a new table once an entry has this code
    std::uint64_t chunkBits = 0, chunkPixels = 0; // outside runs since the last clear, coded
    const auto newTable = [&] {
        if (!stored && mayStore && chunkPixels > 0
            && 3 * chunkBits > 2 * std::uint64_t(bits + 1) * chunkPixels)
            storedLeft_ = kStoredRun; // coding saved less than a third
        stored = mayStore && storedLeft_ > 0;
        limit = stored ? storedLimit : kLargestCode;
        writer.Put(clear, codeWidth);
        codeWidth = bits + 1;
        lastCode = end;
        chunkBits = chunkPixels = 0;
        for (const std::uint8_t v : runValues_)
            runCounts_[v] = 0;
        runValues_.clear();
    };
    // Slots left by a rectangle of wider indices may name codes that are
    // pixels here: no key stands for them.
    std::fill_n(keyOf, end + 1, ~0u);
    stored = mayStore && storedLeft_ > 0;
    limit = stored ? storedLimit : kLargestCode;
    writer.Put(clear, codeWidth);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels + std::size_t(y) * stride;
        int x = y == 0 ? 1 : 0;
        while (x < width) {
            const std::uint8_t pixel = row[x];
            if (run > 0 && pixel == value) {
                // The run goes on: as far as the table has runs of `value`,
                // then a new entry one longer.
                int left = RunLength(row + x, width - x, pixel);
                std::uint16_t* const known = runs + std::size_t(pixel) * kLongestRun; // lengths 2, 3 ...
                for (;;) {
                    const int longest = runCounts_[pixel] + 1;
                    if (run + left <= longest) {
                        run += left;
                        x += left;
                        current = run == 1 ? pixel : known[run - 2];
                        break;
                    }
                    // Up to the longest, then it and one more pixel as an entry.
                    const int taken = longest - run + 1;
                    x += taken;
                    left -= taken;
                    if (run < longest)
                        current = longest == 1 ? pixel : known[longest - 2];
                    writer.Put(current, codeWidth);
                    const int code = ++lastCode;
                    keyOf[code] = std::uint32_t(current) << 8 | pixel;
                    codeWidth += lastCode >> codeWidth; // one wider once the codes reach 2^width
                    if (longest <= kLongestRun) {
                        if (longest == 1)
                            runValues_.push_back(pixel);
                        known[longest - 1] = static_cast<std::uint16_t>(code);
                        ++runCounts_[pixel];
                    }
                    current = pixel;
                    run = 1;
                    if (lastCode >= limit)
                        newTable();
                    if (left == 0)
                        break;
                }
                continue;
            }
            if (stored) {
                // The code before, then each pixel up to the next run, as
                // far as the table goes.
                const int n = std::min(StoredSpan(row + x, width - x), limit - lastCode);
                writer.Put(current, codeWidth);
                writer.PutLiterals(row + x, n - 1, codeWidth);
                lastCode += n;
                x += n;
                current = value = row[x - 1];
                run = 1;
                storedLeft_ -= n;
                if (storedLeft_ <= 0)
                    limit = 0;
                if (lastCode >= limit)
                    newTable();
                continue;
            }
            ++x;
            ++chunkPixels;
            const std::uint32_t key = std::uint32_t(current) << 8 | pixel;
            std::uint32_t h = (key * 0x9E3779B1u) >> (32 - kSlotBits);
            std::uint32_t slot;
            // A slot counts while its code is in the table and stands for its key.
            while ((slot = slots[h]) != 0 && int(slot & 0xFFF) <= lastCode
                && keyOf[slot & 0xFFF] == slot >> 12 && slot >> 12 != key)
                h = (h + 1) & (kSlots - 1);
            if (slot != 0 && int(slot & 0xFFF) <= lastCode && slot >> 12 == key
                && keyOf[slot & 0xFFF] == key) {
                current = static_cast<int>(slot & 0xFFF);
                run = 0;
                continue;
            }
            chunkBits += std::uint64_t(codeWidth);
            writer.Put(current, codeWidth);
            const int code = ++lastCode;
            keyOf[code] = key;
            slots[h] = key << 12 | std::uint32_t(code);
            codeWidth += lastCode >> codeWidth;
            current = value = pixel;
            run = 1;
            if (lastCode >= limit)
                newTable();
        }
    }
    writer.Put(current, codeWidth);
    codeWidth += (lastCode + 1) >> codeWidth;
    writer.Put(clear, codeWidth);
    writer.Put(end, bits + 1);
    const std::uint8_t* endOfCodes = writer.Close();
    for (const std::uint8_t v : runValues_)
        runCounts_[v] = 0;
    runValues_.clear();

    // Sub-blocks of at most 255 bytes, then the empty one.
    const std::uint8_t* at = packed_.data();
    out.reserve(out.size() + std::size_t(endOfCodes - at) + std::size_t(endOfCodes - at) / 255 + 3);
    out.push_back(static_cast<std::uint8_t>(bits));
    while (at < endOfCodes) {
        const auto n = static_cast<std::uint8_t>(std::min<std::ptrdiff_t>(endOfCodes - at, 255));
        out.push_back(n);
        out.insert(out.end(), at, at + n);
        at += n;
    }
    out.push_back(0);
}

} // namespace velmaris::tool
