#include "image/SectorClip.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

namespace velmaris {

void PrintTo(const PixelSpan& s, std::ostream* os)
{
    *os << "[" << s.begin << ", " << s.end << ")";
}

namespace {

std::vector<PixelSpan> Spans(const SectorClip& clip, int y)
{
    PixelSpan out[2];
    const int n = clip.RowSpans(y, out);
    return std::vector<PixelSpan>(out, out + n);
}

using V = std::vector<PixelSpan>;

// A 3000-pixel-wide window with the sonar origin at (1500, 1500) and the
// zoom-1 clip radius of 1000, so the whole pie lies inside.
struct ClipCase {
    SonarSettings settings;
    CommandMessage command;
    ViewGeometry geo = ComputeViewGeometry(3000, 3000, 1.0, DisplayMode::Polar, 0, 0);

    SectorClip Make(int width, int train, double rotate = 0.0, int zeroDown = 0)
    {
        command[CommandMessage::kSectorWidth] = std::uint8_t(width);
        settings.trainAngleDegrees = train;
        settings.rotateImage = rotate;
        settings.zeroDown = zeroDown;
        return MakeViewClip(geo, settings, command);
    }
};

TEST(SectorClipTest, FullCircleIsTheDiscOfRadiusThousandZoom)
{
    ClipCase c;
    const SectorClip clip = c.Make(120, 0);
    EXPECT_EQ(Spans(clip, 1500), (V {{500, 2501}}));
    EXPECT_EQ(Spans(clip, 500), (V {{1500, 1501}}));
    EXPECT_EQ(Spans(clip, 2500), (V {{1500, 1501}}));
    EXPECT_TRUE(Spans(clip, 499).empty());
    EXPECT_TRUE(Spans(clip, 2501).empty());
    // A row 600 above: half chord sqrt(1000^2 - 600^2) = 800.
    EXPECT_EQ(Spans(clip, 900), (V {{700, 2301}}));

    // At zoom 2 the radius is 2000; the window cuts the spans.
    c.geo = ComputeViewGeometry(3000, 3000, 2.0, DisplayMode::Polar, 0, 0);
    const SectorClip z2 = c.Make(120, 0);
    EXPECT_EQ(Spans(z2, 1500), (V {{0, 3000}}));
    EXPECT_EQ(Spans(z2, 0), (V {{178, 2823}})); // half chord sqrt(2000^2 - 1500^2) = 1322.88
}

TEST(SectorClipTest, ZeroWidthShowsNothing)
{
    ClipCase c;
    const SectorClip clip = c.Make(0, 0);
    for (int y = 0; y < 3000; y += 97) {
        EXPECT_TRUE(Spans(clip, y).empty()) << y;
    }
}

TEST(SectorClipTest, SectorAtTrainZeroOpensUpward)
{
    ClipCase c;
    // 180 degrees (W 60) about screen-up: the upper half of the disc.
    const SectorClip half = c.Make(60, 0);
    EXPECT_EQ(Spans(half, 900), (V {{700, 2301}}));
    EXPECT_TRUE(Spans(half, 1501).empty());
    EXPECT_TRUE(Spans(half, 2100).empty());

    // 30 degrees (W 10): |x| <= dy tan 15 degrees = 133.97 at 500 above.
    const SectorClip narrow = c.Make(10, 0);
    EXPECT_EQ(Spans(narrow, 1000), (V {{1367, 1634}}));
    EXPECT_TRUE(Spans(narrow, 1600).empty());
}

TEST(SectorClipTest, RotationTrainAndZeroDownTurnTheSector)
{
    ClipCase c;
    // Rotate Image 90: the 30-degree sector points right.
    const SectorClip right = c.Make(10, 0, 90.0);
    EXPECT_EQ(Spans(right, 1400), (V {{1874, 2495}})); // x >= 100 / tan 15 degrees = 373.2
    EXPECT_TRUE(Spans(right, 1000).empty());
    // Train 90 does the same.
    EXPECT_EQ(Spans(c.Make(10, 90), 1400), (V {{1874, 2495}}));
    // Zero Down adds half a turn: the sector points down.
    const SectorClip down = c.Make(10, 0, 0.0, 1);
    EXPECT_EQ(Spans(down, 2000), (V {{1367, 1634}}));
    EXPECT_TRUE(Spans(down, 1000).empty());
}

TEST(SectorClipTest, SectorWiderThanHalfATurnGivesTwoSpans)
{
    ClipCase c;
    // 300 degrees about screen-up leaves out a 60-degree wedge pointing down.
    const SectorClip clip = c.Make(100, 0);
    EXPECT_EQ(Spans(clip, 2000), (V {{634, 1212}, {1789, 2367}}));
    EXPECT_EQ(Spans(clip, 1000), (V {{634, 2367}}));
}

TEST(SectorClipTest, SpansStayInsideTheWindow)
{
    // Origin far outside the window to the left: only the disc's right part shows.
    const SectorClip clip(200, -900, 100, 1000, -90.0f, 360.0f);
    EXPECT_EQ(Spans(clip, 100), (V {{0, 101}}));
    const SectorClip beyond(200, -2000, 100, 1000, -90.0f, 360.0f);
    EXPECT_TRUE(Spans(beyond, 100).empty());
    EXPECT_TRUE(Spans(SectorClip(0, 0, 0, 1000, 0.0f, 360.0f), 0).empty());
}

TEST(SectorClipTest, SideScanIsUnclipped)
{
    ClipCase c;
    c.settings.sectorMode = DisplayMode::SideScan;
    c.geo = ComputeViewGeometry(640, 480, 1.0, DisplayMode::SideScan, 0, 0);
    const SectorClip clip = c.Make(0, 0);
    EXPECT_TRUE(clip.IsUnclipped());
    EXPECT_EQ(Spans(clip, 0), (V {{0, 640}}));
    EXPECT_EQ(Spans(clip, 479), (V {{0, 640}}));
}

} // namespace
} // namespace velmaris
