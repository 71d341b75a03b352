// The side-scan waterfall as the web view sends it: a scroll and the new
// rows instead of the whole picture, and every viewer, paced out or not,
// ending with the station's picture. The page is played by Show(), which
// applies a frame message as the page's script does.
#include <cstring>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "image/ImageRaster.h"
#include "image/SectorClip.h"
#include "web/WebPicture.h"

namespace velmaris {
namespace {

// What a page shows: the picture's indices, kept from frame to frame.
struct Shown {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;

    void Show(const std::vector<std::uint8_t>& m)
    {
        ASSERT_GE(m.size(), kFrameHeaderBytes);
        const auto u16 = [&](int at) { return int(m[std::size_t(at)] | (m[std::size_t(at) + 1] << 8)); };
        const int w = u16(2);
        const int h = u16(4);
        const FrameRect r {u16(6), u16(8), u16(10), u16(12)};
        const int scroll = std::int16_t(u16(14));
        if (w != width || h != height) {
            width = w;
            height = h;
            indices.assign(std::size_t(w) * std::size_t(h), kOutsideIndex);
        }
        if (scroll != 0 && std::abs(scroll) < height) {
            const std::size_t from = std::size_t(std::max(0, -scroll)) * std::size_t(width);
            const std::size_t to = std::size_t(std::max(0, scroll)) * std::size_t(width);
            const std::size_t count = std::size_t(height - std::abs(scroll)) * std::size_t(width);
            std::memmove(indices.data() + to, indices.data() + from, count);
        }
        for (int y = 0; y < r.h; ++y)
            std::memcpy(indices.data() + std::size_t(r.y + y) * std::size_t(width) + std::size_t(r.x),
                m.data() + kFrameHeaderBytes + std::size_t(y) * std::size_t(r.w), std::size_t(r.w));
    }
};

class WebScrollTest : public ::testing::Test {
protected:
    static ImageRaster& Raster()
    {
        static ImageRaster raster;
        return raster;
    }
    void SetUp() override { Raster().Clear(); }

    void Fill(int width, int height)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                Raster().Set(x, y, std::uint8_t(rng_() % 118));
    }
    // One side-scan ping: the raster moves down, a fresh row 0 (no index it held there).
    void Ping(int width)
    {
        Raster().ScrollDown();
        std::uint8_t* row = Raster().Row(0);
        for (int x = 0; x < width; ++x)
            row[x] = std::uint8_t((row[x] + 1 + rng_() % 100) % 118);
    }

    std::mt19937 rng_ {52};
};

TEST_F(WebScrollTest, AnExactShiftIsSentAsAScrollAndTheRowsItDoesNotExplain)
{
    struct Case {
        const char* what;
        int pings;
        int left; // where the raster lies in the window after them (before: 0, 0)
        int top;
        bool touchBelow; // one pixel changed in the rows that moved
        int scroll;
        FrameRect rect;
    };
    const Case cases[] = {
        {"one ping", 1, 0, 0, false, 1, {0, 0, 200, 1}},
        {"three pings and a change", 3, 0, 0, true, 3, {0, 0, 200, 61}},
        {"panned up, nothing painted", 0, 0, -2, false, -2, {0, 98, 200, 2}},
        {"a ping and a pan down", 1, 0, 4, false, 5, {0, 0, 200, 5}},
        {"a ping and a sideways pan: no shift holds", 1, 1, 0, false, 0, {0, 0, 200, 100}},
        {"more rows than the picture", 150, 0, 0, false, 0, {0, 0, 200, 100}},
    };
    const SectorClip all = SectorClip::Unclipped(200);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Raster().Clear();
        Fill(210, 300);
        WebPicture picture;
        Shown page;
        page.Show(picture.EncodeFrame(picture.Update(Raster(), 0, 0, all, 200, 100), picture.Scroll()));
        for (int i = 0; i < c.pings; ++i)
            Ping(210);
        if (c.touchBelow)
            Raster().Set(50, 60, std::uint8_t((Raster().At(50, 60) + 1) % 118));
        const FrameRect rect = picture.Update(Raster(), c.left, c.top, all, 200, 100);
        EXPECT_EQ(picture.Scroll(), c.scroll);
        EXPECT_EQ(rect, c.rect);
        page.Show(picture.EncodeFrame(rect, picture.Scroll()));
        EXPECT_EQ(page.indices, picture.Pixels()) << "the page shows the station's picture";
    }
}

