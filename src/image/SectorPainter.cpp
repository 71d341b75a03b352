#include "image/SectorPainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Four radii per operation where the processor has AVX.
#include "image/CpuFeatures.h"
#if defined(VELMARIS_WIDE_X86)
#include <immintrin.h>
#endif

#include "image/ScanLinePainter.h"

namespace velmaris {
namespace {

constexpr int kW = ImageRaster::kWidth;
constexpr int kH = ImageRaster::kHeight;
constexpr std::uint8_t kProfileValue = 107;
constexpr int kMaxRadius = 4000; // R_px at the largest accepted zoom

// The pixel values of one sub-line's samples.
void SubLineValues(const ScanLineHistory& history, const BlendRow& w, int samples, const FanScale& scale,
    std::uint8_t* value)
{
    if (scale.shift >= 0) {
        BlendPixelValues(
            history.l1.data(), history.l2.data(), history.l3.data(), w, samples, scale.shift, value);
        return;
    }
    BlendLevels(history.l1.data(), history.l2.data(), history.l3.data(), w, samples, value);
    for (int j = 0; j < samples; ++j) {
        value[j] = scale.lut[value[j]];
    }
}

#if defined(VELMARIS_WIDE_X86)
// SubLineOffsets four radii at a time: the same products, sums and
// truncations, so the same offsets. Returns how many radii it did.
__attribute__((target("avx"))) int SubLineOffsetsAvx(
    const double* radius, int count, double rpx, double c, double sn, std::int32_t* off)
{
    const __m256d vr = _mm256_set1_pd(rpx);
    const __m256d vc = _mm256_set1_pd(c);
    const __m256d vs = _mm256_set1_pd(sn);
    const __m128i toOffset = _mm_set1_epi32(kW << 16 | 1);
    int k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m256d r = _mm256_loadu_pd(radius + k);
        const __m128i x = _mm256_cvttpd_epi32(_mm256_add_pd(vr, _mm256_mul_pd(r, vc)));
        const __m128i y = _mm256_cvttpd_epi32(_mm256_add_pd(vr, _mm256_mul_pd(r, vs)));
        const __m128i pairs = _mm_packs_epi32(_mm_unpacklo_epi32(x, y), _mm_unpackhi_epi32(x, y));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(off + k), _mm_madd_epi16(pairs, toOffset));
    }
    return k;
}
#endif

// Raster offsets y x 4000 + x of one sub-line's pixels, for radii that are
// known to land inside the raster.
void SubLineOffsets(const FanRadii& f, double rpx, double c, double sn, std::int32_t* off)
{
    int k = 0;
#if defined(VELMARIS_WIDE_X86)
    if (kCpuHasAvx)
        k = SubLineOffsetsAvx(f.radius.data(), f.count, rpx, c, sn, off);
#endif
#if defined(__SSE2__)
    // One multiply gives (r c, r sn) from the radius stored twice; the
    // coordinates fit 16 bits, so packed as pairs (x, y) one multiply-add
    // with (1, 4000) gives the offset (SSE2 has no 32-bit multiply).
    const double* twice = f.radiusTwice.data();
    const __m128d vr = _mm_set1_pd(rpx);
    const __m128d vcs = _mm_set_pd(sn, c);
    const __m128i toOffset = _mm_set1_epi32(kW << 16 | 1);
    const auto xy = [&](int at) { // (x, y, 0, 0) of radius `at`
        return _mm_cvttpd_epi32(_mm_add_pd(vr, _mm_mul_pd(_mm_loadu_pd(twice + 2 * at), vcs)));
    };
    const auto four = [&](int at) {
        const __m128i pairs = _mm_packs_epi32(
            _mm_unpacklo_epi64(xy(at), xy(at + 1)), _mm_unpacklo_epi64(xy(at + 2), xy(at + 3)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(off + at), _mm_madd_epi16(pairs, toOffset));
    };
    for (; k + 8 <= f.count; k += 8) {
        four(k);
        four(k + 4);
    }
    for (; k + 4 <= f.count; k += 4) {
        four(k);
    }
#endif
    const double* radius = f.radius.data();
    for (; k < f.count; ++k) {
        const int x = static_cast<int>(rpx + radius[k] * c);
        const int y = static_cast<int>(rpx + radius[k] * sn);
        off[k] = y * kW + x;
    }
}

// The value of every radius from the values of the samples: the samples
// themselves at zoom 1, each one twice at zoom 2.
const std::uint8_t* ValuesByRadius(const FanRadii& f, const std::uint8_t* value, std::uint8_t* spread)
{
    if (f.spread == FanRadii::Spread::Same)
        return value;
    int k = 0;
    if (f.spread == FanRadii::Spread::Halves) {
#if defined(__SSE2__)
        for (; k + 32 <= f.count; k += 32) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(value + k / 2));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(spread + k), _mm_unpacklo_epi8(v, v));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(spread + k + 16), _mm_unpackhi_epi8(v, v));
        }
#endif
        for (; k < f.count; ++k) {
            spread[k] = value[k / 2];
        }
        return spread;
    }
    for (; k < f.count; ++k) {
        spread[k] = value[f.sample[static_cast<std::size_t>(k)]];
    }
    return spread;
}

