#include "image/ScanLinePainter.h"

#include "image/SectorPainter.h"
#include "image/SideScanPainter.h"

namespace velmaris {

void PrepareScanLine(ScanLineHistory& history, int dataPoints)
{
    if (dataPoints == 25) {
        // Back to front, so every sample is read before its slot is reused.
        for (int n = 249; n >= 0; --n) {
            const std::uint8_t sample = history.l0[n];
            history.l0[2 * n] = sample;
            history.l0[2 * n + 1] = sample;
        }
    }
    if (history.resetPending) {
        history.resetPending = false;
        history.l1 = history.l0;
        history.l2 = history.l0;
        history.l3 = history.l0;
    } else {
        history.l1 = history.l2;
        history.l2 = history.l3;
        history.l3 = history.l0;
    }
}

void ResetScanHistory(ScanLineHistory& history, PingRecord& ping)
{
    history.l0.fill(0);
    history.l1.fill(0);
    history.l2.fill(0);
    history.l3.fill(0);
    history.resetPending = true;
    ping.profileHistory.fill(ProfileEntry {});
}

void ClearImage(ImageRaster& raster)
{
    raster.Clear();
}

void PaintPing(ImageRaster& raster, ScanLineHistory& history, const PaintInputs& in, PaintTables& tables)
{
    PrepareScanLine(history, in.dataPoints);
    if (in.displayMode == DisplayMode::Sector || in.displayMode == DisplayMode::Polar) {
        PaintSectorLine(raster, history, in, tables);
    } else if (in.displayMode == DisplayMode::SideScan) {
        PaintSideScanLine(raster, history, in, tables);
    }
}

} // namespace velmaris
