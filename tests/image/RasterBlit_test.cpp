#include "image/RasterBlit.h"

#include <gtest/gtest.h>

#include <vector>

#include "image/ImageRaster.h"
#include "image/SectorClip.h"

namespace velmaris {
namespace {

struct Frame {
    std::vector<std::uint32_t> pixels;
    FrameBuffer buffer;
    Frame(int w, int h, int stride)
        : pixels(std::size_t(stride) * h, 0x12345678u)
        , buffer {pixels.data(), w, h, std::size_t(stride)}
    { }
    std::uint32_t At(int x, int y) const { return buffer.Row(y)[x]; }
};

PixelLut TestLut()
{
    CSonarBitmap colors;
    return MakePixelLut(colors.Table(1));
}

TEST(RasterBlitTest, LutPacksTableColoursAsOpaqueRgb)
{
    CSonarBitmap colors;
    const PixelLut lut = MakePixelLut(colors.Table(1));
    EXPECT_EQ(lut[59], 0xFF966E00u); // (150, 110, 0)
    EXPECT_EQ(lut[0], 0xFF000000u);
    EXPECT_EQ(MakePixelLut(colors.Table(4))[0], 0xFFD4D4D4u); // Reverse Grey background
}

TEST(RasterBlitTest, PaintsOnlyInsideClipAndRasterAndBlacksTheRest)
{
    ImageRaster raster;
    raster.Set(500, 450, 59); // 50 above the raster origin
    raster.Set(500, 550, 59); // 50 below
    const PixelLut lut = TestLut();
    Frame f(200, 200, 208); // stride wider than the row: padding stays untouched
    // Raster origin (500, 500) at window (100, 100); upper half-disc clip.
    const SectorClip clip(200, 100, 100, 1000, 0.0f, 180.0f);
    ComposeRasterFrame(raster, lut, -400, -400, clip, f.buffer);
    EXPECT_EQ(f.At(100, 50), lut[59]);
    EXPECT_EQ(f.At(100, 150), kBlackPixel); // painted but outside the clip
    EXPECT_EQ(f.At(100, 49), lut[0]);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const std::uint32_t p = f.At(x, y);
            ASSERT_TRUE(p == kBlackPixel || p == lut[0] || p == lut[59]) << x << "," << y;
        }
        EXPECT_EQ(f.pixels[std::size_t(y) * 208 + 200], 0x12345678u);
    }
}

TEST(RasterBlitTest, AreaOutsideTheRasterIsBlackEvenInsideTheClip)
{
    ImageRaster raster;
    CSonarBitmap colors;
    const PixelLut grey = MakePixelLut(colors.Table(4));
    Frame f(300, 300, 300);
    // Raster's top-left corner at (50, 60), full clip disc about (550, 560).
    const SectorClip clip(300, 550, 560, 1000, -90.0f, 360.0f);
    ComposeRasterFrame(raster, grey, 50, 60, clip, f.buffer);
    EXPECT_EQ(f.At(49, 100), kBlackPixel);
    EXPECT_EQ(f.At(50, 100), 0xFFD4D4D4u);
    EXPECT_EQ(f.At(100, 59), kBlackPixel);
    EXPECT_EQ(f.At(100, 60), 0xFFD4D4D4u);
    EXPECT_EQ(f.At(299, 299), 0xFFD4D4D4u);

    // The raster's bottom-right corner: raster column 3999 at window 99.
    Frame g(300, 300, 300);
    raster.Set(3999, 3999, 59);
    ComposeRasterFrame(raster, grey, -3900, -3900, SectorClip::Unclipped(300), g.buffer);
    EXPECT_EQ(g.At(99, 99), grey[59]);
    EXPECT_EQ(g.At(100, 99), kBlackPixel);
    EXPECT_EQ(g.At(99, 100), kBlackPixel);

    // Entirely off the window: all black.
    Frame h(50, 50, 50);
    ComposeRasterFrame(raster, grey, 5000, 0, SectorClip::Unclipped(50), h.buffer);
    for (std::uint32_t p : h.pixels) {
        ASSERT_EQ(p, kBlackPixel);
    }
}

TEST(RasterBlitTest, SideScanRowsFollowTheWaterfallScroll)
{
    ImageRaster raster;
    raster.Set(10, 0, 59);
    raster.ScrollDown(); // now at row 1
    raster.Set(10, 0, 117);
    const PixelLut lut = TestLut();
    Frame f(40, 40, 40);
    ComposeRasterFrame(raster, lut, 0, 5, SectorClip::Unclipped(40), f.buffer);
    EXPECT_EQ(f.At(10, 4), kBlackPixel); // above the raster top
    EXPECT_EQ(f.At(10, 5), lut[117]);
    EXPECT_EQ(f.At(10, 6), lut[59]);
}

TEST(RasterBlitTest, IndicatorBarTenPixelsFromTheRightEdge)
{
    const PixelLut lut = TestLut();
    Frame f(100, 117, 100);
    DrawIndicatorBar(lut, f.buffer);
    for (int x = 90; x < 98; ++x) {
        EXPECT_EQ(f.At(x, 0), lut[117]) << x;
        EXPECT_EQ(f.At(x, 116), lut[1]) << x;
        EXPECT_EQ(f.At(x, 59), lut[58]) << x;
    }
    EXPECT_EQ(f.At(89, 0), 0x12345678u);
    EXPECT_EQ(f.At(98, 0), 0x12345678u);

    // A window narrower than the inset: bar columns -5 .. 2, only 0 .. 2 exist.
    Frame narrow(5, 10, 5);
    DrawIndicatorBar(lut, narrow.buffer);
    EXPECT_EQ(narrow.At(0, 0), lut[117]);
    EXPECT_EQ(narrow.At(2, 0), lut[117]);
    EXPECT_EQ(narrow.At(3, 0), 0x12345678u);
}

} // namespace
} // namespace velmaris
