#pragma once
// One complete frame of the sonar view, drawn off screen: the requests of
// the document served, the raster through the selected colour table inside
// the sector clip (black elsewhere), the overlays, the colour indicator bar.
// User-interface thread only (it reads the document without locks).

#include <QImage>

#include "image/ViewGeometry.h"
#include "image/ViewScene.h"

class QPainter;

namespace velmaris {

class StrokeCache;
class ViewSource;

// Renders into frame, which must be a non-null Format_RGB32 (or ARGB32)
// image of the window's size; anything else is left untouched. With a
// stroke cache (the view's own, kept from frame to frame) the grid's rings
// and lines are copied where they are unchanged: the same pixels, sooner.
void RenderViewFrame(QImage& frame, ViewSource& source, ViewInteraction& view);
void RenderViewFrame(QImage& frame, ViewSource& source, ViewInteraction& view, StrokeCache& strokes);

// Draws the overlay items in order with 1-pixel solid pens and the view's
// two fonts; each text's cell top-left is its (x, y), on its background.
void DrawViewScene(QPainter& painter, const ViewScene& scene);

// The two fonts: "Arial" with a text cell 24 pixels high (A) and 20 pixels
// high (B), normal weight.
QFont ViewFontFor(ViewFont font);

} // namespace velmaris
