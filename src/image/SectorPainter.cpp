#include "image/SectorPainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "image/ScanLinePainter.h"

namespace velmaris {
namespace {

constexpr int kW = ImageRaster::kWidth;
constexpr int kH = ImageRaster::kHeight;
constexpr std::uint8_t kProfileValue = 107;
constexpr int kMaxRadius = 4000; // R_px at the largest accepted zoom

// Pixel value of a blended level v (0..255): trunc(v x k), capped at 117
// and never 0, so a painted fan pixel always differs from a cleared one.
// The mix weights the settings offer (1, 0.5, 0.25, 0) are exact powers of
// two and reduce to a shift; any other weight goes through the table.
struct FanScale {
    int shift = -1;
    std::array<std::uint8_t, 256> lut {};
};

FanScale MakeFanScale(double mixWeight)
{
    FanScale f;
    for (int v = 0; v < 256; ++v) {
        const int p = TruncToInt(v * mixWeight);
        f.lut[v] = std::uint8_t(p > 117 ? 117 : p <= 0 ? 1 : p);
    }
    f.shift = mixWeight == 1.0 ? 0 : mixWeight == 0.5 ? 1 : mixWeight == 0.25 ? 2 : mixWeight == 0.0 ? 8 : -1;
    return f;
}

void ScaleLevels(const std::uint8_t* level, int count, const FanScale& f, std::uint8_t* out)
{
    int j = 0;
#if defined(__SSE2__)
    if (f.shift >= 0) {
        const __m128i mask = _mm_set1_epi8(char(0xFF >> f.shift));
        const __m128i one = _mm_set1_epi8(1);
        const __m128i cap = _mm_set1_epi8(117);
        const __m128i shift = _mm_cvtsi32_si128(f.shift);
        for (; j + 16 <= count; j += 16) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(level + j));
            v = _mm_and_si128(_mm_srl_epi16(v, shift), mask);
            v = _mm_min_epu8(_mm_max_epu8(v, one), cap);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), v);
        }
    }
#endif
    for (; j < count; ++j) {
        out[j] = f.lut[level[j]];
    }
}

// Per-ping radial quantities: for every pixel radius that survives the
// radius cut, its distance from the origin and its sample index. They do
// not depend on the sub-line, so they are computed once per ping.
//
// Above 1500 m/s consecutive radii lie more than a pixel apart, and a
// sub-line running close to a pixel axis would skip a pixel now and then
// (rings of holes across the fan). Where two consecutive pixels of a
// sub-line are not neighbours, the stretch between their radii is split
// into `parts` pieces of at most a pixel, and the pixels those land on take
// the later sample. At and below 1500 m/s nothing is filled.
struct FanRadii {
    std::array<double, kMaxRadius> radius;
    std::array<std::uint16_t, kMaxRadius> sample;
    int count = 0;
    int samples = 0; // sample indices used: 0 .. samples - 1
    bool inside = false; // every pixel of every sub-line lands inside the raster
    int parts = 1; // 1: no filling
    double widestStep = 0; // largest distance between consecutive radii
};

void ComputeRadii(FanRadii& f, const PaintInputs& in, const PaintGeometry& geo)
{
    const double rpx = geo.radiusPx;
    double smallest = 0;
    for (int i = 0; i < geo.radiusPx; ++i) {
        const double r = i * in.speedOfSound / 1500 + geo.startDelay;
        if (r >= rpx + 1) { // trunc(r) > R_px, for r >= 0
            continue;
        }
        const int j = std::min(int(i / in.zoom), int(kScanLineBytes) - 1);
        f.radius[f.count] = r;
        f.sample[f.count] = std::uint16_t(j);
        f.samples = std::max(f.samples, j + 1);
        smallest = std::min(smallest, r);
        ++f.count;
    }
    // With 0 <= r < R_px + 1 the pixel lies within R_px + 1 of the origin,
    // so for R_px up to 1998 its coordinates are 0 .. 3997.
    f.inside = smallest >= 0 && geo.radiusPx <= 1998;
    if (in.speedOfSound > 1500 && f.count > 1) {
        // Two kept radii lie at most R_px + 1 apart, so this stays small.
        f.parts = int(in.speedOfSound / 1500) + 1;
        for (int k = 1; k < f.count; ++k) {
            f.widestStep = std::max(f.widestStep, f.radius[k] - f.radius[k - 1]);
        }
    }
}

