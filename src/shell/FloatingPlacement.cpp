#include "shell/FloatingPlacement.h"

#include <algorithm>

namespace velmaris {

namespace {

bool Overlap(int a0, int a1, int b0, int b1)
{
    return a0 < b1 && b0 < a1;
}

} // namespace

PlaceRect KeptOnScreen(PlaceRect window, const PlaceRect& screen)
{
    // Right and bottom first, so a window too large for the screen ends
    // with its top-left corner (title bar) on the screen.
    window.x = std::min(window.x, screen.Right() - window.width);
    window.y = std::min(window.y, screen.Bottom() - window.height);
    window.x = std::max(window.x, screen.x);
    window.y = std::max(window.y, screen.y);
    return window;
}

PlaceRect FirstFloatingPlace(const PlaceRect& image, int width, int height,
    const std::vector<PlaceRect>& taken, const PlaceRect& screen)
{
    PlaceRect place {image.Right() - kFloatingMargin - width, image.y + kFloatingMargin, width, height};
    // Columns from the right edge leftwards; in each, below what is there.
    for (int column = 0; column <= static_cast<int>(taken.size()); ++column) {
        bool moved = true;
        while (moved) {
            moved = false;
            for (const PlaceRect& other : taken) {
                if (Overlap(place.x, place.Right(), other.x, other.Right())
                    && Overlap(place.y, place.Bottom(), other.y, other.Bottom())) {
                    place.y = other.Bottom() + kFloatingMargin;
                    moved = true;
                }
            }
        }
        if (place.Bottom() <= image.Bottom() || taken.empty())
            break;
        // The column is full: start a new one left of the leftmost window in it.
        int left = place.x;
        for (const PlaceRect& other : taken)
            if (Overlap(place.x, place.Right(), other.x, other.Right()))
                left = std::min(left, other.x);
        place.x = left - kFloatingMargin - width;
        place.y = image.y + kFloatingMargin;
    }
    return KeptOnScreen(place, screen);
}

} // namespace velmaris
