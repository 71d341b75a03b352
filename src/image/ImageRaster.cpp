#include "image/ImageRaster.h"

#include <algorithm>
#include <cstring>

namespace velmaris {

static_assert(ImageRaster::kWidth <= 0xFFFF, "column spans are 16-bit");

ImageRaster::ImageRaster()
    : data_(new std::uint8_t[kBytes]())
    , writtenFrom_(new std::uint16_t[kHeight])
    , writtenTo_(new std::uint16_t[kHeight]())
{
    std::fill_n(writtenFrom_.get(), kHeight, static_cast<std::uint16_t>(kWidth));
}

void ImageRaster::Clear()
{
    for (int p = rowsFrom_; p < rowsTo_; ++p) {
        const int from = writtenFrom_[p];
        const int to = writtenTo_[p];
        if (from < to)
            std::memset(data_.get() + static_cast<std::size_t>(p) * kWidth + from, 0,
                static_cast<std::size_t>(to - from));
        writtenFrom_[p] = kWidth;
        writtenTo_[p] = 0;
    }
    rowsFrom_ = kHeight;
    rowsTo_ = 0;
    origin_ = 0;
    markedWidth_ = 0;
    markedHeight_ = 0;
}

int ImageRaster::WrittenRows() const
{
    int rows = 0;
    for (int p = 0; p < kHeight; ++p)
        rows += writtenFrom_[p] < writtenTo_[p];
    return rows;
}

std::uint8_t ImageRaster::At(int x, int y) const
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight)
        return 0;
    return Row(y)[x];
}

void ImageRaster::Set(int x, int y, std::uint8_t value)
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight)
        return;
    const std::size_t p = PhysicalRow(y);
    MarkPhysical(p, x, x + 1);
    data_[p * kWidth + static_cast<std::size_t>(x)] = value;
}

void ImageRaster::ScrollDown()
{
    // The physical row just above the origin holds the bottom row, which
    // drops out; it becomes the new row 0 and takes a copy of the old row 0.
    const std::size_t oldTop = PhysicalRow(0);
    origin_ = origin_ == 0 ? kHeight - 1 : origin_ - 1;
    const std::size_t newTop = PhysicalRow(0);
    markedWidth_ = 0; // the stored rows no longer start at the origin
    markedHeight_ = 0;
    std::memcpy(data_.get() + newTop * kWidth, data_.get() + oldTop * kWidth, kWidth);
    writtenFrom_[newTop] = kWidth;
    writtenTo_[newTop] = 0;
    if (writtenFrom_[oldTop] < writtenTo_[oldTop])
        MarkPhysical(newTop, writtenFrom_[oldTop], writtenTo_[oldTop]);
}

bool ImageRaster::CopyRect(int x, int y, int w, int h, std::uint8_t* dst, std::size_t dstStride) const
{
    if (x < 0 || y < 0 || w < 0 || h < 0 || x > kWidth - w || y > kHeight - h)
        return false;
    for (int r = 0; r < h; ++r) {
        std::memcpy(
            dst + static_cast<std::size_t>(r) * dstStride, Row(y + r) + x, static_cast<std::size_t>(w));
    }
    return true;
}

void ImageRaster::CopyAll(std::uint8_t* dst) const
{
    const std::size_t head = static_cast<std::size_t>(kHeight - origin_) * kWidth;
    std::memcpy(dst, data_.get() + static_cast<std::size_t>(origin_) * kWidth, head);
    std::memcpy(dst + head, data_.get(), kBytes - head);
}

std::uint8_t* ImageRaster::LinearDataFor(int width, int height)
{
    if (origin_ != 0) {
        std::rotate(
            data_.get(), data_.get() + static_cast<std::size_t>(origin_) * kWidth, data_.get() + kBytes);
        std::rotate(writtenFrom_.get(), writtenFrom_.get() + origin_, writtenFrom_.get() + kHeight);
        std::rotate(writtenTo_.get(), writtenTo_.get() + origin_, writtenTo_.get() + kHeight);
        if (rowsFrom_ < rowsTo_) { // the written rows moved: any may hold them now
            rowsFrom_ = 0;
            rowsTo_ = kHeight;
        }
        origin_ = 0;
    }
    const int w = std::clamp(width, 0, kWidth);
    const int h = std::clamp(height, 0, kHeight);
    if (w <= markedWidth_ && h <= markedHeight_)
        return data_.get(); // marked by an earlier call, and marks only grow
    if (w > 0)
        for (int r = 0; r < h; ++r)
            MarkPhysical(static_cast<std::size_t>(r), 0, w);
    if (static_cast<std::size_t>(w) * static_cast<std::size_t>(h)
        >= static_cast<std::size_t>(markedWidth_) * static_cast<std::size_t>(markedHeight_)) {
        markedWidth_ = w;
        markedHeight_ = h;
    }
    return data_.get();
}

} // namespace velmaris