// Raster offsets y x 4000 + x of one sub-line's pixels, for radii that are
// known to land inside the raster.
void SubLineOffsets(const FanRadii& f, double rpx, double c, double sn, std::int32_t* off)
{
    int k = 0;
#if defined(__SSE2__)
    const __m128d vr = _mm_set1_pd(rpx);
    const __m128d vc = _mm_set1_pd(c);
    const __m128d vs = _mm_set1_pd(sn);
    for (; k + 4 <= f.count; k += 4) {
        const __m128d r0 = _mm_loadu_pd(&f.radius[k]);
        const __m128d r1 = _mm_loadu_pd(&f.radius[k + 2]);
        const __m128i x = _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(r0, vc))),
            _mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(r1, vc))));
        const __m128i y = _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(r0, vs))),
            _mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(r1, vs))));
        // y x 4000 = y x 4096 - y x 64 - y x 32 (SSE2 has no 32-bit multiply).
        const __m128i y4000
            = _mm_sub_epi32(_mm_sub_epi32(_mm_slli_epi32(y, 12), _mm_slli_epi32(y, 6)), _mm_slli_epi32(y, 5));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(off + k), _mm_add_epi32(y4000, x));
    }
#endif
    for (; k < f.count; ++k) {
        const int x = int(rpx + f.radius[k] * c);
        const int y = int(rpx + f.radius[k] * sn);
        off[k] = y * kW + x;
    }
}

// Pixel coordinates of one sub-line's radii.
void SubLinePixels(const FanRadii& f, double rpx, double c, double sn, std::int32_t* xs, std::int32_t* ys)
{
    int k = 0;
#if defined(__SSE2__)
    const __m128d vr = _mm_set1_pd(rpx);
    const __m128d vc = _mm_set1_pd(c);
    const __m128d vs = _mm_set1_pd(sn);
    for (; k + 4 <= f.count; k += 4) {
        const __m128d r0 = _mm_loadu_pd(&f.radius[k]);
        const __m128d r1 = _mm_loadu_pd(&f.radius[k + 2]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(xs + k),
            _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(r0, vc))),
                _mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(r1, vc)))));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(ys + k),
            _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(r0, vs))),
                _mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(r1, vs)))));
    }
#endif
    for (; k < f.count; ++k) {
        xs[k] = int(rpx + f.radius[k] * c);
        ys[k] = int(rpx + f.radius[k] * sn);
    }
}

// One sub-line that may skip pixels: between two consecutive pixels that
// are not neighbours, the pixels on the way take the later sample.
void PaintFilledSubLine(
    std::uint8_t* data, const FanRadii& f, const std::uint8_t* value, double rpx, double c, double sn)
{
    std::array<std::int32_t, kMaxRadius> xs;
    std::array<std::int32_t, kMaxRadius> ys;
    SubLinePixels(f, rpx, c, sn, xs.data(), ys.data());
    for (int k = 0; k < f.count; ++k) {
        const std::uint8_t v = value[f.sample[k]];
        if (k > 0 && (unsigned(xs[k] - xs[k - 1] + 1) > 2u || unsigned(ys[k] - ys[k - 1] + 1) > 2u)) {
            const double from = f.radius[k - 1];
            for (int m = 1; m < f.parts; ++m) {
                const double r = from + (f.radius[k] - from) * m / f.parts;
                const int x = int(rpx + r * c);
                const int y = int(rpx + r * sn);
                if ((x != xs[k - 1] || y != ys[k - 1]) && unsigned(x) < unsigned(kW)
                    && unsigned(y) < unsigned(kH)) {
                    data[std::size_t(y) * kW + x] = v;
                }
            }
        }
        if (f.inside || (unsigned(xs[k]) < unsigned(kW) && unsigned(ys[k]) < unsigned(kH))) {
            data[std::size_t(ys[k]) * kW + xs[k]] = v;
        }
    }
}

