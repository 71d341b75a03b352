#include "image/qt/StrokeCache.h"

#include <gtest/gtest.h>

#include <QImage>

#include "image/ViewSource.h"
#include "image/qt/ViewRenderer.h"
#include "support/FakeViewSource.h"

namespace velmaris {
namespace {

using FakeSource = testing::FakeViewSource;

// Frames drawn with the cache are the frames the painter draws without it,
// pixel for pixel: while a grid stays (recorded on its second frame, copied
// after), when it changes and comes back, and while the picture is dragged
// (a new grid every frame, never recorded).
TEST(StrokeCacheTest, CachedFramesAreThePaintersFrames)
{
    struct Case {
        const char* name;
        DisplayMode mode;
        int grid;
        double zoom;
        int panStep; // pixels the picture moves each frame
        bool recorded;
    };
    static const Case kCases[] = {
        {"polar rings", DisplayMode::Polar, 1, 1.0, 0, true},
        {"sector rings", DisplayMode::Sector, 1, 2.0, 0, true},
        {"rectangular grid", DisplayMode::Polar, 2, 0.5, 0, true},
        {"side-scan lines", DisplayMode::SideScan, 1, 1.0, 0, true},
        {"polar rings again", DisplayMode::Polar, 1, 1.0, 0, true},
        {"dragged", DisplayMode::Polar, 1, 1.0, 7, false},
    };
    FakeSource source;
    for (int y = 0; y < ImageRaster::kHeight; y += 3) {
        for (int x = 0; x < ImageRaster::kWidth; x += 5) {
            source.state.raster.Set(x, y, std::uint8_t(1 + (x + y) % 117));
        }
    }
    source.state.command[CommandMessage::kSectorWidth] = 40;
    source.status.linkState = LinkState::Up;
    source.status.colorIndicator = true;
    ViewInteraction cachedView;
    ViewInteraction plainView;
    StrokeCache strokes;
    QImage cached(640, 480, QImage::Format_RGB32);
    QImage plain(640, 480, QImage::Format_RGB32);
    for (const Case& c : kCases) {
        SonarSettings& s = source.state.settings;
        s.sectorMode = c.mode;
        s.grid = c.grid;
        s.zoom = c.zoom;
        for (int frame = 0; frame < 3; ++frame) {
            source.state.ping.headAngle = 30.0 + frame; // the head line moves every frame
            cachedView.panX = plainView.panX = c.panStep * frame;
            RenderViewFrame(cached, source, cachedView, strokes);
            RenderViewFrame(plain, source, plainView);
            ASSERT_EQ(cached, plain) << c.name << ", frame " << frame;
        }
        EXPECT_EQ(strokes.Recorded() > 0, c.recorded) << c.name;
    }
}

} // namespace
} // namespace velmaris
