#include "sim/Scene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmaris::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kSoundSpeed = 1500.0; // m/s
constexpr double kCalibrationDb = 70.0; // places a mid-range floor near byte 50 at 20 dB gain
constexpr double kNoisePower = 1.4e-9; // receiver noise, a few counts at 20 dB gain
constexpr double kCountsPerDb = 2.0;

struct Beam {
    double tiltDeg; // depression of the axis
    double verticalHalfDeg; // -6 dB half width of the fan
    double horizontalDeg; // -3 dB full width
};

Beam BeamFor(const PingGeometry& ping)
{
    const double kHz = std::max(100.0, 5.0 * ping.frequencyCode + 175.0);
    const double horizontal = std::clamp(1.7 * 1000.0 / kHz, 0.8, 8.0);
    if (ping.sideScan)
        return {20.0, 30.0, horizontal};
    return {15.0, 18.0, horizontal};
}

double VerticalWeightDb(const Beam& beam, double depressionDeg)
{
    const double off = (depressionDeg - beam.tiltDeg) / beam.verticalHalfDeg;
    return -6.0 * off * off;
}

double FromDb(double db)
{
    return std::pow(10.0, db / 10.0);
}

// Exponentially distributed, mean 1 (intensity of fully developed speckle).
double Exponential(SplitMix64& rng)
{
    return -std::log(1.0 - rng.NextUnit());
}

struct Shadow {
    double from, to; // horizontal distances along the ray
    double factor; // multiplies the floor's backscatter
};

} // namespace

Scene::Scene(std::uint64_t seed)
    : layout_(seed)
    , noise_(Mix64(seed ^ 0x5EED5EED5EED5EEDull))
{ }

void Scene::SetVesselPose(double x, double y, double headingDegrees)
{
    vesselX_ = x;
    vesselY_ = y;
    headingDegrees_ = headingDegrees;
    headingSin_ = std::sin(headingDegrees * kDeg);
    headingCos_ = std::cos(headingDegrees * kDeg);
}

void Scene::AdvanceVessel(double metres)
{
    vesselX_ += headingSin_ * metres;
    vesselY_ += headingCos_ * metres;
}

