#pragma once
// What of the sonar view a floating window must leave in sight, in the
// view's own pixels (origin at its top-left): the areas where the view
// draws its texts and colour indicator, and the sonar picture. Each text
// area is that of the widest text the view can show there, measured by the
// caller's fonts. Plain C++, no state.

#include <functional>
#include <string_view>
#include <vector>

#include "image/ViewScene.h"
#include "shell/FloatingPlacement.h"

namespace velmaris {

// Width in pixels of `text` drawn in the view's font.
using ViewTextWidth = std::function<int(ViewFont font, std::string_view text)>;

// The areas of a view of cx by cy: the range, frequency, scale and gain
// read-outs at the top left; the hold, recording or playback status and the
// kilobyte count at the top right; the connection status box at the bottom
// centre; the colour indicator at the right edge.
std::vector<PlaceRect> ViewTextAreas(int cx, int cy, const ViewTextWidth& width);

// The picture of a view of cx by cy at `zoom`: the fan's disk about the
// centre in the Sector and Polar modes, the waterfall strip in SideScan.
PictureArea ViewPicture(int cx, int cy, double zoom, DisplayMode sectorMode);

// The same moved by (dx, dy), for the desktop coordinates of the view.
PlaceRect Moved(PlaceRect r, int dx, int dy);
PictureArea Moved(PictureArea p, int dx, int dy);

} // namespace velmaris
