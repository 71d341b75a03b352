#pragma once
// Per-ping entry points that turn the echo line into raster pixels. The
// calling order for one ping: store the echo bytes in L0, PrepareScanLine,
// then PaintSectorLine (modes 0 and 1) or PaintSideScanLine (mode 2);
// PaintPing does the last two steps. All run on the user-interface thread.

#include "image/BlendTable.h"
#include "image/ImageRaster.h"
#include "image/PaintInputs.h"
#include "image/PaintPlans.h"
#include "image/ScanLineHistory.h"
#include "image/TrigTable.h"
#include "protocol/PingRecord.h"

namespace velmaris {

// The tables painting needs, built once with the document, and the plans
// derived from the settings, which the painters remake when their inputs
// change.
struct PaintTables {
    TrigTable trig;
    BlendTable blend;
    PaintPlans plans;
};

// Widens a 250-sample line (D = 25) in place to 500 samples, then fills
// L1..L3 from L0 after a reset or shifts the history by one line.
void PrepareScanLine(ScanLineHistory& history, int dataPoints);

// Zeroes L0..L3, sets the reset flag and zeroes the ping's three
// profile-history pairs.
void ResetScanHistory(ScanLineHistory& history, PingRecord& ping);

// Sets every raster pixel to 0.
void ClearImage(ImageRaster& raster);

// Prepares the line and paints it for the display mode (any other mode
// paints nothing).
void PaintPing(ImageRaster& raster, ScanLineHistory& history, const PaintInputs& in, PaintTables& tables);

} // namespace velmaris