TEST_F(WebScrollTest, AOneRowScrollAtFullHdSendsUnderATenthOfThePicture)
{
    Fill(1920, 1080);
    WebPicture picture;
    const SectorClip all = SectorClip::Unclipped(1920);
    picture.Update(Raster(), 0, 0, all, 1920, 1080);
    Ping(1920);
    const FrameRect rect = picture.Update(Raster(), 0, 0, all, 1920, 1080);
    EXPECT_EQ(picture.Scroll(), 1);
    EXPECT_LT(picture.FrameMessageBytes(rect) * 10, picture.FrameMessageBytes(picture.Whole()));
}

// Ticks of a waterfall with pans, a resize and a clip; a viewer paced out
// for a while must catch up to the same picture as the one that reads.
TEST_F(WebScrollTest, EveryViewerEndsWithTheStationsPictureThroughScrollsItMissed)
{
    struct Tick {
        int pings;
        int top;
        int width;
        bool pie;
        bool stalled;
        int catchUpScroll; // the stalled viewer's scroll once it drains
    };
    const Tick ticks[] = {
        {2, 0, 160, false, false, 0},
        {1, 0, 160, false, true, 0},
        {3, 0, 160, false, true, 0},
        {2, 0, 160, false, true, 0},
        {2, 0, 160, false, false, 8}, // the sum of the four it missed
        {0, -3, 160, false, false, -3}, // panned
        {4, -3, 160, true, false, 0}, // the clip holds still while the raster moves: no shift
        {1, -3, 160, true, true, 0},
        {2, 5, 160, false, true, 0},
        {1, 5, 160, false, false, 0}, // owed the whole picture already
        {0, 9, 160, false, true, 0},
        {3, 9, 160, false, false, 7},
        {50, 9, 160, false, true, 0},
        {40, 9, 160, false, true, 0}, // with the ones it missed, more than the picture
        {1, 9, 160, false, false, 0},
        {1, 9, 120, false, true, 0}, // resized
        {2, 9, 120, false, false, 0},
    };
    Fill(200, 200);
    WebPicture picture;
    WebViewers viewers;
    const int reader = viewers.Admit({0, 0, kMaxPictureSide, kMaxPictureSide});
    const int stalled = viewers.Admit({0, 0, kMaxPictureSide, kMaxPictureSide});
    Shown readerPage;
    Shown stalledPage;
    int scrolls = 0;
    for (const Tick& t : ticks) {
        SCOPED_TRACE(testing::Message() << "tick " << (&t - ticks));
        for (int i = 0; i < t.pings; ++i)
            Ping(200);
        const SectorClip clip
            = t.pie ? SectorClip(t.width, 80, 40, 60, 30.0f, 200.0f) : SectorClip::Unclipped(t.width);
        const FrameRect changed = picture.Update(Raster(), 0, t.top, clip, t.width, 80);
        viewers.Scrolled(picture.Scroll(), picture.Whole());
        viewers.Changed(changed, false, false);
        scrolls += picture.Scroll() != 0;
        for (auto [id, page, unsent] : {std::tuple {reader, &readerPage, std::size_t(0)},
                 std::tuple {stalled, &stalledPage, t.stalled ? kMaxUnsentBytes + 1 : 0}}) {
            const ViewerDue due = viewers.TakeDue(id, unsent);
            if (id == stalled && !t.stalled) {
                EXPECT_EQ(due.scroll, t.catchUpScroll);
            }
            if (due.scroll != 0 || !picture.Clipped(due.rect).Empty())
                page->Show(picture.EncodeFrame(due.rect, due.scroll));
        }
        EXPECT_EQ(readerPage.indices, picture.Pixels());
        if (!t.stalled) {
            EXPECT_EQ(stalledPage.indices, picture.Pixels()) << "caught up";
        }
    }
    EXPECT_GE(scrolls, 5) << "the ticks were sent as scrolls";
}

} // namespace
} // namespace velmaris
