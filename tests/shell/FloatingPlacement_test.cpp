#include "shell/FloatingPlacement.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

const PlaceRect kScreen {0, 0, 1600, 1000};
const PlaceRect kImage {0, 130, 1600, 840}; // below the menus and bars

TEST(FloatingPlacementTest, FirstWindowSitsInTheImagesTopRightCorner)
{
    const PlaceRect at = FirstFloatingPlace(kImage, 300, 200, {}, kScreen);
    EXPECT_EQ(at.x, 1600 - kFloatingMargin - 300);
    EXPECT_EQ(at.y, 130 + kFloatingMargin); // below the menus, not over them
}

TEST(FloatingPlacementTest, LaterWindowsStackBelowThenStartANewColumn)
{
    const PlaceRect panel = FirstFloatingPlace(kImage, 300, 200, {}, kScreen);
    const PlaceRect diag = FirstFloatingPlace(kImage, 250, 500, {panel}, kScreen);
    EXPECT_EQ(diag.y, panel.Bottom() + kFloatingMargin);
    EXPECT_EQ(diag.Right(), panel.Right());
    // No room below both: a column to the left, back at the top.
    const PlaceRect third = FirstFloatingPlace(kImage, 200, 300, {panel, diag}, kScreen);
    EXPECT_EQ(third.y, 130 + kFloatingMargin);
    EXPECT_EQ(third.Right(), panel.x - kFloatingMargin);
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

TEST(FloatingPlacementTest, FirstPlaceStaysOnASmallScreen)
{
    const PlaceRect smallScreen {0, 0, 640, 480};
    const PlaceRect image {0, 130, 640, 350};
    const PlaceRect at = FirstFloatingPlace(image, 300, 500, {}, smallScreen);
    EXPECT_GE(at.x, 0);
    EXPECT_EQ(at.y, 0); // too tall: pushed up to the screen's top
    EXPECT_LE(at.Right(), 640);
}

} // namespace
} // namespace velmaris
