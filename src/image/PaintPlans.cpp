#include "image/PaintPlans.h"

#include <algorithm>
#include <cmath>

#include "image/ImageRaster.h"
#include "protocol/EchoLine.h"

namespace velmaris {
namespace {

constexpr int kW = ImageRaster::kWidth;

void MakeRadii(FanRadii& f, const PaintInputs& in, const PaintGeometry& geo)
{
    f.radius.resize(static_cast<std::size_t>(std::max(geo.radiusPx, 0)));
    f.sample.resize(f.radius.size());
    f.count = 0;
    f.samples = 0;
    f.parts = 1;
    f.widestStep = 0;
    const double rpx = geo.radiusPx;
    double smallest = 0;
    for (int i = 0; i < geo.radiusPx; ++i) {
        const double r = i * in.speedOfSound / 1500 + geo.startDelay;
        if (r >= rpx + 1) { // trunc(r) > R_px, for r >= 0
            continue;
        }
        const int j = std::min(static_cast<int>(i / in.zoom), static_cast<int>(kScanLineBytes) - 1);
        f.radius[static_cast<std::size_t>(f.count)] = r;
        f.sample[static_cast<std::size_t>(f.count)] = static_cast<std::uint16_t>(j);
        f.samples = std::max(f.samples, j + 1);
        smallest = std::min(smallest, r);
        ++f.count;
    }
    // With 0 <= r < R_px + 1 the pixel lies within R_px + 1 of the origin,
    // so for R_px up to 1998 its coordinates are 0 .. 3997.
    f.inside = smallest >= 0 && geo.radiusPx <= 1998;
    if (in.speedOfSound > 1500 && f.count > 1) {
        // Two kept radii lie at most R_px + 1 apart, so this stays small.
        f.parts = static_cast<int>(in.speedOfSound / 1500) + 1;
        for (int k = 1; k < f.count; ++k) {
            f.widestStep = std::max(f.widestStep,
                f.radius[static_cast<std::size_t>(k)] - f.radius[static_cast<std::size_t>(k - 1)]);
        }
    }
    f.radiusTwice.resize(2 * static_cast<std::size_t>(f.count));
    for (int k = 0; k < f.count; ++k) {
        f.radiusTwice[2 * static_cast<std::size_t>(k)] = f.radius[static_cast<std::size_t>(k)];
        f.radiusTwice[2 * static_cast<std::size_t>(k) + 1] = f.radius[static_cast<std::size_t>(k)];
    }
    bool same = true;
    bool halves = true;
    for (int k = 0; k < f.count; ++k) {
        same = same && f.sample[static_cast<std::size_t>(k)] == k;
        halves = halves && f.sample[static_cast<std::size_t>(k)] == k / 2;
    }
    f.spread = same ? FanRadii::Spread::Same : halves ? FanRadii::Spread::Halves : FanRadii::Spread::Other;
}

void MakeScale(FanScale& f, double mixWeight)
{
    f.lut = FanPixelLevels(mixWeight);
    f.shift = mixWeight == 1.0 ? 0 : mixWeight == 0.5 ? 1 : mixWeight == 0.25 ? 2 : mixWeight == 0.0 ? 8 : -1;
}

// The samples the waterfall's columns end up with, replaying the rule's
// writes in order (a later write to a column wins); -1 where none lands.
// Up to 1500 m/s each sample lands on column trunc(i V / 1500 + g); above,
// the columns skipped between two samples take the later one.
void MakeColumns(SideScanColumns& s, const PaintInputs& in, const PaintGeometry& geo)
{
    const int width = kW - s.x0;
    std::vector<int> sampleAt(static_cast<std::size_t>(std::max(width, 0)), -1);
    if (in.speedOfSound > 1500) {
        const double first = std::trunc(geo.startDelay);
        int reached = first < width ? static_cast<int>(first) : width; // the first column not yet painted
        for (int i = 0; i < geo.radiusPx; ++i) {
            const double offset = std::trunc(i * in.speedOfSound / 1500 + geo.startDelay);
            const int end = offset < width ? static_cast<int>(offset) : width;
            const int j = std::min(static_cast<int>(i / in.zoom), static_cast<int>(kScanLineBytes) - 1);
            for (; reached < end; ++reached) {
                sampleAt[static_cast<std::size_t>(reached)] = j;
            }
            if (end == width) {
                break; // the offset only grows with i
            }
            sampleAt[static_cast<std::size_t>(end)] = j;
            reached = end + 1;
        }
    } else {
        for (int i = 0; i < geo.radiusPx; ++i) {
            const double offset = std::trunc(i * in.speedOfSound / 1500 + geo.startDelay);
            if (!(offset < width)) {
                break; // the offset only grows with i
            }
            sampleAt[static_cast<std::size_t>(offset)]
                = std::min(static_cast<int>(i / in.zoom), static_cast<int>(kScanLineBytes) - 1);
        }
    }
    const auto painted = [](int j) { return j >= 0; };
    const auto from = std::find_if(sampleAt.begin(), sampleAt.end(), painted);
    const auto to = std::find_if(sampleAt.rbegin(), sampleAt.rend(), painted).base();
    s.first = static_cast<int>(from - sampleAt.begin());
    s.column.clear();
    s.holes = false;
    for (auto it = from; it < to; ++it) {
        s.holes = s.holes || *it < 0;
        s.column.push_back(static_cast<std::uint16_t>(*it < 0 ? SideScanColumns::kHole : *it));
    }
}

} // namespace

std::array<std::uint8_t, 256> FanPixelLevels(double mixWeight)
{
    std::array<std::uint8_t, 256> lut {};
    for (int v = 0; v < 256; ++v) {
        const int p = TruncToInt(v * mixWeight);
        lut[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(p > 117 ? 117 : p <= 0 ? 1 : p);
    }
    return lut;
}

std::array<std::uint8_t, 256> SideScanPixelLevels(double mixWeight)
{
    std::array<std::uint8_t, 256> lut {};
    for (int e = 0; e < 256; ++e) {
        const int p = TruncToInt(e * mixWeight) & 0xFF;
        lut[static_cast<std::size_t>(e)] = static_cast<std::uint8_t>(p > 117 ? 117 : p);
    }
    return lut;
}

bool PaintPlans::Key::Matches(const Key& other) const
{
    return made && other.made && radiusPx == other.radiusPx && zoom == other.zoom && speed == other.speed
        && startDelay == other.startDelay && mixWeight == other.mixWeight;
}

const FanRadii& PaintPlans::Radii(const PaintInputs& in, const PaintGeometry& geo)
{
    const Key key {true, geo.radiusPx, in.zoom, in.speedOfSound, geo.startDelay, 0};
    if (!key.Matches(radiiKey_)) {
        MakeRadii(radii_, in, geo);
        radiiKey_ = key;
    }
    return radii_;
}

const FanScale& PaintPlans::Scale(double mixWeight)
{
    const Key key {true, 0, 0, 0, 0, mixWeight};
    if (!key.Matches(scaleKey_)) {
        MakeScale(scale_, mixWeight);
        scaleKey_ = key;
    }
    return scale_;
}

const SideScanColumns& PaintPlans::Columns(const PaintInputs& in, const PaintGeometry& geo)
{
    const Key key {true, geo.radiusPx, in.zoom, in.speedOfSound, geo.startDelay, 0};
    if (!key.Matches(columnsKey_)) {
        columns_.x0 = static_cast<int>(in.zoom * 250);
        MakeColumns(columns_, in, geo);
        columnsKey_ = key;
    }
    const Key lutKey {true, 0, 0, 0, 0, in.mixWeight};
    if (!lutKey.Matches(columnLutKey_)) {
        columns_.lut = SideScanPixelLevels(in.mixWeight);
        columnLutKey_ = lutKey;
    }
    return columns_;
}

} // namespace velmaris
