#include "station/DisplayCommands.h"

#include "image/ScanLinePainter.h"
#include "station/CommandIds.h"
#include "station/CommandRules.h"

namespace velmaris {

namespace {

struct IdValue {
    int id;
    int value;
};

} // namespace

void DisplayCommands::SetZoom(double zoom)
{
    Settings().zoom = zoom;
    // The raster is painted at the zoomed scale: what is there no longer fits.
    ClearImage(doc_.State().raster);
    Repaint();
}

void DisplayCommands::Register(CommandTable& table)
{
    for (int id = cmd::kColorTableFirst; id <= cmd::kColorTableLast; ++id) {
        const int index = id - cmd::kColorTableFirst;
        table.Register(
            id,
            [this, index] {
                Settings().colorTable = index;
                Repaint(kColorTableHint);
            },
            nullptr, [this, index] { return Settings().colorTable == index; });
    }
    for (int id = cmd::kZoomFirst; id <= cmd::kZoomLast; ++id) {
        const double zoom = ZoomForMenuId(id);
        // Checked on an exact match only: a zoom of 1.3 checks no item.
        table.Register(
            id, [this, zoom] { SetZoom(zoom); }, nullptr, [this, zoom] { return Settings().zoom == zoom; });
    }
    table.Register(cmd::kZoomIn, [this] { SetZoom(ZoomInFrom(Settings().zoom)); });
    table.Register(cmd::kZoomOut, [this] { SetZoom(ZoomOutFrom(Settings().zoom)); });

    for (int id = cmd::kProfileFirst; id <= cmd::kProfileLast; ++id) {
        const int mode = id - cmd::kProfileFirst;
        table.Register(
            id,
            [this, mode] {
                Settings().profileDispMode = mode;
                Settings().profileMixWeight = ProfileMixWeightFor(mode);
            },
            nullptr, [this, mode] { return Settings().profileDispMode == mode; });
    }
    for (int id = cmd::kPointSizeFirst; id <= cmd::kPointSizeLast; ++id) {
        const int size = id - cmd::kPointSizeFirst;
        table.Register(
            id, [this, size] { Settings().profilePointSize = size; }, nullptr,
            [this, size] { return Settings().profilePointSize == size; });
    }

    // The menu lists "Rectangular" before "Polar", but Polar is grid 1.
    for (const IdValue item :
        {IdValue {cmd::kGridNone, 0}, {cmd::kGridPolar, 1}, {cmd::kGridRectangular, 2}}) {
        const int grid = item.value;
        table.Register(
            item.id,
            [this, grid] {
                Settings().grid = grid;
                Repaint();
            },
            nullptr, [this, grid] { return Settings().grid == grid; });
    }
    for (const IdValue item : {IdValue {cmd::kUnitsMeters, 0}, {cmd::kUnitsFeet, 1}}) {
        const int scale = item.value;
        table.Register(
            item.id,
            [this, scale] {
                Settings().metricScale = scale;
                doc_.ApplySettings();
            },
            nullptr, [this, scale] { return Settings().metricScale == scale; });
    }

    table.Register(cmd::kClearScreen, [this] { ClearImage(doc_.State().raster); });
    table.Register(
        cmd::kColorIndicator,
        [this] {
            colorIndicator_ = !colorIndicator_;
            Repaint();
        },
        nullptr, [this] { return colorIndicator_; });
    // Shown at the next repaint.
    table.Register(
        cmd::kRangeMarker, [this] { Settings().viewRangeMark = Settings().viewRangeMark != 0 ? 0 : 1; },
        nullptr, [this] { return Settings().viewRangeMark != 0; });
    // Takes effect from the next ping.
    table.Register(
        cmd::kZeroDown, [this] { Settings().zeroDown = Settings().zeroDown != 0 ? 0 : 1; }, nullptr,
        [this] { return Settings().zeroDown != 0; });
    table.Register(cmd::kRedraw, [this] {
        doc_.State().flags.viewRecentreRequest = true;
        Repaint();
    });
}

} // namespace velmaris
