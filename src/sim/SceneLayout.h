#pragma once
// The simulated underwater world: a sloping, gently undulating sea floor, a
// harbour near the origin (quay wall, a few small objects and a wreck-like
// cluster) and, along the track a moving vessel follows, seeded tiles of
// rocks, the odd wreck and fields of sand ripples. Everything is generated
// from the seed alone, on demand, so two scenes with the same seed agree.
//
// Coordinates in metres: x to starboard, y ahead (the vessel steams along +y);
// z is height above the local sea floor. A simulated boat takes x as east and
// y as north of its start.

#include <cstdint>
#include <vector>

namespace velmaris::sim {

struct SceneTarget {
    double x = 0.0;
    double y = 0.0;
    double height = 0.0; // top above the floor, metres
    double radius = 0.3; // horizontal extent, metres
    double strengthDb = -10.0; // target strength
};

// A vertical wall from the floor to the surface: blocks everything behind it.
struct SceneWall {
    double x0, y0, x1, y1;
    double strengthDb;
};

// Ripple field of one tile of floor (amplitude 0 means a plain floor).
struct RippleField {
    double amplitude = 0.0; // relative modulation of backscatter, 0..1
    double wavelength = 1.0; // metres
    double dirX = 1.0, dirY = 0.0; // unit vector across the crests
};

class SceneLayout {
public:
    static constexpr double kTileLength = 40.0; // metres along y

    explicit SceneLayout(std::uint64_t seed)
        : seed_(seed)
    { }

    std::uint64_t Seed() const { return seed_; }

    // Height of the head's depth above the floor at (x, y): the floor deepens
    // to starboard and undulates along the track; never below 1 m.
    double Altitude(double x, double y) const;

    // Every target whose position lies in the given box (appended to out).
    void CollectTargets(
        double xMin, double xMax, double yMin, double yMax, std::vector<SceneTarget>& out) const;

    const std::vector<SceneWall>& Walls() const;

    RippleField RipplesAt(double y) const;

    // Backscatter texture of the floor at (x, y) on a grid of the given cell
    // size: exponentially distributed, mean 1, fixed to the place.
    double FloorTexture(double x, double y, double cell) const;

private:
    void AddHarbour(std::vector<SceneTarget>& out) const;
    void AddTile(long tile, std::vector<SceneTarget>& out) const;

    std::uint64_t seed_;
};

// Horizontal distance along a ray from (px, py) in direction (ux, uy) to the
// wall, or a negative value when the ray misses it.
double RayWallDistance(double px, double py, double ux, double uy, const SceneWall& wall);

} // namespace velmaris::sim
