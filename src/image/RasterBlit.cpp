#include "image/RasterBlit.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Eight look-ups per instruction where the processor has AVX2.
#include "image/CpuFeatures.h"
#if defined(VELMARIS_WIDE_X86)
#include <immintrin.h>
#endif

#include "image/ColorIndicator.h"
#include "image/ImageRaster.h"
#include "image/SectorClip.h"

namespace velmaris {

PixelLut MakePixelLut(const ColorTable& table)
{
    PixelLut lut {};
    for (int i = 0; i < kColorTableEntries; ++i) {
        const Rgb& c = table[static_cast<std::size_t>(i)];
        lut[static_cast<std::size_t>(i)] = 0xFF000000u | (static_cast<std::uint32_t>(c.red) << 16)
            | (static_cast<std::uint32_t>(c.green) << 8) | c.blue;
    }
    return lut;
}

namespace {

// Ordinary stores, 16 bytes at a time: the overlays drawn next and the copy
// to the window read the frame back, and find it in the cache (streaming
// stores would send it to memory first, which costs the repaint more than
// the read of the old frame they save). Unaligned ends are written one
// pixel at a time.

#if defined(__SSE2__)
bool Aligned16(const std::uint32_t* p)
{
    return (reinterpret_cast<std::uintptr_t>(p) & 15u) == 0;
}
#endif

void FillBlack(std::uint32_t* dst, int n)
{
#if defined(__SSE2__)
    while (n > 0 && !Aligned16(dst)) {
        *dst++ = kBlackPixel;
        --n;
    }
    const __m128i black = _mm_set1_epi32(static_cast<int>(kBlackPixel));
    for (; n >= 4; n -= 4, dst += 4) {
        _mm_store_si128(reinterpret_cast<__m128i*>(dst), black);
    }
#endif
    std::fill(dst, dst + n, kBlackPixel);
}

#if defined(VELMARIS_WIDE_X86)
// LookupRun eight pixels at a time (one gather from the table); returns how
// many pixels it did.
__attribute__((target("avx2"))) int LookupRunAvx2(
    std::uint32_t* dst, const std::uint8_t* src, int n, const std::uint32_t* lut)
{
    const int* table = reinterpret_cast<const int*>(lut);
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m256i index
            = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + k)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + k), _mm256_i32gather_epi32(table, index, 4));
    }
    return k;
}
#endif

void LookupRun(std::uint32_t* dst, const std::uint8_t* src, int n, const PixelLut& lut)
{
#if defined(VELMARIS_WIDE_X86)
    if (kCpuHasAvx2) {
        const int done = LookupRunAvx2(dst, src, n, lut.data());
        dst += done;
        src += done;
        n -= done;
    }
#endif
#if defined(__SSE2__)
    while (n > 0 && !Aligned16(dst)) {
        *dst++ = lut[*src++];
        --n;
    }
    for (; n >= 4; n -= 4, dst += 4, src += 4) {
        const __m128i four = _mm_set_epi32(static_cast<int>(lut[src[3]]), static_cast<int>(lut[src[2]]),
            static_cast<int>(lut[src[1]]), static_cast<int>(lut[src[0]]));
        _mm_store_si128(reinterpret_cast<__m128i*>(dst), four);
    }
#endif
    for (; n > 0; --n) {
        *dst++ = lut[*src++];
    }
}

} // namespace

void ComposeRasterFrame(const ImageRaster& raster, const PixelLut& lut, int rasterLeft, int rasterTop,
    const SectorClip& clip, const FrameBuffer& frame)
{
    if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0)
        return;
    // Window columns that show raster columns; 64-bit so no pan overflows.
    const long long colBegin = std::max<long long>(0, rasterLeft);
    const long long colEnd = std::min<long long>(frame.width, (long long)rasterLeft + ImageRaster::kWidth);
    for (int y = 0; y < frame.height; ++y) {
        std::uint32_t* dst = frame.Row(y);
        const long long rasterRow = (long long)y - rasterTop;
        PixelSpan spans[2];
        const int count = (rasterRow >= 0 && rasterRow < ImageRaster::kHeight && colBegin < colEnd)
            ? clip.RowSpans(y, spans)
            : 0;
        int x = 0;
        if (count > 0) {
            const std::uint8_t* row = raster.Row(static_cast<int>(rasterRow));
            for (int i = 0; i < count; ++i) {
                const int begin = static_cast<int>(std::max<long long>(spans[i].begin, colBegin));
                const int end = static_cast<int>(std::min<long long>(spans[i].end, colEnd));
                if (begin >= end)
                    continue;
                FillBlack(dst + x, begin - x);
                LookupRun(dst + begin, row + (begin - (long long)rasterLeft), end - begin, lut);
                x = end;
            }
        }
        FillBlack(dst + x, frame.width - x);
    }
}

void DrawIndicatorBar(const PixelLut& lut, const FrameBuffer& frame)
{
    if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0)
        return;
    const std::vector<std::uint8_t> bar = BuildIndicatorBar(frame.height);
    const int left = frame.width - kIndicatorBarRightInset;
    const int begin = std::max(left, 0);
    const int end = std::min(left + kIndicatorBarWidth, frame.width);
    for (int y = 0; y < frame.height; ++y) {
        const std::uint8_t* row = bar.data() + static_cast<std::size_t>(y) * kIndicatorBarWidth;
        std::uint32_t* dst = frame.Row(y);
        for (int x = begin; x < end; ++x) {
            dst[x] = lut[row[x - left]];
        }
    }
}

} // namespace velmaris
