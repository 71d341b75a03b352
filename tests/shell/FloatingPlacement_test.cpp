// Where the floating windows first appear: over no menu, bar, view text or
// other window, beside the sonar picture when the screen leaves room, else
// hiding the least of it; and the text areas that rule keeps clear.

#include "shell/FloatingPlacement.h"
#include "shell/ViewKeepClear.h"

#include "image/ViewGeometry.h"
#include "image/ViewSource.h"
#include "image/ViewTexts.h"
#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

#include <gtest/gtest.h>

#include <variant>

namespace velmaris {
namespace {

// Wider than the view's fonts draw: a text area measured with it holds the text.
int FakeWidth(ViewFont font, std::string_view text)
{
    return int(text.size()) * (font == ViewFont::A ? 13 : 11);
}

bool Inside(const PlaceRect& inner, const PlaceRect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right()
        && inner.Bottom() <= outer.Bottom();
}

PlaceRect TextRect(const ViewText& text)
{
    return {text.x, text.y, FakeWidth(text.font, text.text), text.font == ViewFont::A ? 24 : 20};
}

TEST(ViewKeepClearTest, TheAreasHoldEveryTextTheViewDraws)
{
    for (const int cx : {1600, 1024}) {
        const int cy = cx == 1600 ? 840 : 610;
        const std::vector<PlaceRect> areas = ViewTextAreas(cx, cy, FakeWidth);
        std::vector<PlaceRect> drawn;
        SonarSettings settings;
        settings.rangeIndex = 14;
        settings.grid = 1;
        CommandMessage command;
        command[CommandMessage::kFrequency] = 185;
        command[CommandMessage::kGain] = 40;
        for (const int feet : {0, 1}) {
            settings.metricScale = feet;
            for (const ViewText& t : RangeReadouts(settings, command))
                drawn.push_back(TextRect(t));
        }
        // Held; live recording or not; playing back or copying; six dots, a big file.
        for (const auto& [held, playback, recording] : {std::tuple {1, 0, 0}, std::tuple {0, 0, 1},
                 std::tuple {0, 0, 0}, std::tuple {0, 1, 0}, std::tuple {0, 1, 1}}) {
            ViewStatus status;
            status.held = held;
            status.playback = playback;
            status.recording = recording;
            status.pingCount = 6;
            status.outputFileLength = 99'999'999LL * 1024;
            for (const ViewText& t : StatusLine(status, 1, cx)) {
                PlaceRect r = TextRect(t);
                r.width = std::min(r.width, cx - r.x); // the view cuts it at its edge
                drawn.push_back(r);
            }
        }
        // Every status box, its frame and its text.
        for (const auto& [sonarType, playback, linkState, blink] :
            {std::tuple {SonarType::SerialK52A, 0, LinkState::Down, 1},
                std::tuple {SonarType::SerialK52A, 0, LinkState::Down, 0},
                std::tuple {SonarType::EthernetK52L, 0, LinkState::Down, 0},
                std::tuple {SonarType::SerialK52A, 1, LinkState::Up, 0},
                std::tuple {SonarType::EthernetK52L, 1, LinkState::Up, 0}}) {
            ViewStatus status;
            status.sonarType = sonarType;
            status.playback = playback;
            status.linkState = linkState;
            status.awaitingReply = true;
            status.blinkToggle = true;
            status.sonarComPort = 32;
            status.headAddress = "255.255.255.255";
            ViewInteraction view;
            view.blinkState = blink;
            ViewScene scene;
            AppendStatusBox(scene, status, view, cx, cy);
            ASSERT_FALSE(scene.empty());
            for (const ViewItem& item : scene) {
                if (const auto* box = std::get_if<ViewBox>(&item))
                    drawn.push_back({box->left, box->top, box->right - box->left, box->bottom - box->top});
                else if (const auto* text = std::get_if<ViewText>(&item))
                    drawn.push_back(TextRect(*text));
            }
        }
        for (const PlaceRect& r : drawn) {
            bool held = false;
            for (const PlaceRect& area : areas)
                held = held || Inside(r, area);
            EXPECT_TRUE(held) << "cx " << cx << ": text at " << r.x << "," << r.y << " " << r.width << "x"
                              << r.height << " lies in no area";
        }
    }
}

// A maximised main window: title, menus, toolbar and bars above the view,
// the status bar below it.
PlacementScene MaximisedScene(int screenWidth, int screenHeight, DisplayMode sectorMode, double zoom,
    const std::vector<PlaceRect>& windows = {})
{
    PlacementScene scene;
    scene.screen = {0, 0, screenWidth, screenHeight};
    scene.frame = scene.screen;
    scene.view = {0, 120, screenWidth, screenHeight - 120 - 25};
    const int cx = scene.view.width;
    const int cy = scene.view.height;
    for (const PlaceRect& area : ViewTextAreas(cx, cy, FakeWidth))
        scene.keepClear.push_back(Moved(area, scene.view.x, scene.view.y));
    scene.keepClear.insert(scene.keepClear.end(), windows.begin(), windows.end());
    scene.picture = Moved(ViewPicture(cx, cy, zoom, sectorMode), scene.view.x, scene.view.y);
    return scene;
}

// Nothing but picture under it: on the screen, inside the view or off the
// main window, clear of every text and window by the gap.
bool CoversNothing(const PlacementScene& scene, const PlaceRect& at)
{
    if (!Inside(at, scene.screen))
        return false;
    const PlaceRect inner {scene.view.x + kFloatingGap, scene.view.y + kFloatingGap,
        scene.view.width - 2 * kFloatingGap, scene.view.height - 2 * kFloatingGap};
    if (at.Intersects(scene.frame) && !Inside(at, inner))
        return false;
    for (const PlaceRect& clear : scene.keepClear) {
        const PlaceRect grown {clear.x - kFloatingGap, clear.y - kFloatingGap, clear.width + 2 * kFloatingGap,
            clear.height + 2 * kFloatingGap};
        if (at.Intersects(grown))
            return false;
    }
    return true;
}

// The least picture any free place hides, found by trying every place on
// an 8-pixel grid.
double LeastHidden(const PlacementScene& scene, int width, int height)
{
    double least = -1;
    for (int y = scene.screen.y; y + height <= scene.screen.Bottom(); y += 8)
        for (int x = scene.screen.x; x + width <= scene.screen.Right(); x += 8) {
            const PlaceRect at {x, y, width, height};
            if (!CoversNothing(scene, at))
                continue;
            const double hidden = HiddenPicture(scene, at);
            least = least < 0 ? hidden : std::min(least, hidden);
        }
    return least;
}

struct PlaceCase {
    const char* name;
    int screenWidth;
    int screenHeight;
    DisplayMode sectorMode;
    double zoom;
    PlaceRect first; // size of the first window (x, y ignored)
    PlaceRect second; // of the one placed after it
    bool beside; // both fit with nothing of the picture hidden
};

class FirstPlaceTest : public ::testing::TestWithParam<PlaceCase> { };

TEST_P(FirstPlaceTest, CoversNothingAndHidesTheLeastOfThePicture)
{
    const PlaceCase& c = GetParam();
    std::vector<PlaceRect> placed;
    for (const PlaceRect& size : {c.first, c.second}) {
        const PlacementScene scene
            = MaximisedScene(c.screenWidth, c.screenHeight, c.sectorMode, c.zoom, placed);
        const PlaceRect at = FirstFloatingPlace(scene, size.width, size.height);
        SCOPED_TRACE(testing::Message() << "window " << placed.size() << " at " << at.x << "," << at.y);
        EXPECT_EQ(at.width, size.width);
        EXPECT_TRUE(CoversNothing(scene, at));
        const double hidden = HiddenPicture(scene, at);
        if (c.beside) {
            EXPECT_EQ(hidden, 0.0);
        }
        const double least = LeastHidden(scene, size.width, size.height);
        ASSERT_GE(least, 0.0) << "no free place at all";
        EXPECT_LE(hidden, least + (least > 0 ? kHiddenSlack * size.width * size.height : 0.0) + 1.0);
        placed.push_back(at);
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, FirstPlaceTest,
    ::testing::Values(
        // The diagnostics window fits beside the fan, the wide panel does
        // not: it takes a corner.
        PlaceCase {
            "WidePolar", 1600, 1000, DisplayMode::Polar, 1.0, {0, 0, 264, 365}, {0, 0, 485, 255}, false},
        PlaceCase {"WideDiagnosticsThenSmall", 1600, 1000, DisplayMode::Sector, 1.0, {0, 0, 264, 365},
            {0, 0, 260, 300}, true},
        PlaceCase {
            "WideHalfZoom", 1600, 1000, DisplayMode::Polar, 0.5, {0, 0, 485, 255}, {0, 0, 264, 365}, true},
        PlaceCase {
            "WideSideScan", 1600, 1000, DisplayMode::SideScan, 1.0, {0, 0, 485, 255}, {0, 0, 264, 365}, true},
        PlaceCase {
            "NarrowPolar", 1024, 768, DisplayMode::Polar, 1.0, {0, 0, 485, 255}, {0, 0, 264, 365}, false},
        PlaceCase {
            "NarrowZoomed", 1024, 768, DisplayMode::Polar, 2.0, {0, 0, 264, 365}, {0, 0, 485, 255}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FirstPlaceTest, OffTheMainWindowWhenItLeavesTheScreenFree)
{
    PlacementScene scene = MaximisedScene(1600, 1000, DisplayMode::Polar, 2.0);
    scene.screen = {0, 0, 2200, 1000}; // the main window covers only the left of it
    const PlaceRect at = FirstFloatingPlace(scene, 485, 255);
    EXPECT_GE(at.x, scene.frame.Right());
    EXPECT_EQ(HiddenPicture(scene, at), 0.0);
}

TEST(FirstPlaceTest, TooLargeForTheScreenKeepsItsTitleBarOnIt)
{
    const PlacementScene scene = MaximisedScene(640, 480, DisplayMode::Polar, 1.0);
    const PlaceRect at = FirstFloatingPlace(scene, 700, 500);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

struct OnScreenCase {
    PlaceRect window;
    PlaceRect screen;
    int x;
    int y;
};

class KeptOnScreenTest : public ::testing::TestWithParam<OnScreenCase> { };

TEST_P(KeptOnScreenTest, MovesTheLeastNeeded)
{
    const OnScreenCase& c = GetParam();
    const PlaceRect kept = KeptOnScreen(c.window, c.screen);
    EXPECT_EQ(kept.x, c.x);
    EXPECT_EQ(kept.y, c.y);
    EXPECT_EQ(kept.width, c.window.width);
}

const PlaceRect kScreen {0, 0, 1600, 1000};

INSTANTIATE_TEST_SUITE_P(Cases, KeptOnScreenTest,
    ::testing::Values(OnScreenCase {{100, 100, 300, 200}, kScreen, 100, 100}, // already on screen
        OnScreenCase {{1500, 900, 300, 200}, kScreen, 1300, 800}, // off the bottom right
        OnScreenCase {{-50, -20, 300, 200}, kScreen, 0, 0}, // off the top left
        // A 2x screen of 3200 device pixels is 1600 logical ones wide: the
        // window seen in logical pixels stays inside.
        OnScreenCase {{1400, 100, 300, 200}, {0, 0, 1600, 900}, 1300, 100},
        // Larger than the screen: its title bar stays reachable.
        OnScreenCase {{200, 200, 900, 700}, {0, 0, 800, 600}, 0, 0},
        // A second screen to the right.
        OnScreenCase {{1500, 50, 300, 200}, {1600, 0, 1280, 1024}, 1600, 50}));

} // namespace
} // namespace velmaris
