#include "image/SonarBitmap.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(SonarBitmapTest, ReferenceColours)
{
    const CSonarBitmap bmp;
    EXPECT_EQ(bmp.Table(1)[59], (Rgb {150, 110, 0}));
    EXPECT_EQ(bmp.Table(0)[59], (Rgb {225, 165, 0}));
    EXPECT_EQ(bmp.Table(2)[59], (Rgb {0, 147, 0}));
    EXPECT_EQ(bmp.Table(4)[59], (Rgb {106, 106, 106}));
    EXPECT_EQ(bmp.Table(5)[59], (Rgb {216, 89, 0}));
    EXPECT_EQ(bmp.Table(6)[59], (Rgb {0, 216, 89}));
    EXPECT_EQ(bmp.Table(7)[59], (Rgb {89, 216, 0}));
    EXPECT_EQ(bmp.Table(8)[59], (Rgb {0, 89, 216}));
    EXPECT_EQ(bmp.Table(3)[59], (Rgb {147, 147, 147}));
    for (int t = 0; t < kColorTableCount; ++t) {
        EXPECT_EQ(bmp.Table(t)[0], t == 4 ? (Rgb {212, 212, 212}) : (Rgb {})) << t;
        EXPECT_EQ(bmp.Table(t)[119], Rgb {}) << t;
        EXPECT_EQ(bmp.Table(t)[255], Rgb {}) << t;
    }
    EXPECT_EQ(bmp.Table(1)[107], (Rgb {220, 220, 220}));
    EXPECT_EQ(bmp.Table(0)[107], (Rgb {255, 255, 255}));
    // Both derived sweeps reach full strength at 118.
    EXPECT_EQ(bmp.Table(5)[118], (Rgb {255, 255, 0}));
    EXPECT_EQ(bmp.Table(2)[118], (Rgb {0, 255, 0}));
    EXPECT_EQ(bmp.Table(4)[118], (Rgb {0, 0, 0}));
}

TEST(SonarBitmapTest, BaseTableSegments)
{
    EXPECT_EQ(BaseColor(3), (Rgb {0, 0, 5}));
    EXPECT_EQ(BaseColor(18), (Rgb {0, 0, 80}));
    EXPECT_EQ(BaseColor(19), (Rgb {0, 20, 80}));
    EXPECT_EQ(BaseColor(34), (Rgb {0, 95, 5}));
    EXPECT_EQ(BaseColor(41), (Rgb {10, 130, 0}));
    EXPECT_EQ(BaseColor(48), (Rgb {20, 165, 0}));
    EXPECT_EQ(BaseColor(52), (Rgb {80, 185, 0}));
    EXPECT_EQ(BaseColor(58), (Rgb {140, 125, 0}));
    EXPECT_EQ(BaseColor(69), (Rgb {200, 100, 0}));
    EXPECT_EQ(BaseColor(72), (Rgb {215, 115, 0}));
    EXPECT_EQ(BaseColor(78), (Rgb {160, 145, 0}));
    EXPECT_EQ(BaseColor(89), (Rgb {200, 200, 50}));
    EXPECT_EQ(BaseColor(98), (Rgb {245, 245, 140}));
    EXPECT_EQ(BaseColor(111), (Rgb {240, 240, 240}));
    EXPECT_EQ(BaseColor(114), (Rgb {240, 240, 240}));
    EXPECT_EQ(BaseColor(115), (Rgb {160, 0, 0}));
    EXPECT_EQ(BaseColor(118), (Rgb {160, 0, 0}));
}

TEST(SonarBitmapTest, NormalHighCapsAt255)
{
    const CSonarBitmap bmp;
    ASSERT_EQ(bmp.Table(1)[89], (Rgb {200, 200, 50}));
    EXPECT_EQ(bmp.Table(0)[89], (Rgb {255, 255, 75}));
    EXPECT_EQ(bmp.Table(0)[1], (Rgb {0, 0, 1})); // 1.5 truncated
}

TEST(SonarBitmapTest, PaletteIsBlueGreenRedZero)
{
    const CSonarBitmap bmp;
    const DrawingPalette pal = bmp.Palette(0);
    EXPECT_EQ(pal[4 * 59 + 0], 0);
    EXPECT_EQ(pal[4 * 59 + 1], 165);
    EXPECT_EQ(pal[4 * 59 + 2], 225);
    EXPECT_EQ(pal[4 * 59 + 3], 0);
    EXPECT_EQ(bmp.Palette(8)[4 * 59 + 0], 216);
    // An unknown table index draws with the default table.
    EXPECT_EQ(bmp.Palette(9), pal);
    EXPECT_EQ(&bmp.Table(-3), &bmp.Table(0));
}

} // namespace
} // namespace velmaris
