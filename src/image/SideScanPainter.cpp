#include "image/SideScanPainter.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmaris {
namespace {

constexpr int kW = ImageRaster::kWidth;
constexpr std::uint8_t kProfileValue = 107;

// Above 1500 m/s consecutive samples lie more than a column apart; the
// columns between them take the later sample, so the line has no holes.
// `line` holds `width` columns from x0 on.
void PaintSpacedSamples(std::uint8_t* line, int width, const ScanLineHistory& history, const PaintInputs& in,
    const PaintGeometry& geo, const std::array<std::uint8_t, 256>& lut)
{
    const double first = std::trunc(geo.startDelay);
    int reached = first < width ? int(first) : width; // the first column not yet painted
    for (int i = 0; i < geo.radiusPx; ++i) {
        const double offset = std::trunc(i * in.speedOfSound / 1500 + geo.startDelay);
        const int end = offset < width ? int(offset) : width;
        const int j = std::min(int(i / in.zoom), int(kScanLineBytes) - 1);
        const std::uint8_t v = lut[history.l0[j]];
        for (; reached < end; ++reached) {
            line[reached] = v;
        }
        if (end == width) {
            break; // the offset only grows with i
        }
        line[end] = v;
        reached = end + 1;
    }
}

void PaintSamples(
    ImageRaster& raster, const ScanLineHistory& history, const PaintInputs& in, const PaintGeometry& geo)
{
    // Echo byte to pixel: scaled by the mix weight, kept to 8 bits, capped
    // at 117; 0 stays 0.
    std::array<std::uint8_t, 256> lut {};
    for (int e = 0; e < 256; ++e) {
        const int p = TruncToInt(e * in.mixWeight) & 0xFF;
        lut[e] = std::uint8_t(p > 117 ? 117 : p);
    }
    std::uint8_t* row = raster.Row(0);
    const int x0 = int(in.zoom * 250);
    if (in.speedOfSound > 1500) {
        PaintSpacedSamples(row + x0, kW - x0, history, in, geo, lut);
        return;
    }
    for (int i = 0; i < geo.radiusPx; ++i) {
        const double offset = std::trunc(i * in.speedOfSound / 1500 + geo.startDelay);
        if (!(offset < kW - x0)) {
            break; // the offset only grows with i
        }
        const int j = std::min(int(i / in.zoom), int(kScanLineBytes) - 1);
        row[x0 + int(offset)] = lut[history.l0[j]];
    }
}

void PaintProfilePoint(ImageRaster& raster, const PaintInputs& in, const PaintGeometry& geo)
{
    const double p = in.profileHistory.back().value;
    const double t
        = std::trunc(geo.startDelay + p * in.speedOfSound / 1500 / in.rangeSetting / 100 * 500 * in.zoom);
    const double x = int(in.zoom * 250) + t;
    if (!(x >= 1 && x <= kW - 2)) {
        return; // also a range setting of 0 (infinite offset)
    }
    const int c = int(x);
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

void PaintSideScanLine(ImageRaster& raster, const ScanLineHistory& history, const PaintInputs& in)
{
    raster.ScrollDown();
    const PaintGeometry geo = ComputePaintGeometry(in);
    if (!geo.valid) {
        return;
    }
    PaintSamples(raster, history, in, geo);
    if (in.profileDispMode > 0) {
        PaintProfilePoint(raster, in, geo);
    }
}

} // namespace velmaris
