#pragma once
// The cursor read-outs: target size, range, bearing and horizontal and
// vertical offsets of the cursor from the sonar origin, and their status-bar
// texts. One view pixel is R / z / 500 metres, R the range in metres and z
// the zoom. Plain arithmetic on client pixels; UI thread, nothing shared.

#include <string>

#include "image/ViewGeometry.h"
#include "protocol/SonarSettings.h"

namespace velmaris {

// The values the status bar shows, in metres and degrees.
struct CursorReading {
    double targetSize = 0.0; // anchor to cursor while measuring, else 0
    double range = 0.0; // origin to cursor
    double bearing = 0.0; // clockwise from screen-up, 0 <= b < 360
    double horizontal = 0.0; // (origin x - x) scaled: positive left of the origin
    double vertical = 0.0; // (origin y - y) scaled: positive above the origin
};

// What the read-out needs besides the mouse.
struct ReadoutFrame {
    int cx = 0; // client size
    int cy = 0;
    double zoom = 1.0;
    DisplayMode displayMode = DisplayMode::Sector; // `Sector Mode`
    int rangeIndex = 0; // into the 15-entry range table (clamped)
};

// Metres per view pixel: R / z / 500; 0 for a zoom that is not a positive number.
double MetresPerPixel(int rangeIndex, double zoom);

// The read-out origin for a cursor on row y: the sonar origin (cx / 2 +
// pan x, cy / 2 + pan y); in SideScan the strip's left edge
// (trunc(cx / 2 - 250 z + pan x)) on the cursor's own row.
ScreenPoint ReadoutOrigin(const ReadoutFrame& frame, int panX, int panY, int y);

// Updates `reading` for a cursor at (x, y) with the view's pan and anchor.
// In SideScan the bearing keeps its last value. A cursor exactly on the
// origin reads bearing 0.
void ReadCursor(const ReadoutFrame& frame, const ViewInteraction& view, int x, int y, CursorReading& reading);

// The pane texts. Distances "%.2f m", or "%.2f ft" of metres / 0.3048 when
// metricScale is 1; the bearing "%.1f deg.".
struct ReadoutTexts {
    std::string targetSize; // empty when the size is exactly 0
    std::string range;
    std::string bearing; // "n/a" in SideScan
    std::string horizontal; // negated: positive right of the origin
    std::string vertical; // "n/a" in SideScan
};
ReadoutTexts FormatReadouts(const CursorReading& reading, int metricScale, DisplayMode displayMode);

} // namespace velmaris
