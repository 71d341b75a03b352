#include "image/RasterBlit.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "image/ColorIndicator.h"
#include "image/ImageRaster.h"
#include "image/SectorClip.h"

namespace velmaris {

PixelLut MakePixelLut(const ColorTable& table)
{
    PixelLut lut {};
    for (int i = 0; i < kColorTableEntries; ++i) {
        const Rgb& c = table[std::size_t(i)];
        lut[std::size_t(i)]
            = 0xFF000000u | (std::uint32_t(c.red) << 16) | (std::uint32_t(c.green) << 8) | c.blue;
    }
    return lut;
}

namespace {

// The frame is written once per paint and read back only by the copy to the
// window, so whole 16-byte groups go out with streaming stores: no read of
// the old frame into the cache first, which halves the memory traffic of
// this write-bound loop. Unaligned ends are written one pixel at a time.

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
    const __m128i black = _mm_set1_epi32(int(kBlackPixel));
    for (; n >= 4; n -= 4, dst += 4) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(dst), black);
    }
#endif
    std::fill(dst, dst + n, kBlackPixel);
}

void LookupRun(std::uint32_t* dst, const std::uint8_t* src, int n, const PixelLut& lut)
{
#if defined(__SSE2__)
    while (n > 0 && !Aligned16(dst)) {
        *dst++ = lut[*src++];
        --n;
    }
    for (; n >= 4; n -= 4, dst += 4, src += 4) {
        const __m128i four
            = _mm_set_epi32(int(lut[src[3]]), int(lut[src[2]]), int(lut[src[1]]), int(lut[src[0]]));
        _mm_stream_si128(reinterpret_cast<__m128i*>(dst), four);
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
    if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) {
        return;
    }
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
            const std::uint8_t* row = raster.Row(int(rasterRow));
            for (int i = 0; i < count; ++i) {
                const int begin = int(std::max<long long>(spans[i].begin, colBegin));
                const int end = int(std::min<long long>(spans[i].end, colEnd));
                if (begin >= end) {
                    continue;
                }
                FillBlack(dst + x, begin - x);
                LookupRun(dst + begin, row + (begin - (long long)rasterLeft), end - begin, lut);
                x = end;
            }
        }
        FillBlack(dst + x, frame.width - x);
    }
#if defined(__SSE2__)
    _mm_sfence(); // streamed pixels are visible before the painter draws on top
#endif
}

void DrawIndicatorBar(const PixelLut& lut, const FrameBuffer& frame)
{
    if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) {
        return;
    }
    const std::vector<std::uint8_t> bar = BuildIndicatorBar(frame.height);
    const int left = frame.width - kIndicatorBarRightInset;
    const int begin = std::max(left, 0);
    const int end = std::min(left + kIndicatorBarWidth, frame.width);
    for (int y = 0; y < frame.height; ++y) {
        const std::uint8_t* row = bar.data() + std::size_t(y) * kIndicatorBarWidth;
        std::uint32_t* dst = frame.Row(y);
        for (int x = begin; x < end; ++x) {
            dst[x] = lut[row[x - left]];
        }
    }
}

} // namespace velmaris
