#include "image/ViewInteraction.h"

namespace velmaris {

void PressLeft(ViewInteraction& view, int x, int y)
{
    view.cursorX = x;
    view.cursorY = y;
    if (view.measureMode == 0) {
        view.dragging = 1;
        view.dragStartX = x;
        view.dragStartY = y;
    } else if (view.measurementShown == 0) {
        view.anchorX = x;
        view.anchorY = y;
        view.measurementShown = 1;
    } else {
        view.measurementShown = 0;
        view.measureMode = 0;
        view.targetSize = 0.0;
    }
}

void ReleaseLeft(ViewInteraction& view)
{
    view.dragging = 0;
    view.savedPanX = view.panX;
    view.savedPanY = view.panY;
}

bool MoveMouse(ViewInteraction& view, int x, int y)
{
    view.cursorX = x;
    view.cursorY = y;
    if (view.dragging == 0) {
        return false;
    }
    // Client coordinates are bounded by the window, so these sums cannot overflow.
    view.panX = view.savedPanX + x - view.dragStartX;
    view.panY = view.savedPanY + y - view.dragStartY;
    return true;
}

void ToggleMeasureMode(ViewInteraction& view)
{
    view.measureMode = view.measureMode != 0 ? 0 : 1;
}

void RecentreView(ViewInteraction& view)
{
    Recentre(view);
    view.dragging = 0;
    view.measureMode = 0;
    view.measurementShown = 0;
    view.targetSize = 0.0;
}

} // namespace velmaris
