#pragma once
// The 4000 x 4000 colour-index image the pings are painted into. Row 0 is the
// top row (the newest line of the side-scan waterfall). Pixel values are
// colour-table indices 0..117.
//
// Storage is a ring of rows: scrolling the waterfall down by one row moves a
// row origin instead of 16 MB of pixels. Every reader goes through the
// accessors below, which take logical coordinates, so the ring never shows.
//
// The raster also remembers, per stored row, the span of columns written
// since the last clear, so a clear (each change of mode or range) wipes
// what was painted (a fan at zoom 1 is a sixteenth of the image) rather
// than 16 MB. Every writing accessor marks what it hands out; a painter
// that writes through LinearDataFor() promises to stay inside the
// rectangle it names.
//
// Ownership: the document owns one raster for its lifetime. Thread: the
// user-interface thread only (painting and drawing), no locks.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace velmaris {

class ImageRaster {
public:
    static constexpr int kWidth = 4000;
    static constexpr int kHeight = 4000;
    static constexpr std::size_t kBytes = static_cast<std::size_t>(kWidth) * kHeight;

    ImageRaster(); // allocates 16,000,000 bytes set to 0
    ImageRaster(const ImageRaster&) = delete;
    ImageRaster& operator=(const ImageRaster&) = delete;

    // Sets every pixel to 0.
    void Clear();

    // Logical row r (0 at the top), kWidth bytes. r must lie in 0..kHeight-1.
    // The non-const row is marked as written, whole.
    std::uint8_t* Row(int r)
    {
        const std::size_t p = PhysicalRow(r);
        MarkPhysical(p, 0, kWidth);
        return data_.get() + p * static_cast<std::size_t>(kWidth);
    }
    const std::uint8_t* Row(int r) const { return data_.get() + PhysicalRow(r) * static_cast<std::size_t>(kWidth); }

    // Pixel at column x, row y; 0 outside the raster.
    std::uint8_t At(int x, int y) const;
    // Sets a pixel; ignored outside the raster.
    void Set(int x, int y, std::uint8_t value);

    // Moves every row down by one: row r takes row r - 1, the bottom row is
    // lost and row 0 keeps its content until it is overwritten.
    void ScrollDown();

    // Copies the w x h rectangle with top-left (x, y) in logical order into
    // dst (rows dstStride bytes apart). Returns false and copies nothing
    // unless the rectangle lies inside the raster.
    bool CopyRect(int x, int y, int w, int h, std::uint8_t* dst, std::size_t dstStride) const;
    // Copies the whole raster (kBytes) in logical order.
    void CopyAll(std::uint8_t* dst) const;

    // Makes the storage plain row-major (row 0 first) and returns it; costs
    // one pass over the image only when the waterfall has scrolled since the
    // last clear. The pointer stays valid until the next ScrollDown.
    // LinearData() marks the whole image as written; LinearDataFor() marks
    // the top-left width x height rectangle (clamped to the image), and the
    // caller writes nowhere else.
    std::uint8_t* LinearData() { return LinearDataFor(kWidth, kHeight); }
    std::uint8_t* LinearDataFor(int width, int height);
    // Stored rows holding pixels written since the last clear (for tests
    // and benchmarks: what the next clear will wipe).
    int WrittenRows() const;

    int RowOrigin() const { return origin_; }

private:
    std::size_t PhysicalRow(int r) const
    {
        int p = origin_ + r;
        return static_cast<std::size_t>(p >= kHeight ? p - kHeight : p);
    }

    void MarkPhysical(std::size_t p, int x0, int x1)
    {
        if (x0 < writtenFrom_[p])
            writtenFrom_[p] = static_cast<std::uint16_t>(x0);
        if (x1 > writtenTo_[p])
            writtenTo_[p] = static_cast<std::uint16_t>(x1);
        const int row = static_cast<int>(p);
        if (row < rowsFrom_)
            rowsFrom_ = row;
        if (row >= rowsTo_)
            rowsTo_ = row + 1;
    }

    std::unique_ptr<std::uint8_t[]> data_;
    int origin_ = 0; // physical row holding logical row 0
    // Columns [writtenFrom_, writtenTo_) of each physical row may be non-zero;
    // from >= to: the row is all zero.
    std::unique_ptr<std::uint16_t[]> writtenFrom_;
    std::unique_ptr<std::uint16_t[]> writtenTo_;
    // Physical rows [rowsFrom_, rowsTo_) hold every written span.
    int rowsFrom_ = kHeight;
    int rowsTo_ = 0;
    // The top-left rectangle LinearDataFor last marked whole, while nothing
    // has unmarked or moved a row of it since (a clear, a scroll): a painter
    // that asks for it again every ping finds it marked already.
    int markedWidth_ = 0;
    int markedHeight_ = 0;
};

} // namespace velmaris
