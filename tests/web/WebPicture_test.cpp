// The web view's picture: the view window as colour indices, the rectangle
// that changed, and the two binary messages.
#include "web/WebPicture.h"

#include <gtest/gtest.h>

#include "image/ImageRaster.h"
#include "image/SectorClip.h"

namespace velmaris {
namespace {

class WebPictureTest : public ::testing::Test {
protected:
    static ImageRaster& Raster()
    {
        static ImageRaster raster;
        return raster;
    }
    void SetUp() override { Raster().Clear(); }
};

TEST_F(WebPictureTest, FindsWhatChangedInsideTheClipOnly)
{
    WebPicture picture;
    const SectorClip all = SectorClip::Unclipped(200);
    // The raster's column 0 lands at x = -50, its row 0 at y = 20.
    EXPECT_EQ(picture.Update(Raster(), -50, 20, all, 200, 100), (FrameRect {0, 0, 200, 100}));
    EXPECT_EQ(picture.Pixels()[0], kOutsideIndex) << "above the raster the view is black";
    EXPECT_EQ(picture.Pixels()[25 * 200], 0) << "raster pixels keep their index";
    EXPECT_TRUE(picture.Update(Raster(), -50, 20, all, 200, 100).Empty());

    Raster().Set(60, 5, 17);
    Raster().Set(90, 30, 3);
    EXPECT_EQ(picture.Update(Raster(), -50, 20, all, 200, 100), (FrameRect {10, 25, 31, 26}));
    EXPECT_EQ(picture.Pixels()[25 * 200 + 10], 17);

    // A pie about (100, 50): a pixel far outside it changes nothing shown.
    const SectorClip pie(200, 100, 50, 30, 0.0f, 360.0f);
    const FrameRect clipped = picture.Update(Raster(), -50, 20, pie, 200, 100);
    EXPECT_FALSE(clipped.Empty()) << "what lay outside the pie turns black";
    Raster().Set(51, 21, 9); // window (1, 41), outside the pie
    EXPECT_TRUE(picture.Update(Raster(), -50, 20, pie, 200, 100).Empty());
    Raster().Set(150, 30, 9); // window (100, 50), the pie's centre
    EXPECT_EQ(picture.Update(Raster(), -50, 20, pie, 200, 100), (FrameRect {100, 50, 1, 1}));

    EXPECT_EQ(picture.Update(Raster(), -50, 20, pie, 120, 90), (FrameRect {0, 0, 120, 90})) << "resized";
    EXPECT_TRUE(picture.Update(Raster(), -50, 20, all, 0, 90).Empty()) << "an empty view";
    EXPECT_EQ(picture.Update(Raster(), 0, 0, all, 99999, 2).w, kMaxPictureSide);
}

TEST_F(WebPictureTest, FrameMessagesCarryTheRectangleClippedToThePicture)
{
    WebPicture picture;
    Raster().Set(2, 1, 42);
    picture.Update(Raster(), 0, 0, SectorClip::Unclipped(300), 300, 260);
    const std::vector<std::uint8_t> message = picture.EncodeFrame({1, 1, 2, 2}, -3);
    const std::vector<std::uint8_t> expected {
        'F', 2, 44, 1, 4, 1, 1, 0, 1, 0, 2, 0, 2, 0, 0xfd, 0xff, 0, 42, 0, 0};
    EXPECT_EQ(message, expected);
    struct Case {
        FrameRect asked;
        FrameRect sent;
    };
    const Case cases[] = {
        {{-5, -5, 10, 10}, {0, 0, 5, 5}},
        {{290, 250, 100, 100}, {290, 250, 10, 10}},
        {{400, 0, 5, 5}, {300, 0, 0, 5}},
        {{0, 0, -3, 4}, {0, 0, 0, 4}},
        {{2147483000, 0, 2147483000, 1}, {300, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(picture.Clipped(c.asked), c.sent);
        EXPECT_EQ(picture.EncodeFrame(c.asked).size(), kFrameHeaderBytes + std::size_t(c.sent.w * c.sent.h));
    }
}

TEST_F(WebPictureTest, ColourTableMessageKeepsTheOutsideBlack)
{
    ColorTable table {};
    for (int i = 0; i < kColorTableEntries; ++i)
        table[std::size_t(i)] = {std::uint8_t(i), 1, 2};
    const std::vector<std::uint8_t> message = EncodePalette(table);
    ASSERT_EQ(message.size(), kPaletteMessageBytes);
    EXPECT_EQ(message[0], 'P');
    EXPECT_EQ(message[2 + 3 * 7], 7);
    EXPECT_EQ(message[3 + 3 * 7], 1);
    EXPECT_EQ(message[4 + 3 * 7], 2);
    EXPECT_EQ(
        message[2 + 3 * kOutsideIndex] + message[3 + 3 * kOutsideIndex] + message[4 + 3 * kOutsideIndex], 0);
}

} // namespace
} // namespace velmaris
