#pragma once
// The fan of the "Sector" and "Polar" display modes: the wedge swept by the
// head since the previous ping, drawn as sub-lines that blend the last three
// lines, and the head's profile points on top.

#include "image/ImageRaster.h"
#include "image/PaintInputs.h"
#include "image/ScanLineHistory.h"

namespace velmaris {

struct PaintTables;

// Paints the prepared lines L1..L3 of one ping as a fan around the origin
// (R_px, R_px), then the three profile points when profile display is on.
// Above 1500 m/s the pixels a sub-line skips between two samples take the
// later one. Pixels outside the raster are dropped. A step code without a fan paints
// only the profile points; a ping with range 0 paints nothing.
void PaintSectorLine(
    ImageRaster& raster, const ScanLineHistory& history, const PaintInputs& in, PaintTables& tables);

} // namespace velmaris
