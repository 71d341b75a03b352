#pragma once
// Where the raster and the sonar origin land in the view's window, and the
// view's own interaction state (pan, drag, measurement, status blink) that
// mouse handling changes and painting reads.

#include "protocol/SonarSettings.h"

namespace velmaris {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// View state kept by the view between paints. Pixels in client coordinates.
struct ViewInteraction {
    int panX = 0; // sonar origin offset from the window centre
    int panY = 0;
    int savedPanX = 0; // pan at the end of the last drag
    int savedPanY = 0;
    bool dragging = false; // a left-button drag of the image is in progress
    int dragStartX = 0;
    int dragStartY = 0;
    bool measureMode = false; // "Measure Target" is on
    bool measurementShown = false; // an anchor has been placed: the overlay is drawn
    int anchorX = 0;
    int anchorY = 0;
    int cursorX = 0; // last mouse position
    int cursorY = 0;
    double targetSize = 0.0; // metres from the anchor to the cursor
    bool blinkState = false; // alternates "No Connection" with the port or address
    int blinkCounter = 0;
};

// Pan, saved pan and drag start back to 0 (the re-centre request).
void Recentre(ViewInteraction& view);

struct ViewGeometry {
    int width = 0; // client size cx, cy
    int height = 0;
    double zoom = 1.0;
    int panX = 0;
    int panY = 0;
    int imageX = 0; // x0: raster left edge before pan
    int imageY = 0; // y0: raster top edge before pan (0 in SideScan)
    int rasterLeft = 0; // x0 + pan x: where raster column 0 lands
    int rasterTop = 0; // y0 + pan y
    int originX = 0; // sonar origin on screen: cx / 2 + pan x
    int originY = 0; // cy / 2 + pan y
};

// x0 = trunc(cx / 2 - 500 z), y0 = trunc(cy / 2 - 500 z) (0 in SideScan),
// with cx / 2 in whole pixels; the sonar origin is the window centre plus
// pan. Saturates rather than overflows for absurd zooms or pans.
ViewGeometry ComputeViewGeometry(int cx, int cy, double zoom, DisplayMode displayMode, int panX, int panY);

// End of the head-position line from the sonar origin: length 500 z along
// the ping's head angle, advanced by one step (step code x 0.3 degrees) when
// the head sweeps backward; 0 degrees points up, angles grow clockwise.
ScreenPoint HeadLineEnd(
    const ViewGeometry& geo, double headAngle, int stepCode, int directionFlag, int sonarUpDown);

} // namespace velmaris
