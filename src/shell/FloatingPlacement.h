#pragma once
// Where the floating windows (settings panel, diagnostics window) appear the
// first time: on the screen, over no menu, no bar, none of the view's texts
// and no other floating window; beside the sonar picture when there is room,
// otherwise where they hide the least of it; of equal choices the one
// nearest the view's top-right corner. Afterwards they stay where the
// operator left them, only kept on the screen.
//
// All rectangles are in the desktop's logical pixels (the same at any
// device pixel ratio); a window's includes its frame. Plain C++, no state.

#include <vector>

namespace velmaris {

struct PlaceRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; } // exclusive
    int Bottom() const { return y + height; } // exclusive
    bool Intersects(const PlaceRect& other) const
    {
        return x < other.Right() && other.x < Right() && y < other.Bottom() && other.y < Bottom();
    }
    friend bool operator==(const PlaceRect&, const PlaceRect&) = default;
};

// Pixels kept free between a floating window and a text, a bar or another
// floating window.
inline constexpr int kFloatingGap = 8;

// Of places that hide some of the picture, those hiding up to this share
// of the window's area more than the least count as hiding the least.
inline constexpr double kHiddenSlack = 0.05;

// The sonar picture: the fan's disk about the sonar origin (Sector and
// Polar modes) and the waterfall strip (SideScan); an empty part counts
// for nothing.
struct PictureArea {
    int centreX = 0;
    int centreY = 0;
    int radius = 0;
    PlaceRect strip;
};

struct PlacementScene {
    PlaceRect screen; // the screen's free area
    // The main window with its frame, and its view: all of the main window
    // outside the view is title, menus, bars and status bar, kept clear.
    PlaceRect frame;
    PlaceRect view;
    PictureArea picture;
    // The view's texts, the colour indicator and the floating windows
    // already shown, kept clear with kFloatingGap around them.
    std::vector<PlaceRect> keepClear;
};

// The first place of a window of `width` by `height` in `scene`.
PlaceRect FirstFloatingPlace(const PlacementScene& scene, int width, int height);

// How much of the picture `window` hides, in square pixels (only what of
// the picture lies inside the view counts).
double HiddenPicture(const PlacementScene& scene, const PlaceRect& window);

// `window` moved the least distance needed to lie wholly inside `screen`; a
// window larger than the screen keeps its top-left corner on it.
PlaceRect KeptOnScreen(PlaceRect window, const PlaceRect& screen);

} // namespace velmaris
