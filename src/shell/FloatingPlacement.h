#pragma once
// Where the floating windows (settings panel, diagnostics window) appear:
// the first time over the top-right corner of the main window's image,
// below the windows already placed there, so none covers a menu or a bar;
// afterwards where the operator left them, always kept on the screen.
//
// All rectangles are in the desktop's logical pixels (the same at any
// device pixel ratio) and include the window frame. Plain C++.

#include <vector>

namespace velmaris {

struct PlaceRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

inline constexpr int kFloatingMargin
    = 20; // pixels between the image's edge (and its colour scale) and a window

// First position of a window of `width` by `height` over `image`, below
// (or, when the column is full, left of) the rectangles in `taken`, kept
// inside `screen`.
PlaceRect FirstFloatingPlace(const PlaceRect& image, int width, int height,
    const std::vector<PlaceRect>& taken, const PlaceRect& screen);

// `window` moved the least distance needed to lie wholly inside `screen`; a
// window larger than the screen keeps its top-left corner on it.
PlaceRect KeptOnScreen(PlaceRect window, const PlaceRect& screen);

} // namespace velmaris
