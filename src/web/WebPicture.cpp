#include "web/WebPicture.h"

#include <algorithm>
#include <cstring>

#include "image/ImageRaster.h"
#include "image/SectorClip.h"

namespace velmaris {

namespace {

void Put16(std::uint8_t* at, int value)
{
    at[0] = static_cast<std::uint8_t>(value & 0xff);
    at[1] = static_cast<std::uint8_t>((value >> 8) & 0xff);
}

// The bounding rectangle of the pixels that differ, grown row by row.
class Bounds {
public:
    void AddRow(const std::uint8_t* was, const std::uint8_t* now, int width, int y)
    {
        if (std::memcmp(was, now, std::size_t(width)) == 0)
            return;
        int first = 0;
        while (was[first] == now[first])
            ++first;
        int last = width - 1;
        while (was[last] == now[last])
            --last;
        left_ = std::min(left_, first);
        right_ = std::max(right_, last + 1);
        top_ = std::min(top_, y);
        bottom_ = y + 1;
    }
    FrameRect Rect() const
    {
        return top_ < bottom_ ? FrameRect {left_, top_, right_ - left_, bottom_ - top_} : FrameRect {};
    }
    long long Area() const { return top_ < bottom_ ? (long long)(right_ - left_) * (bottom_ - top_) : 0; }

private:
    int left_ = kMaxPictureSide;
    int right_ = 0;
    int top_ = kMaxPictureSide;
    int bottom_ = 0;
};

} // namespace

FrameRect WebPicture::Update(
    const ImageRaster& raster, int rasterLeft, int rasterTop, const SectorClip& clip, int width, int height)
{
    width = std::clamp(width, 0, kMaxPictureSide);
    height = std::clamp(height, 0, kMaxPictureSide);
    const bool resized = width != width_ || height != height_;
    // The raster's ring origin steps back one row per scroll; a wrap or a
    // re-linearised raster gives a wrong guess, which the check below refuses.
    const long long scrolled
        = ((long long)rasterOrigin_ - raster.RowOrigin() + ImageRaster::kHeight) % ImageRaster::kHeight;
    const long long candidate = scrolled + (long long)rasterTop - rasterTop_;
    rasterOrigin_ = raster.RowOrigin();
    rasterTop_ = rasterTop;
    scroll_ = 0;
    if (resized) {
        width_ = width;
        height_ = height;
        pixels_.assign(std::size_t(width) * std::size_t(height), kOutsideIndex);
    }
    if (width == 0 || height == 0)
        return resized ? Whole() : FrameRect {};
    next_.resize(pixels_.size());
    // Window columns that show raster columns; 64-bit so no pan overflows.
    const long long colBegin = std::max<long long>(0, rasterLeft);
    const long long colEnd = std::min<long long>(width, (long long)rasterLeft + ImageRaster::kWidth);
    const std::size_t stride = std::size_t(width);
    Bounds plain;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = next_.data() + std::size_t(y) * stride;
        std::memset(row, kOutsideIndex, stride);
        const long long rasterRow = (long long)y - rasterTop;
        PixelSpan spans[2];
        const int count = (rasterRow >= 0 && rasterRow < ImageRaster::kHeight && colBegin < colEnd)
            ? clip.RowSpans(y, spans)
            : 0;
        if (count > 0) {
            const std::uint8_t* source = raster.Row(int(rasterRow));
            for (int i = 0; i < count; ++i) {
                const int begin = int(std::max<long long>(spans[i].begin, colBegin));
                const int end = int(std::min<long long>(spans[i].end, colEnd));
                if (begin < end)
                    std::memcpy(
                        row + begin, source + (begin - (long long)rasterLeft), std::size_t(end - begin));
            }
        }
        plain.AddRow(pixels_.data() + std::size_t(y) * stride, row, width, y);
    }
    FrameRect rect = plain.Rect();
    if (!resized && candidate != 0 && candidate > -height && candidate < height && plain.Area() > 0) {
        // What is left to send once the page has moved its rows by the candidate.
        const int n = int(candidate);
        Bounds moved;
        for (int y = 0; y < height; ++y) {
            const int from = (y - n >= 0 && y - n < height) ? y - n : y;
            moved.AddRow(pixels_.data() + std::size_t(from) * stride, next_.data() + std::size_t(y) * stride,
                width, y);
        }
        if (moved.Area() < plain.Area()) {
            rect = moved.Rect();
            scroll_ = n;
        }
    }
    pixels_.swap(next_);
    return resized ? Whole() : rect;
}

FrameRect WebPicture::Clipped(const FrameRect& rect) const
{
    // 64-bit sums: no rectangle overflows.
    const long long x0 = std::clamp<long long>(rect.x, 0, width_);
    const long long y0 = std::clamp<long long>(rect.y, 0, height_);
    const long long x1 = std::clamp<long long>((long long)rect.x + std::max(rect.w, 0), x0, width_);
    const long long y1 = std::clamp<long long>((long long)rect.y + std::max(rect.h, 0), y0, height_);
    return {int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
}

std::size_t WebPicture::FrameMessageBytes(const FrameRect& rect) const
{
    const FrameRect r = Clipped(rect);
    return kFrameHeaderBytes + std::size_t(r.w) * std::size_t(r.h);
}

void WebPicture::EncodeFrame(const FrameRect& rect, std::uint8_t* out, int scroll) const
{
    const FrameRect r = Clipped(rect);
    out[0] = 'F';
    out[1] = 2;
    Put16(out + 2, width_);
    Put16(out + 4, height_);
    Put16(out + 6, r.x);
    Put16(out + 8, r.y);
    Put16(out + 10, r.w);
    Put16(out + 12, r.h);
    Put16(out + 14, std::clamp(scroll, -0x7fff, 0x7fff) & 0xffff);
    std::uint8_t* dst = out + kFrameHeaderBytes;
    for (int y = r.y; r.w > 0 && y < r.y + r.h; ++y, dst += r.w)
        std::memcpy(
            dst, pixels_.data() + std::size_t(y) * std::size_t(width_) + std::size_t(r.x), std::size_t(r.w));
}

std::vector<std::uint8_t> WebPicture::EncodeFrame(const FrameRect& rect, int scroll) const
{
    std::vector<std::uint8_t> out(FrameMessageBytes(rect));
    EncodeFrame(rect, out.data(), scroll);
    return out;
}

std::vector<std::uint8_t> EncodePalette(const ColorTable& table)
{
    std::vector<std::uint8_t> out(kPaletteMessageBytes);
    out[0] = 'P';
    out[1] = 1;
    for (int i = 0; i < kColorTableEntries; ++i) {
        const Rgb c = i == kOutsideIndex ? Rgb {} : table[std::size_t(i)];
        out[2 + 3 * std::size_t(i)] = c.red;
        out[3 + 3 * std::size_t(i)] = c.green;
        out[4 + 3 * std::size_t(i)] = c.blue;
    }
    return out;
}

} // namespace velmaris