// Each radius's value into its pixel.
void Scatter(std::uint8_t* data, const std::int32_t* off, const std::uint8_t* value, int count)
{
    int k = 0;
    for (; k + 8 <= count; k += 8) { // unrolled: the counting costs as much as a store
        data[off[k]] = value[k];
        data[off[k + 1]] = value[k + 1];
        data[off[k + 2]] = value[k + 2];
        data[off[k + 3]] = value[k + 3];
        data[off[k + 4]] = value[k + 4];
        data[off[k + 5]] = value[k + 5];
        data[off[k + 6]] = value[k + 6];
        data[off[k + 7]] = value[k + 7];
    }
    for (; k < count; ++k) {
        data[off[k]] = value[k];
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
        xs[k] = static_cast<int>(rpx + f.radius[k] * c);
        ys[k] = static_cast<int>(rpx + f.radius[k] * sn);
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
    const double* radius = f.radius.data();
    for (int k = 0; k < f.count; ++k) {
        const std::uint8_t v = value[f.sample[static_cast<std::size_t>(k)]];
        if (k > 0
            && (static_cast<unsigned>(xs[k] - xs[k - 1] + 1) > 2u
                || static_cast<unsigned>(ys[k] - ys[k - 1] + 1) > 2u)) {
            const double from = radius[k - 1];
            for (int m = 1; m < f.parts; ++m) {
                const double r = from + (radius[k] - from) * m / f.parts;
                const int x = static_cast<int>(rpx + r * c);
                const int y = static_cast<int>(rpx + r * sn);
                if ((x != xs[k - 1] || y != ys[k - 1]) && static_cast<unsigned>(x) < unsigned(kW)
                    && static_cast<unsigned>(y) < unsigned(kH)) {
                    data[static_cast<std::size_t>(y) * kW + x] = v;
                }
            }
        }
        if (f.inside
            || (static_cast<unsigned>(xs[k]) < unsigned(kW) && static_cast<unsigned>(ys[k]) < unsigned(kH)))
            data[static_cast<std::size_t>(ys[k]) * kW + xs[k]] = v;
    }
}

void PaintFan(std::uint8_t* data, const ScanLineHistory& history, const PaintInputs& in,
    const PaintGeometry& geo, PaintTables& tables)
{
    const SubLineSelection lines = tables.blend.ForStep(in.step);
    if (lines.count == 0)
        return;
    const FanRadii& f = tables.plans.Radii(in, geo);
    if (f.count == 0)
        return;
    const FanScale& scale = tables.plans.Scale(in.mixWeight);
    const double rpx = geo.radiusPx;

    const double delta = in.step * static_cast<double>(0.3f);
    const bool forward = (in.directionFlag == 1) != (in.sonarUpDown == 1);
    double a = static_cast<float>(forward ? in.headAngle - delta : in.headAngle + delta);
    const double increment = delta / (lines.count - 1);

    std::array<std::uint8_t, kScanLineBytes> value;
    std::array<std::uint8_t, kMaxRadius> spread;
    std::array<std::int32_t, kMaxRadius> offset;
    for (int s = 0; s < lines.count; ++s, a += increment) {
        const int idx = TrigTable::IndexForAngle(a);
        if (idx < 0)
            continue;
        const BlendRow& row = lines.rows[s];
        const BlendRow w = forward ? row : BlendRow {row.w3, row.w2, row.w1};
        SubLineValues(history, w, f.samples, scale, value.data());
        const double c = tables.trig.Cos(idx);
        const double sn = tables.trig.Sin(idx);
        // Steps along x and y stay within a pixel (the margin covers the
        // rounding of the coordinates) unless the sub-line runs close
        // enough to an axis.
        if (f.parts > 1 && std::max(std::abs(c), std::abs(sn)) * f.widestStep >= 1 - 1e-9) {
            PaintFilledSubLine(data, f, value.data(), rpx, c, sn);
        } else if (f.inside) {
            SubLineOffsets(f, rpx, c, sn, offset.data());
            Scatter(data, offset.data(), ValuesByRadius(f, value.data(), spread.data()), f.count);
        } else {
            for (int k = 0; k < f.count; ++k) {
                const int x = static_cast<int>(rpx + f.radius[static_cast<std::size_t>(k)] * c);
                const int y = static_cast<int>(rpx + f.radius[static_cast<std::size_t>(k)] * sn);
                if (static_cast<unsigned>(x) < unsigned(kW) && static_cast<unsigned>(y) < unsigned(kH))
                    data[static_cast<std::size_t>(y) * kW + x] = value[f.sample[static_cast<std::size_t>(k)]];
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
        if (!(rp > 0 && rp < rpx - 2))
            continue;
        const int idx = TrigTable::IndexForAngle(e.angle);
        if (idx < 0)
            continue;
        const int x = static_cast<int>(rpx + rp * tables.trig.Cos(idx));
        const int y = static_cast<int>(rpx + rp * tables.trig.Sin(idx));
        if (x < 1 || x > kW - 2 || y < 1 || y > kH - 2)
            continue;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int ring = (dx != 0) + (dy != 0); // 0 centre, 1 edge, 2 corner
                if (ring == 0 || (ring == 1 && in.profilePointSize >= 1)
                    || (ring == 2 && in.profilePointSize >= 2)) {
                    data[static_cast<std::size_t>(y + dy) * kW + (x + dx)] = kProfileValue;
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
    return std::isfinite(side) && side < kW ? static_cast<int>(side) : kW;
}

} // namespace

void PaintSectorLine(
    ImageRaster& raster, const ScanLineHistory& history, const PaintInputs& in, PaintTables& tables)
{
    const PaintGeometry geo = ComputePaintGeometry(in);
    if (!geo.valid)
        return;
    const int extent = FanExtent(in, geo);
    std::uint8_t* data = raster.LinearDataFor(extent, extent);
    PaintFan(data, history, in, geo, tables);
    if (in.profileDispMode > 0)
        PaintProfilePoints(data, in, geo, tables);
}

} // namespace velmaris
