#include "image/ImageRaster.h"

#include <algorithm>
#include <cstring>

namespace velmaris {

ImageRaster::ImageRaster()
    : data_(new std::uint8_t[kBytes]())
{ }

void ImageRaster::Clear()
{
    std::memset(data_.get(), 0, kBytes);
    origin_ = 0;
}

std::uint8_t ImageRaster::At(int x, int y) const
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) {
        return 0;
    }
    return Row(y)[x];
}

void ImageRaster::Set(int x, int y, std::uint8_t value)
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) {
        return;
    }
    Row(y)[x] = value;
}

void ImageRaster::ScrollDown()
{
    // The physical row just above the origin holds the bottom row, which
    // drops out; it becomes the new row 0 and takes a copy of the old row 0.
    const std::uint8_t* oldTop = Row(0);
    origin_ = origin_ == 0 ? kHeight - 1 : origin_ - 1;
    std::memcpy(Row(0), oldTop, kWidth);
}

bool ImageRaster::CopyRect(int x, int y, int w, int h, std::uint8_t* dst, std::size_t dstStride) const
{
    if (x < 0 || y < 0 || w < 0 || h < 0 || x > kWidth - w || y > kHeight - h) {
        return false;
    }
    for (int r = 0; r < h; ++r) {
        std::memcpy(dst + std::size_t(r) * dstStride, Row(y + r) + x, std::size_t(w));
    }
    return true;
}

void ImageRaster::CopyAll(std::uint8_t* dst) const
{
    const std::size_t head = std::size_t(kHeight - origin_) * kWidth;
    std::memcpy(dst, data_.get() + std::size_t(origin_) * kWidth, head);
    std::memcpy(dst + head, data_.get(), kBytes - head);
}

std::uint8_t* ImageRaster::LinearData()
{
    if (origin_ != 0) {
        std::rotate(data_.get(), data_.get() + std::size_t(origin_) * kWidth, data_.get() + kBytes);
        origin_ = 0;
    }
    return data_.get();
}

} // namespace velmaris
