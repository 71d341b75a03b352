#include "sim/SceneLayout.h"

#include "sim/SplitMix64.h"

#include <algorithm>
#include <cmath>

namespace velmaris::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool Inside(const SceneTarget& t, double xMin, double xMax, double yMin, double yMax)
{
    return t.x >= xMin && t.x <= xMax && t.y >= yMin && t.y <= yMax;
}

// A wreck-like cluster: hull sides, a higher superstructure and scattered
// debris around a centre, lying at an angle.
void AddWreck(SplitMix64& rng, double cx, double cy, double length, std::vector<SceneTarget>& out)
{
    const double heading = rng.NextUnit() * kPi;
    const double ax = std::sin(heading), ay = std::cos(heading); // along the hull
    const double bx = ay, by = -ax; // across
    const double beam = length * 0.28;
    const int frames = 7;
    for (int i = 0; i < frames; ++i) {
        const double s = (static_cast<double>(i) / (frames - 1) - 0.5) * length;
        const double taper = 1.0 - 0.7 * std::pow(std::abs(2.0 * s / length), 3.0);
        for (int side = -1; side <= 1; side += 2) {
            const double w = side * 0.5 * beam * taper;
            out.push_back({cx + ax * s + bx * w, cy + ay * s + by * w, 1.4 + 1.2 * taper * rng.NextUnit(),
                0.6, -7.0 + 3.0 * rng.NextUnit()});
        }
    }
    // Superstructure amidships, standing well off the floor.
    out.push_back({cx + ax * length * 0.1, cy + ay * length * 0.1, 3.5, 1.0, -2.0});
    for (int i = 0; i < 6; ++i) {
        const double a = rng.NextUnit() * 2.0 * kPi;
        const double d = length * (0.55 + 0.4 * rng.NextUnit());
        out.push_back({cx + std::cos(a) * d, cy + std::sin(a) * d, 0.2 + 0.4 * rng.NextUnit(), 0.3,
            -16.0 + 4.0 * rng.NextUnit()});
    }
}

} // namespace

double SceneLayout::Altitude(double x, double y) const
{
    const double a = 5.0 + 0.04 * x + 1.5 * std::sin(2.0 * kPi * y / 150.0);
    return std::max(1.0, a);
}

const std::vector<SceneWall>& SceneLayout::Walls() const
{
    // The quay to port of the harbour and the pier head at its end.
    static const std::vector<SceneWall> walls {
        {-22.0, -60.0, -22.0, 40.0, -4.0},
        {-22.0, 40.0, -9.0, 46.0, -5.0},
    };
    return walls;
}

void SceneLayout::AddHarbour(std::vector<SceneTarget>& out) const
{
    SplitMix64 rng(HashCoords(seed_, 0x4841524255ll)); // fixed per seed
    auto jitter = [&rng]() { return (rng.NextUnit() - 0.5) * 2.0; };
    out.push_back({6.0 + jitter(), 9.0 + jitter(), 0.8, 0.5, -6.0}); // mooring block
    out.push_back({-8.0 + jitter(), 14.0 + jitter(), 0.4, 0.4, -12.0}); // tyre
    out.push_back({3.0 + jitter(), -12.0 + jitter(), 0.6, 0.3, -9.0}); // sinker
    out.push_back({15.0 + jitter(), -6.0 + jitter(), 2.0, 0.2, -10.0}); // post
    out.push_back({-4.0 + jitter(), 25.0 + jitter(), 1.2, 0.9, -8.0}); // rock
    out.push_back({18.0 + jitter(), 30.0 + jitter(), 0.3, 0.2, -18.0}); // small debris
    AddWreck(rng, 12.0 + jitter(), 22.0 + jitter(), 11.0, out);
}

void SceneLayout::AddTile(long tile, std::vector<SceneTarget>& out) const
{
    SplitMix64 rng(HashCoords(seed_, 0x54494C45ll, tile));
    const double y0 = tile * kTileLength;
    const int rocks = 4 + static_cast<int>(rng.NextBelow(8));
    for (int i = 0; i < rocks; ++i) {
        const double x = (rng.NextUnit() - 0.5) * 220.0;
        const double y = y0 + rng.NextUnit() * kTileLength;
        const double size = rng.NextUnit();
        out.push_back({x, y, 0.3 + 1.5 * size, 0.3 + 1.0 * size, -16.0 + 10.0 * size});
    }
    if (rng.NextUnit() < 0.3) {
        const double side = rng.NextUnit() < 0.5 ? -1.0 : 1.0;
        AddWreck(rng, side * (8.0 + rng.NextUnit() * 30.0), y0 + kTileLength * 0.5,
            9.0 + rng.NextUnit() * 12.0, out);
    }
}

void SceneLayout::CollectTargets(
    double xMin, double xMax, double yMin, double yMax, std::vector<SceneTarget>& out) const
{
    std::vector<SceneTarget> all;
    const long first = static_cast<long>(std::floor(yMin / kTileLength)) - 1; // wrecks overhang their tile
    const long last = static_cast<long>(std::floor(yMax / kTileLength)) + 1;
    for (long tile = first; tile <= last; ++tile) {
        if (tile >= -1 && tile <= 1)
            continue; // the harbour
        AddTile(tile, all);
    }
    if (yMin < 2.0 * kTileLength && yMax > -2.0 * kTileLength)
        AddHarbour(all);
    for (const SceneTarget& t : all)
        if (Inside(t, xMin, xMax, yMin, yMax))
            out.push_back(t);
}

RippleField SceneLayout::RipplesAt(double y) const
{
    const long tile = static_cast<long>(std::floor(y / kTileLength));
    SplitMix64 rng(HashCoords(seed_, 0x5249504Cll, tile));
    RippleField field;
    if (tile >= -1 && tile <= 1)
        return field; // the harbour floor is mud
    if (rng.NextUnit() < 0.45) {
        field.amplitude = 0.35 + 0.4 * rng.NextUnit();
        field.wavelength = 0.6 + 1.2 * rng.NextUnit();
        const double a = (rng.NextUnit() - 0.5) * 0.8;
        field.dirX = std::cos(a);
        field.dirY = std::sin(a);
    }
    return field;
}

double SceneLayout::FloorTexture(double x, double y, double cell) const
{
    const auto ix = static_cast<std::int64_t>(std::floor(x / cell));
    const auto iy = static_cast<std::int64_t>(std::floor(y / cell));
    const double u = UnitFromHash(HashCoords(seed_, ix, iy, 0x464C));
    return -std::log(1.0 - u);
}

double RayWallDistance(double px, double py, double ux, double uy, const SceneWall& wall)
{
    const double ex = wall.x1 - wall.x0, ey = wall.y1 - wall.y0;
    const double denom = ux * ey - uy * ex;
    if (std::abs(denom) < 1e-12)
        return -1.0;
    const double wx = wall.x0 - px, wy = wall.y0 - py;
    const double t = (wx * ey - wy * ex) / denom; // along the ray
    const double s = (wx * uy - wy * ux) / denom; // along the wall
    if (t <= 0.0 || s < 0.0 || s > 1.0)
        return -1.0;
    return t;
}

} // namespace velmaris::sim
