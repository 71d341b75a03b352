#pragma once
// The web view's picture: the station's view window as colour indices (the
// raster through the sector clip, kOutsideIndex where the view shows
// black), kept from tick to tick so each tick finds the rectangle that
// changed. Frames and the colour table go to the page as binary messages;
// the page turns indices into colours itself, so a new colour table costs
// 770 bytes instead of a whole picture.
//
// The side-scan waterfall moves the whole picture down a row every ping, so
// the picture is also compared with the last one moved by the rows the
// raster scrolled (and the view panned) since: when that leaves less to
// send, the tick is a scroll of those rows and the rectangle of what the
// move does not explain (the new rows at least). The candidate comes from
// the raster, the check is exact: a wrong guess only costs the plain
// rectangle.
//
// Frame message, little-endian: 'F', 2, width, height, x, y, w, h (16-bit
// each), scroll (signed 16-bit), then w x h indices row by row. A scroll of
// n moves every row y of the picture to y + n before the rectangle is
// painted; rows with nothing moving into them keep what they held. Colour
// table message: 'P', 1, then 256 entries of red, green, blue.
//
// Ownership: owns its pixels (width x height bytes). Thread: the caller's
// (the user-interface thread, which owns the raster); no locks.

#include <cstdint>
#include <vector>

#include "image/SonarBitmap.h"
#include "web/WebViewers.h"

namespace velmaris {

class ImageRaster;
class SectorClip;

// An index beyond the defined colours: black in every table, where the view
// shows no raster (outside the clip or the raster).
inline constexpr std::uint8_t kOutsideIndex = 255;
inline constexpr int kMaxPictureSide = 8192; // a larger view sends its top-left part
inline constexpr std::size_t kFrameHeaderBytes = 16;
inline constexpr std::size_t kPaletteMessageBytes = 2 + 3 * kColorTableEntries;

class WebPicture {
public:
    // Composes the view window of width x height (raster column 0 at
    // rasterLeft, row 0 at rasterTop, as the view draws it) and returns the
    // rectangle that differs from the last picture moved by Scroll() rows:
    // the whole picture when its size changed, empty when nothing did.
    FrameRect Update(const ImageRaster& raster, int rasterLeft, int rasterTop, const SectorClip& clip,
        int width, int height);
    // Rows the last Update moved the picture down (negative: up), 0 when it
    // did not; never Height() or more either way.
    int Scroll() const { return scroll_; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    FrameRect Whole() const { return {0, 0, width_, height_}; }
    // Row-major, Width() bytes a row.
    const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

    // `rect` clipped to the picture (empty when nothing of it is inside).
    FrameRect Clipped(const FrameRect& rect) const;
    // Bytes of the frame message for `rect` (clipped), header included.
    std::size_t FrameMessageBytes(const FrameRect& rect) const;
    // Writes the frame message for `rect` (clipped) after a scroll of
    // `scroll` rows into `out`, which holds FrameMessageBytes(rect) bytes.
    void EncodeFrame(const FrameRect& rect, std::uint8_t* out, int scroll = 0) const;
    std::vector<std::uint8_t> EncodeFrame(const FrameRect& rect, int scroll = 0) const;

private:
    int width_ = 0;
    int height_ = 0;
    int scroll_ = 0;
    // Where the raster's row 0 was stored and shown at the last Update: the
    // rows it scrolled and the view panned since give the scroll to try.
    int rasterOrigin_ = 0;
    int rasterTop_ = 0;
    std::vector<std::uint8_t> pixels_;
    std::vector<std::uint8_t> next_; // the picture being composed, then swapped in
};

// The colour table message; the entry at kOutsideIndex is sent black.
std::vector<std::uint8_t> EncodePalette(const ColorTable& table);

} // namespace velmaris
