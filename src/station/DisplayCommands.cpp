// The display commands: colour table, zoom, grid, units, profile, marks and
// the image clear. They change display settings only; the head is not told.

#include "image/ScanLinePainter.h"
#include "station/CommandIds.h"
#include "station/CommandRules.h"
#include "station/DocumentCommands.h"

namespace velmaris {

void DocumentCommands::SetZoom(double zoom)
{
    doc_.State().settings.zoom = zoom;
    // The raster is painted at the zoomed scale: what is there no longer fits.
    ClearImage(doc_.State().raster);
    Repaint();
}

bool DocumentCommands::ExecuteDisplay(int id)
{
    SonarSettings& s = doc_.State().settings;
    if (id >= cmd::kColorTableFirst && id <= cmd::kColorTableLast) {
        s.colorTable = id - cmd::kColorTableFirst;
        Repaint(kColorTableHint);
        return true;
    }
    if (id >= cmd::kZoomFirst && id <= cmd::kZoomLast) {
        SetZoom(ZoomForMenuId(id));
        return true;
    }
    if (id >= cmd::kProfileFirst && id <= cmd::kProfileLast) {
        s.profileDispMode = id - cmd::kProfileFirst;
        s.profileMixWeight = ProfileMixWeightFor(s.profileDispMode);
        return true;
    }
    if (id >= cmd::kPointSizeFirst && id <= cmd::kPointSizeLast) {
        s.profilePointSize = id - cmd::kPointSizeFirst;
        return true;
    }
    switch (id) {
    case cmd::kZoomIn:
        SetZoom(ZoomInFrom(s.zoom));
        return true;
    case cmd::kZoomOut:
        SetZoom(ZoomOutFrom(s.zoom));
        return true;
    case cmd::kGridNone:
    case cmd::kGridPolar:
    case cmd::kGridRectangular:
        // The menu lists "Rectangular" before "Polar", but Polar is grid 1.
        s.grid = id == cmd::kGridNone ? 0 : id == cmd::kGridPolar ? 1 : 2;
        Repaint();
        return true;
    case cmd::kUnitsMeters:
    case cmd::kUnitsFeet:
        s.metricScale = id == cmd::kUnitsFeet ? 1 : 0;
        doc_.ApplySettings();
        return true;
    case cmd::kClearScreen:
        ClearImage(doc_.State().raster);
        return true;
    case cmd::kColorIndicator:
        colorIndicator_ ^= 1;
        Repaint();
        return true;
    case cmd::kRangeMarker:
        s.viewRangeMark = s.viewRangeMark != 0 ? 0 : 1; // shown at the next repaint
        return true;
    case cmd::kZeroDown:
        s.zeroDown = s.zeroDown != 0 ? 0 : 1; // takes effect from the next ping
        return true;
    case cmd::kRedraw:
        doc_.State().flags.viewRecentreRequest = 1;
        Repaint();
        return true;
    default:
        return false;
    }
}

} // namespace velmaris
