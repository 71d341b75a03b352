#include "image/RasterBlit.h"

#include <algorithm>

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
                std::fill(dst + x, dst + begin, kBlackPixel);
                const std::uint8_t* s = row + (begin - (long long)rasterLeft);
                std::uint32_t* d = dst + begin;
                for (int n = end - begin; n > 0; --n) {
                    *d++ = lut[*s++];
                }
                x = end;
            }
        }
        std::fill(dst + x, dst + frame.width, kBlackPixel);
    }
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
