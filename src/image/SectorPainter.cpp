#include "image/SectorPainter.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "image/ScanLinePainter.h"

namespace velmaris {
namespace {

constexpr int kW = ImageRaster::kWidth;
constexpr int kH = ImageRaster::kHeight;
constexpr std::uint8_t kProfileValue = 107;
constexpr int kMaxRadius = 4000; // R_px at the largest accepted zoom

// Pixel value of a blended sample v (0..255): scaled by the mix weight,
// capped at 117 and never 0, so a painted fan pixel always differs from a
// cleared one.
std::array<std::uint8_t, 256> FanValueTable(double mixWeight)
{
    std::array<std::uint8_t, 256> lut {};
    for (int v = 0; v < 256; ++v) {
        const int p = TruncToInt(v * mixWeight);
        lut[v] = std::uint8_t(p > 117 ? 117 : p <= 0 ? 1 : p);
    }
    return lut;
}

void PaintFan(std::uint8_t* data, const ScanLineHistory& history, const PaintInputs& in,
    const PaintGeometry& geo, const PaintTables& tables)
{
    const SubLineSelection lines = tables.blend.ForStep(in.step);
    if (lines.count == 0) {
        return;
    }
    // Per-ping radial quantities: for every pixel radius that survives the
    // radius cut, its distance from the origin and its sample index.
    std::array<double, kMaxRadius> radius;
    std::array<std::uint16_t, kMaxRadius> sample;
    int count = 0;
    int samples = 0;
    const double rpx = geo.radiusPx;
    for (int i = 0; i < geo.radiusPx; ++i) {
        const double r = i * in.speedOfSound / 1500 + geo.startDelay;
        if (r >= rpx + 1) { // trunc(r) > R_px for r >= 0
            continue;
        }
        const int j = std::min(int(i / in.zoom), int(kScanLineBytes) - 1);
        radius[count] = r;
        sample[count] = std::uint16_t(j);
        samples = std::max(samples, j + 1);
        ++count;
    }
    if (count == 0) {
        return;
    }
    const std::array<std::uint8_t, 256> lut = FanValueTable(in.mixWeight);

    const double delta = in.step * double(0.3f);
    const bool forward = (in.directionFlag == 1) != (in.sonarUpDown == 1);
    double a = float(forward ? in.headAngle - delta : in.headAngle + delta);
    const double increment = delta / (lines.count - 1);

    std::array<std::uint8_t, kScanLineBytes> value;
    for (int s = 0; s < lines.count; ++s, a += increment) {
        const BlendRow& row = lines.rows[s];
        const int w1 = forward ? row.w1 : row.w3;
        const int w2 = row.w2;
        const int w3 = forward ? row.w3 : row.w1;
        const int idx = TrigTable::IndexForAngle(a);
        if (idx < 0) {
            continue;
        }
        for (int j = 0; j < samples; ++j) {
            const int sum = history.l1[j] * w1 + history.l2[j] * w2 + history.l3[j] * w3;
            value[j] = lut[std::min(int(sum * 0.005), 255)];
        }
        const double c = tables.trig.Cos(idx);
        const double sn = tables.trig.Sin(idx);
        for (int k = 0; k < count; ++k) {
            const int x = int(rpx + radius[k] * c);
            const int y = int(rpx + radius[k] * sn);
            if (unsigned(x) < unsigned(kW) && unsigned(y) < unsigned(kH)) {
                data[std::size_t(y) * kW + x] = value[sample[k]];
            }
        }
    }
}

void PaintProfilePoints(
    std::uint8_t* data, const PaintInputs& in, const PaintGeometry& geo, const PaintTables& tables)
{
    const double rpx = geo.radiusPx;
    for (const ProfileEntry& e : in.profileHistory) {
        const double rp
            = e.value * in.speedOfSound / 1500 / in.pingRange / 100 * 500 * in.zoom + geo.startDelay;
        if (!(rp > 0 && rp < rpx - 2)) {
            continue;
        }
        const int idx = TrigTable::IndexForAngle(e.angle);
        if (idx < 0) {
            continue;
        }
        const int x = int(rpx + rp * tables.trig.Cos(idx));
        const int y = int(rpx + rp * tables.trig.Sin(idx));
        if (x < 1 || x > kW - 2 || y < 1 || y > kH - 2) {
            continue;
        }
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int ring = (dx != 0) + (dy != 0); // 0 centre, 1 edge, 2 corner
                if (ring == 0 || (ring == 1 && in.profilePointSize >= 1)
                    || (ring == 2 && in.profilePointSize >= 2)) {
                    data[std::size_t(y + dy) * kW + (x + dx)] = kProfileValue;
                }
            }
        }
    }
}

} // namespace

void PaintSectorLine(
    ImageRaster& raster, const ScanLineHistory& history, const PaintInputs& in, const PaintTables& tables)
{
    const PaintGeometry geo = ComputePaintGeometry(in);
    if (!geo.valid) {
        return;
    }
    std::uint8_t* data = raster.LinearData();
    PaintFan(data, history, in, geo, tables);
    if (in.profileDispMode > 0) {
        PaintProfilePoints(data, in, geo, tables);
    }
}

} // namespace velmaris
