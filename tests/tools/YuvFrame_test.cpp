// The MP4's colour conversion against BT.601's studio-range values (what an
// H.264 player assumes), rounded from the exact coefficients: white, black,
// the primaries, and chroma as the mean of its 2 x 2 block.
#include "YuvFrame.h"

#include <gtest/gtest.h>

namespace velmaris::tool {
namespace {

TEST(YuvConverter, StudioRangeBt601WithChromaMeanOfEachBlock)
{
    ColorTable palette {};
    palette[1] = Rgb {255, 255, 255};
    palette[2] = Rgb {255, 0, 0};
    palette[3] = Rgb {0, 0, 255};
    palette[4] = Rgb {0, 255, 0};
    const YuvConverter convert(palette);
    struct Case {
        const char* name;
        std::uint8_t top[2], bottom[2];
        std::uint8_t y[4]; // top left, top right, bottom left, bottom right
        std::uint8_t cb, cr;
    };
    for (const Case& c : {
             Case {"black", {0, 0}, {0, 0}, {16, 16, 16, 16}, 128, 128},
             Case {"white", {1, 1}, {1, 1}, {235, 235, 235, 235}, 128, 128},
             Case {"red", {2, 2}, {2, 2}, {81, 81, 81, 81}, 90, 240},
             Case {"blue", {3, 3}, {3, 3}, {41, 41, 41, 41}, 240, 110},
             Case {"green", {4, 4}, {4, 4}, {145, 145, 145, 145}, 54, 34},
             // The block's mean before rounding: Cb 128 + (-37.8 + 112) / 4, Cr 128 + (112 - 18.2) / 4.
             Case {"red, blue, black, white", {2, 3}, {0, 1}, {81, 41, 16, 235}, 147, 151},
         }) {
        SCOPED_TRACE(c.name);
        std::uint8_t yTop[2] {}, yBottom[2] {}, cb = 0, cr = 0;
        convert.RowPair(c.top, c.bottom, 2, yTop, yBottom, &cb, &cr);
        EXPECT_EQ(yTop[0], c.y[0]);
        EXPECT_EQ(yTop[1], c.y[1]);
        EXPECT_EQ(yBottom[0], c.y[2]);
        EXPECT_EQ(yBottom[1], c.y[3]);
        EXPECT_EQ(cb, c.cb);
        EXPECT_EQ(cr, c.cr);
    }
}

} // namespace
} // namespace velmaris::tool
