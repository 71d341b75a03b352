#pragma once
// The lasting state of the station that every ping goes through: settings,
// the live command message, the current ping, the document flags, the
// scan-line history, the image raster, the painting tables with the plans
// the painters keep, and the colour tables. The document owns one; the
// headless tool owns one to render files.
//
// User-interface thread only.

#include "image/ImageRaster.h"
#include "image/ScanLineHistory.h"
#include "image/ScanLinePainter.h"
#include "image/SonarBitmap.h"
#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"
#include "settings/DocumentFlags.h"

namespace velmaris {

struct SonarState {
    SonarState(); // construction values, command message initialised, raster zeroed

    SonarSettings settings;
    CommandMessage command;
    PingRecord ping;
    DocumentFlags flags;
    ScanLineHistory history;
    ImageRaster raster;
    PaintTables tables;
    CSonarBitmap colors;
};

// Prepares and paints the ping whose echo bytes are in L0, by display mode,
// and counts it.
void PaintCurrentPing(SonarState& state);

// Clears the raster and resets the scan-line history (the picture geometry changed).
void ResetImage(SonarState& state);

} // namespace velmaris
