#include "image/SectorClip.h"

#include "image/RoundedTrig.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "image/PaintInputs.h"
#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"

namespace velmaris {

namespace {

constexpr double kPi = 3.1415926;
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Interval {
    double lo = kInf; // empty when lo > hi
    double hi = -kInf;
    bool Empty() const { return lo > hi; }
};

constexpr Interval kAll {-kInf, kInf};
constexpr Interval kNone {};

Interval Intersect(Interval a, Interval b)
{
    return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)};
}

// Offsets px along the row (dy above the origin) where cross(u, (px, dy)) is
// >= 0 (ccwSide) or <= 0 (!ccwSide): a half-line, everything or nothing.
Interval HalfPlane(double ux, double uy, double dy, bool ccwSide)
{
    // cross = ux dy - uy px
    const double c = ux * dy;
    if (uy == 0.0)
        return (ccwSide ? c >= 0 : c <= 0) ? kAll : kNone;
    const double t = c / uy;
    const bool below = (uy > 0) == ccwSide; // px <= t satisfies the condition
    return below ? Interval {-kInf, t} : Interval {t, kInf};
}

} // namespace

SectorClip SectorClip::Unclipped(int width)
{
    return SectorClip(std::max(width, 0));
}

SectorClip::SectorClip(int width, int originX, int originY, int radius, float startDeg, float sweepDeg)
    : width_(std::max(width, 0))
    , originX_(originX)
    , originY_(originY)
    , radius_(radius)
{
    const double start = startDeg;
    const double sweep = sweepDeg;
    if (!(sweep > 0) || radius < 0 || !std::isfinite(start)) {
        kind_ = Kind::Empty;
        return;
    }
    if (sweep >= 360) {
        kind_ = Kind::Disc;
        return;
    }
    kind_ = sweep <= 180 ? Kind::Wedge : Kind::Reflex;
    const double a1 = start * kPi / 180.0;
    const double a2 = (start + sweep) * kPi / 180.0;
    u1x_ = RoundedCos(a1);
    u1y_ = RoundedSin(a1);
    u2x_ = RoundedCos(a2);
    u2y_ = RoundedSin(a2);
}

int SectorClip::RowSpans(int y, PixelSpan out[2]) const
{
    if (width_ <= 0)
        return 0;
    if (kind_ == Kind::None) {
        out[0] = {0, width_};
        return 1;
    }
    if (kind_ == Kind::Empty)
        return 0;
    const double dy = static_cast<double>(originY_) - y; // up is positive
    if (std::fabs(dy) > radius_)
        return 0;
    const double half = std::sqrt(radius_ * radius_ - dy * dy);
    const Interval chord {-half, half};

    Interval parts[2] = {chord, kNone};
    if (kind_ != Kind::Disc) {
        const Interval c1 = HalfPlane(u1x_, u1y_, dy, true); // ccw of the first edge
        const Interval c2 = HalfPlane(u2x_, u2y_, dy, false); // cw of the second edge
        if (kind_ == Kind::Wedge) {
            parts[0] = Intersect(chord, Intersect(c1, c2));
        } else {
            // More than half a turn: the union of the two half-planes; each is
            // a half-line or all or nothing, so the union is at most two pieces.
            parts[0] = Intersect(chord, c1);
            parts[1] = Intersect(chord, c2);
        }
    }

    int count = 0;
    for (const Interval& part : parts) {
        if (part.Empty())
            continue;
        const double lo = std::ceil(part.lo + originX_);
        const double hi = std::floor(part.hi + originX_) + 1.0;
        const int begin = static_cast<int>(std::clamp(lo, 0.0, static_cast<double>(width_)));
        const int end = static_cast<int>(std::clamp(hi, 0.0, static_cast<double>(width_)));
        if (begin < end)
            out[count++] = {begin, end};
    }
    if (count == 2) {
        if (out[1].begin < out[0].begin)
            std::swap(out[0], out[1]);
        if (out[1].begin <= out[0].end) { // touching or overlapping: one span
            out[0].end = std::max(out[0].end, out[1].end);
            count = 1;
        }
    }
    return count;
}

SectorClip MakeViewClip(const ViewGeometry& geo, const SonarSettings& settings, const CommandMessage& command)
{
    if (settings.sectorMode == DisplayMode::SideScan)
        return SectorClip::Unclipped(geo.width);
    const double w = command[CommandMessage::kSectorWidth];
    const double a
        = settings.trainAngleDegrees + settings.rotateImage + (settings.zeroDown != 0 ? 180.0 : 0.0);
    const float start = static_cast<float>(90.0 - a - 1.5 * w);
    const float sweep = static_cast<float>(3.0 * w);
    return SectorClip(geo.width, geo.originX, geo.originY, TruncToInt(1000.0 * geo.zoom), start, sweep);
}

} // namespace velmaris
