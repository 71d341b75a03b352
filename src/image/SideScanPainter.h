#pragma once
// The waterfall of the "SideScan" display mode: every ping scrolls the image
// down one row and becomes the new top row, unblended.

#include "image/ImageRaster.h"
#include "image/PaintInputs.h"
#include "image/ScanLineHistory.h"

namespace velmaris {

struct PaintTables;

// Scrolls the raster down one row, writes the prepared line L0 into row 0
// from column trunc(250 z) on, then the newest profile point when profile
// display is on. Above 1500 m/s the columns skipped between two samples
// take the later one. A ping with range 0 only scrolls. Columns beyond the raster
// (zooms above 2 with long start delays) are dropped.
// The column plan in tables is remade only when its inputs change.
void PaintSideScanLine(
    ImageRaster& raster, const ScanLineHistory& history, const PaintInputs& in, PaintTables& tables);

} // namespace velmaris
