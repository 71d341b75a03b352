#include "image/SideScanPainter.h"

#include <algorithm>
#include <cmath>

#include "image/ScanLinePainter.h"

namespace velmaris {
namespace {

constexpr int kW = ImageRaster::kWidth;
constexpr std::uint8_t kProfileValue = 107;

// The top row from the plan: each painted column takes its sample through
// the byte-to-pixel table.
void PaintSamples(ImageRaster& raster, const ScanLineHistory& history, const SideScanColumns& plan)
{
    std::uint8_t* out = raster.Row(0) + plan.x0 + plan.first;
    const std::uint16_t* column = plan.column.data();
    const std::uint8_t* echo = history.l0.data();
    const std::uint8_t* lut = plan.lut.data();
    const int n = static_cast<int>(plan.column.size());
    if (plan.holes) {
        for (int c = 0; c < n; ++c) {
            if (column[c] != SideScanColumns::kHole)
                out[c] = lut[echo[column[c]]];
        }
        return;
    }
    int c = 0;
    for (; c + 4 <= n; c += 4) {
        out[c] = lut[echo[column[c]]];
        out[c + 1] = lut[echo[column[c + 1]]];
        out[c + 2] = lut[echo[column[c + 2]]];
        out[c + 3] = lut[echo[column[c + 3]]];
    }
    for (; c < n; ++c) {
        out[c] = lut[echo[column[c]]];
    }
}

void PaintProfilePoint(ImageRaster& raster, const PaintInputs& in, const PaintGeometry& geo)
{
    const double p = in.profileHistory.back().value;
    const double t
        = std::trunc(geo.startDelay + p * in.speedOfSound / 1500 / in.rangeSetting / 100 * 500 * in.zoom);
    const double x = static_cast<int>(in.zoom * 250) + t;
    if (!(x >= 1 && x <= kW - 2)) {
        return; // also a range setting of 0 (infinite offset)
    }
    const int c = static_cast<int>(x);
    std::uint8_t* top = raster.Row(0);
    top[c] = kProfileValue;
    if (in.profilePointSize >= 1) {
        top[c - 1] = kProfileValue;
        top[c + 1] = kProfileValue;
    }
    if (in.profilePointSize >= 2) {
        std::uint8_t* second = raster.Row(1);
        second[c - 1] = kProfileValue;
        second[c] = kProfileValue;
        second[c + 1] = kProfileValue;
    }
}

} // namespace

void PaintSideScanLine(
    ImageRaster& raster, const ScanLineHistory& history, const PaintInputs& in, PaintTables& tables)
{
    raster.ScrollDown();
    const PaintGeometry geo = ComputePaintGeometry(in);
    if (!geo.valid)
        return;
    PaintSamples(raster, history, tables.plans.Columns(in, geo));
    if (in.profileDispMode > 0)
        PaintProfilePoint(raster, in, geo);
}

} // namespace velmaris