int Scene::RenderPing(const PingGeometry& ping, std::span<std::uint8_t> echoes)
{
    const int n = static_cast<int>(echoes.size());
    const double range = std::max(1, ping.rangeMetres);
    const double dr = n > 0 ? range / n : range;
    const Beam beam = BeamFor(ping);
    // The head's bearing is from the bow; the layout's from +y.
    const double bearing = (ping.bearingDegrees + headingDegrees_) * kDeg;
    const double ux = std::sin(bearing), uy = std::cos(bearing);
    const double px = vesselX_, py = vesselY_;
    const double pulseMetres = kSoundSpeed * std::max(1, ping.pulseLength) * 1e-5 / 2.0;
    const double absorptionDbPerMetre = ping.absorption * 0.01;
    const double horizontalRad = beam.horizontalDeg * kDeg;
    const double textureCell = std::max({0.06, pulseMetres, dr * 0.5});

    // The nearest wall on this bearing blocks everything behind it.
    double wallDistance = std::numeric_limits<double>::infinity();
    double wallDb = 0.0;
    for (const SceneWall& wall : layout_.Walls()) {
        const double d = RayWallDistance(px, py, ux, uy, wall);
        if (d > 0.0 && d < wallDistance) {
            wallDistance = d;
            wallDb = wall.strengthDb;
        }
    }

    power_.assign(static_cast<std::size_t>(n), 0.0);
    std::vector<Shadow> shadows;
    targets_.clear();
    const double reach = range + 3.0;
    layout_.CollectTargets(px - reach, px + reach, py - reach, py + reach, targets_);
    targets_.insert(targets_.end(), extraTargets_.begin(), extraTargets_.end());
    for (const SceneTarget& t : targets_) {
        const double vx = t.x - px, vy = t.y - py;
        const double along = vx * ux + vy * uy;
        const double horizontal = std::hypot(vx, vy);
        if (along <= 0.0 || horizontal < 0.05 || horizontal >= wallDistance)
            continue;
        const double cross = std::abs(vx * uy - vy * ux);
        const double offDeg = std::atan2(cross, along) / kDeg;
        const double extentDeg = std::atan(t.radius / horizontal) / kDeg;
        const double outside = std::max(0.0, offDeg - extentDeg) / beam.horizontalDeg;
        const double horizontalDb = -12.0 * outside * outside;
        if (horizontalDb < -40.0)
            continue;
        const double altitude = layout_.Altitude(t.x, t.y);
        const double below = altitude - 0.5 * t.height;
        const double slant = std::hypot(horizontal, below);
        const double depression = std::atan2(below, horizontal) / kDeg;
        const double level = FromDb(t.strengthDb + horizontalDb + VerticalWeightDb(beam, depression));
        if (n > 0) {
            const int first = std::max(0, static_cast<int>((slant - 0.5 * t.radius) / dr));
            const int last = std::min(n - 1, static_cast<int>((slant + 0.5 * t.radius + pulseMetres) / dr));
            for (int i = first; i <= last; ++i)
                power_[static_cast<std::size_t>(i)] += level * (0.7 + 0.6 * noise_.NextUnit());
        }
        // The target hides the floor behind it, fully within its own width.
        const double end = t.height < altitude ? horizontal * altitude / (altitude - t.height)
                                               : std::numeric_limits<double>::infinity();
        const double fringe = std::max(0.0, offDeg - extentDeg) / (0.6 * beam.horizontalDeg);
        shadows.push_back({horizontal, end, 1.0 - 0.95 * std::exp(-fringe * fringe)});
    }

    const double wallAltitude = std::isfinite(wallDistance)
        ? layout_.Altitude(px + ux * wallDistance, py + uy * wallDistance)
        : 0.0;
    const double tiltCos = std::cos(beam.tiltDeg * kDeg);
    for (int i = 0; i < n; ++i) {
        const double r = (i + 0.5) * dr;
        const double footprint = r * horizontalRad * std::max(pulseMetres, dr);
        double p = power_[static_cast<std::size_t>(i)];
        if (std::isfinite(wallDistance) && r >= wallDistance && r <= std::hypot(wallDistance, wallAltitude)) {
            const double depth = std::sqrt(std::max(0.0, r * r - wallDistance * wallDistance));
            const double depression = std::atan2(depth, wallDistance) / kDeg;
            const double texture = layout_.FloorTexture(
                (px + ux * wallDistance) + (py + uy * wallDistance), depth, textureCell);
            p += FromDb(wallDb + VerticalWeightDb(beam, depression)) * footprint * (0.5 + 0.5 * texture);
        }
        const double altitude = layout_.Altitude(px + ux * r * tiltCos, py + uy * r * tiltCos);
        if (r > altitude) {
            const double depressionRad = std::asin(altitude / r);
            const double d = r * std::cos(depressionRad);
            if (d < wallDistance) {
                const double qx = px + ux * d, qy = py + uy * d;
                const RippleField ripples = layout_.RipplesAt(qy);
                double relief = 1.0;
                if (ripples.amplitude > 0.0)
                    relief += ripples.amplitude
                        * std::sin(2.0 * kPi * (qx * ripples.dirX + qy * ripples.dirY) / ripples.wavelength);
                double shade = 1.0;
                for (const Shadow& s : shadows)
                    if (d > s.from && d < s.to)
                        shade *= s.factor;
                const double backscatterDb = -27.0 + 10.0 * std::log10(std::sin(depressionRad))
                    + VerticalWeightDb(beam, depressionRad / kDeg);
                const double speckle
                    = 0.6 * layout_.FloorTexture(qx, qy, textureCell) + 0.4 * Exponential(noise_);
                p += FromDb(backscatterDb) * footprint * relief * shade * speckle;
            }
        }
        // Two-way spreading after the head's internal 30 log r gain, and the
        // commanded absorption over the two-way path.
        const double lossDb = 10.0 * std::log10(std::max(r, 0.5)) + 2.0 * absorptionDbPerMetre * r;
        const double total = p * FromDb(-lossDb) + kNoisePower * Exponential(noise_);
        const double db = 10.0 * std::log10(total) + ping.gainDb + kCalibrationDb;
        const double counts = std::clamp(std::round(kCountsPerDb * db), 0.0, 255.0);
        echoes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(counts);
    }

    // Range to the bottom along the beam axis (or to the wall it meets first).
    const double tiltSin = std::sin(beam.tiltDeg * kDeg);
    double bottom = layout_.Altitude(px, py) / tiltSin;
    for (int k = 0; k < 8; ++k)
        bottom = 0.5 * bottom
            + 0.5 * layout_.Altitude(px + ux * bottom * tiltCos, py + uy * bottom * tiltCos) / tiltSin;
    if (wallDistance < bottom * tiltCos)
        bottom = wallDistance / tiltCos;
    if (bottom > range)
        return 0;
    return static_cast<int>(bottom * 100.0);
}

} // namespace velmaris::sim
