#pragma once
// What the mouse does to the view's interaction state: left-button drags pan
// the image, "Measure Target" clicks place and lift the measurement anchor.
// Plain state changes on ViewInteraction; the Qt view feeds it client pixels
// and repaints as the results say. UI thread only; nothing here can fail.

#include "image/ViewGeometry.h"

namespace velmaris {

// Left button down at (x, y). Outside measure mode a drag begins; in measure
// mode the first click places the anchor and the second lifts it and ends
// measure mode (one measurement per command). The cursor moves to (x, y) so
// a click with no move before it still draws its line to the click.
void PressLeft(ViewInteraction& view, int x, int y);

// Left button up: the drag ends and its pan is kept for the next drag.
void ReleaseLeft(ViewInteraction& view);

// Mouse at (x, y): the cursor follows and, while dragging, the pan becomes
// the saved pan plus the distance from the drag start. True when the pan
// changed (the view must repaint at once).
bool MoveMouse(ViewInteraction& view, int x, int y);

// "Measure Target": measure mode on or off. An anchor already shown stays
// (its line then reads size 0) until measure mode is on again and the image
// is clicked.
void ToggleMeasureMode(ViewInteraction& view);

// The re-centre request: pan, saved pan and drag start back to 0, the drag
// ended, measure mode and the anchor off.
void RecentreView(ViewInteraction& view);

} // namespace velmaris
