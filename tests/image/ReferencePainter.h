#pragma once
// A line-by-line transcription of the painting rules, kept deliberately
// plain (per-pixel divisions, a whole-image row shift for the waterfall) so
// the optimised painters can be compared against it byte for byte. It
// paints into a flat row-major 4000 x 4000 buffer. Optionally it logs every
// pixel write (offset, value), which the benchmarks replay as their floor.
//
// Above 1500 m/s consecutive samples of a line lie more than a pixel apart;
// the pixels skipped between them take the later sample (Gaps::Fill). With
// Gaps::Leave the line keeps its holes, as the painters did before they
// filled them: at 1500 m/s and below both give the same image.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "image/BlendTable.h"
#include "image/PaintInputs.h"
#include "image/ScanLineHistory.h"
#include "image/TrigTable.h"

namespace velmaris::reference {

constexpr int kSide = 4000;
using WriteLog = std::vector<std::pair<std::uint32_t, std::uint8_t>>;

struct Image {
    std::vector<std::uint8_t> px = std::vector<std::uint8_t>(std::size_t(kSide) * kSide, 0);
    WriteLog* log = nullptr;
    void Put(int x, int y, std::uint8_t v)
    {
        const std::uint32_t off = std::uint32_t(y) * kSide + std::uint32_t(x);
        px[off] = v;
        if (log) {
            log->emplace_back(off, v);
        }
    }
};

enum class Gaps { Fill, Leave };

inline int AngleIndex(double a)
{
    double b = a - 90;
    if (b < 0) {
        b += 360;
    }
    if (b >= 360) {
        b -= 360;
    }
    if (b / 0.05 > -1 && b / 0.05 < 36000) {
        return int(b / 0.05);
    }
    if (!std::isfinite(b)) {
        return -1;
    }
    b = std::fmod(b, 360.0);
    if (b < 0) {
        b += 360;
    }
    if (b >= 360) {
        b -= 360;
    }
    int idx = int(b / 0.05);
    return idx > 7199 ? 7199 : idx;
}

inline bool Geometry(const PaintInputs& in, int& rpx, double& g)
{
    if (!(in.zoom > 0 && in.zoom <= kMaxPaintZoom) || !(in.pingRange > 0) || !(in.speedOfSound > 0)) {
        return false;
    }
    rpx = int(int(1000 * in.zoom) / 2);
    const int d = in.statusOffset + 10 * in.pulseLength;
    const double f = d * in.speedOfSound * 0.5 / 10000;
    const int n = 10 * in.dataPoints;
    g = f < 0 ? 0 : f * n / (in.pingRange * in.speedOfSound / 1500) / 100;
    return true;
}

inline void PaintSector(Image& img, const ScanLineHistory& h, const PaintInputs& in, const TrigTable& trig,
    const BlendTable& blend, Gaps gaps = Gaps::Fill)
{
    int rpx = 0;
    double g = 0;
    if (!Geometry(in, rpx, g)) {
        return;
    }
    const double z = in.zoom;
    const double v = in.speedOfSound;
    const double k = in.mixWeight;
    const SubLineSelection sel = blend.ForStep(in.step);
    if (sel.count != 0) {
        const int n = sel.count;
        const double delta = in.step * double(0.3f);
        const bool forward = (in.directionFlag == 1) != (in.sonarUpDown == 1);
        double a = float(forward ? in.headAngle - delta : in.headAngle + delta);
        // A skipped stretch between two samples is split into this many
        // parts, each at most a pixel long.
        const bool fill = gaps == Gaps::Fill && v > 1500;
        const int parts = fill ? int(std::fmin(v / 1500, 1e6)) + 1 : 1;
        for (int s = 0; s < n; ++s) {
            const BlendRow r = sel.rows[s];
            const int w1 = forward ? r.w1 : r.w3;
            const int w2 = r.w2;
            const int w3 = forward ? r.w3 : r.w1;
            const int idx = AngleIndex(a);
            bool havePrev = false;
            int px = 0;
            int py = 0;
            double pr = 0;
            for (int i = 0; idx >= 0 && i < rpx; ++i) {
                const int j = int(i / z);
                const int val = int((h.l1[j] * w1 + h.l2[j] * w2 + h.l3[j] * w3) * 0.005);
                int p = int(val * k);
                if (p > 117) {
                    p = 117;
                }
                if (p <= 0) {
                    p = 1;
                }
                const double rr = i * v / 1500 + g;
                if (int(rr) > rpx) {
                    continue;
                }
                const int x = int(rpx + rr * trig.Cos(idx));
                const int y = int(rpx + rr * trig.Sin(idx));
                if (fill && havePrev && (std::abs(x - px) > 1 || std::abs(y - py) > 1)) {
                    // The pixels between the previous sample's and this one's.
                    for (int m = 1; m < parts; ++m) {
                        const double rm = pr + (rr - pr) * m / parts;
                        const int xm = int(rpx + rm * trig.Cos(idx));
                        const int ym = int(rpx + rm * trig.Sin(idx));
                        if ((xm != px || ym != py) && xm >= 0 && xm < kSide && ym >= 0 && ym < kSide) {
                            img.Put(xm, ym, std::uint8_t(p));
                        }
                    }
                }
                if (x >= 0 && x < kSide && y >= 0 && y < kSide) {
                    img.Put(x, y, std::uint8_t(p));
                }
                havePrev = true;
                px = x;
                py = y;
                pr = rr;
            }
            a += delta / (n - 1);
        }
    }
    if (in.profileDispMode <= 0) {
        return;
    }
    for (const ProfileEntry& e : in.profileHistory) {
        const double rp = e.value * v / 1500 / in.pingRange / 100 * 500 * z + g;
        if (!(rp > 0 && rp < rpx - 2)) {
            continue;
        }
        const int idx = AngleIndex(e.angle);
        if (idx < 0) {
            continue;
        }
        const int x = int(rpx + rp * trig.Cos(idx));
        const int y = int(rpx + rp * trig.Sin(idx));
        if (x >= 1 && x <= 3998 && y >= 1 && y <= 3998) {
            img.Put(x, y, 107);
            if (in.profilePointSize >= 1) {
                img.Put(x - 1, y, 107);
                img.Put(x + 1, y, 107);
                img.Put(x, y - 1, 107);
                img.Put(x, y + 1, 107);
            }
            if (in.profilePointSize >= 2) {
                img.Put(x - 1, y - 1, 107);
                img.Put(x + 1, y - 1, 107);
                img.Put(x - 1, y + 1, 107);
                img.Put(x + 1, y + 1, 107);
            }
        }
    }
}

// The waterfall's new top line, written through put(x, y, value) (y is 0,
// or 1 for a large profile point): the rule without the scroll.
template <typename Put>
void PaintSideScanTop(Put put, const ScanLineHistory& h, const PaintInputs& in, Gaps gaps = Gaps::Fill)
{
    int rpx = 0;
    double g = 0;
    if (!Geometry(in, rpx, g)) {
        return;
    }
    const double z = in.zoom;
    const int x0 = int(z * 250);
    const bool fill = gaps == Gaps::Fill && in.speedOfSound > 1500;
    double prevCol = 0;
    for (int i = 0; i < rpx; ++i) {
        const int j = int(i / z);
        int p = int(h.l0[j] * in.mixWeight) & 0xFF;
        if (p > 117) {
            p = 117;
        }
        const double col = x0 + std::trunc(i * in.speedOfSound / 1500 + g);
        for (double c = prevCol + 1; fill && i > 0 && c < col && c < kSide; ++c) {
            put(int(c), 0, std::uint8_t(p));
        }
        if (col < kSide) {
            put(int(col), 0, std::uint8_t(p));
        }
        prevCol = col;
    }
    if (in.profileDispMode <= 0) {
        return;
    }
    const double p = in.profileHistory[2].value;
    const double x = x0 + std::trunc(g + p * in.speedOfSound / 1500 / in.rangeSetting / 100 * 500 * z);
    if (x >= 1 && x <= 3998) {
        const int c = int(x);
        put(c, 0, 107);
        if (in.profilePointSize >= 1) {
            put(c - 1, 0, 107);
            put(c + 1, 0, 107);
        }
        if (in.profilePointSize >= 2) {
            put(c - 1, 1, 107);
            put(c, 1, 107);
            put(c + 1, 1, 107);
        }
    }
}

inline void PaintSideScan(Image& img, const ScanLineHistory& h, const PaintInputs& in, Gaps gaps = Gaps::Fill)
{
    for (int r = kSide - 1; r >= 1; --r) {
        std::memcpy(&img.px[std::size_t(r) * kSide], &img.px[std::size_t(r - 1) * kSide], kSide);
    }
    PaintSideScanTop([&](int x, int y, std::uint8_t v) { img.Put(x, y, v); }, h, in, gaps);
}

} // namespace velmaris::reference