void PaintFan(std::uint8_t* data, const ScanLineHistory& history, const PaintInputs& in,
    const PaintGeometry& geo, const PaintTables& tables)
{
    const SubLineSelection lines = tables.blend.ForStep(in.step);
    if (lines.count == 0) {
        return;
    }
    FanRadii f;
    ComputeRadii(f, in, geo);
    if (f.count == 0) {
        return;
    }
    const FanScale scale = MakeFanScale(in.mixWeight);
    const double rpx = geo.radiusPx;

    const double delta = in.step * double(0.3f);
    const bool forward = (in.directionFlag == 1) != (in.sonarUpDown == 1);
    double a = float(forward ? in.headAngle - delta : in.headAngle + delta);
    const double increment = delta / (lines.count - 1);

    std::array<std::uint8_t, kScanLineBytes> level;
    std::array<std::uint8_t, kScanLineBytes> value;
    std::array<std::int32_t, kMaxRadius> offset;
    for (int s = 0; s < lines.count; ++s, a += increment) {
        const int idx = TrigTable::IndexForAngle(a);
        if (idx < 0) {
            continue;
        }
        const BlendRow& row = lines.rows[s];
        const BlendRow w = forward ? row : BlendRow {row.w3, row.w2, row.w1};
        BlendLevels(history.l1.data(), history.l2.data(), history.l3.data(), w, f.samples, level.data());
        ScaleLevels(level.data(), f.samples, scale, value.data());
        const double c = tables.trig.Cos(idx);
        const double sn = tables.trig.Sin(idx);
        // Steps along x and y stay within a pixel (the margin covers the
        // rounding of the coordinates) unless the sub-line runs close
        // enough to an axis.
        if (f.parts > 1 && std::max(std::abs(c), std::abs(sn)) * f.widestStep >= 1 - 1e-9) {
            PaintFilledSubLine(data, f, value.data(), rpx, c, sn);
        } else if (f.inside) {
            SubLineOffsets(f, rpx, c, sn, offset.data());
            for (int k = 0; k < f.count; ++k) {
                data[offset[k]] = value[f.sample[k]];
            }
        } else {
            for (int k = 0; k < f.count; ++k) {
                const int x = int(rpx + f.radius[k] * c);
                const int y = int(rpx + f.radius[k] * sn);
                if (unsigned(x) < unsigned(kW) && unsigned(y) < unsigned(kH)) {
                    data[std::size_t(y) * kW + x] = value[f.sample[k]];
                }
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

// The side of the top-left square that holds every pixel PaintFan and
// PaintProfilePoints may write: the origin sits at (R_px, R_px) and a pixel
// radius r lands within |r| + 1 of it. Radii grow linearly with the pixel
// index from the start delay, so the two ends bound them.
int FanExtent(const PaintInputs& in, const PaintGeometry& geo)
{
    const double rpx = geo.radiusPx;
    const double last = (geo.radiusPx - 1) * in.speedOfSound / 1500 + geo.startDelay;
    const double smallest = std::min({0.0, geo.startDelay, last});
    const double reach = std::max(rpx + 1, -smallest);
    const double side = rpx + reach + 2;
    return std::isfinite(side) && side < kW ? int(side) : kW;
}

} // namespace

void PaintSectorLine(
    ImageRaster& raster, const ScanLineHistory& history, const PaintInputs& in, const PaintTables& tables)
{
    const PaintGeometry geo = ComputePaintGeometry(in);
    if (!geo.valid) {
        return;
    }
    const int extent = FanExtent(in, geo);
    std::uint8_t* data = raster.LinearDataFor(extent, extent);
    PaintFan(data, history, in, geo, tables);
    if (in.profileDispMode > 0) {
        PaintProfilePoints(data, in, geo, tables);
    }
}

} // namespace velmaris
