#pragma once
// Turns the visible part of the colour-index raster into 32-bit frame
// pixels through the selected colour table, row by row within the clip
// spans. The work is proportional to the window, never to the raster: only
// raster rows that land in the window are read, through ImageRaster::Row.

#include <array>
#include <cstddef>
#include <cstdint>

#include "image/SonarBitmap.h"

namespace velmaris {

class ImageRaster;
class SectorClip;

// 0xFFRRGGBB per colour-table entry (the layout of a 32-bit RGB frame).
using PixelLut = std::array<std::uint32_t, kColorTableEntries>;
PixelLut MakePixelLut(const ColorTable& table);

inline constexpr std::uint32_t kBlackPixel = 0xFF000000u;

// A caller-owned 32-bit frame; stride in pixels. Not owned here.
struct FrameBuffer {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::uint32_t* Row(int y) const { return pixels + static_cast<std::size_t>(y) * stride; }
};

// Writes every frame pixel once: inside the clip and inside the raster
// (raster column 0 at rasterLeft, row 0 at rasterTop) the raster value
// through lut, everywhere else black. So the frame needs no separate fill.
void ComposeRasterFrame(const ImageRaster& raster, const PixelLut& lut, int rasterLeft, int rasterTop,
    const SectorClip& clip, const FrameBuffer& frame);

// The colour indicator bar: 8 columns from x = width - 10, one raster value
// per row (117 at the top), drawn through lut; columns outside the frame are
// skipped.
void DrawIndicatorBar(const PixelLut& lut, const FrameBuffer& frame);

} // namespace velmaris
