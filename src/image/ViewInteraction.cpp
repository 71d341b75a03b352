#include "image/ViewInteraction.h"

namespace velmaris {

void PressLeft(ViewInteraction& view, int x, int y)
{
    view.cursorX = x;
    view.cursorY = y;
    if (!view.measureMode) {
        view.dragging = true;
        view.dragStartX = x;
        view.dragStartY = y;
    } else if (!view.measurementShown) {
        view.anchorX = x;
        view.anchorY = y;
        view.measurementShown = true;
    } else {
        view.measurementShown = false;
        view.measureMode = false;
        view.targetSize = 0.0;
    }
}

void ReleaseLeft(ViewInteraction& view)
{
    view.dragging = false;
    view.savedPanX = view.panX;
    view.savedPanY = view.panY;
}

bool MoveMouse(ViewInteraction& view, int x, int y)
{
    view.cursorX = x;
    view.cursorY = y;
    if (!view.dragging)
        return false;
    // Client coordinates are bounded by the window, so these sums cannot overflow.
    view.panX = view.savedPanX + x - view.dragStartX;
    view.panY = view.savedPanY + y - view.dragStartY;
    return true;
}

void ToggleMeasureMode(ViewInteraction& view)
{
    view.measureMode = !view.measureMode;
}

void RecentreView(ViewInteraction& view)
{
    Recentre(view);
    view.dragging = false;
    view.measureMode = false;
    view.measurementShown = false;
    view.targetSize = 0.0;
}

} // namespace velmaris
