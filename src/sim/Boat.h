#pragma once
// The simulated survey boat: it runs parallel survey lines back and forth
// (a lawnmower pattern) from a start position, turning through a half
// circle whose diameter is the line spacing at each end, then works back
// across the area the same way and starts over. Its heading swings slowly a
// degree or so about the course over ground, as a real boat's yaw and crab
// do; the swing's phases come from the seed, so a seed and a time give one
// pose.
//
// Time is the boat clock: Unix seconds (UTC). The boat leaves its start at
// `epoch`; live simulators leave it at 0, so a head and a GPS in different
// processes agree on the pose by the wall clock alone. Before the epoch the
// boat is on its first line's extension. A plain value, any thread.

#include "sim/Geodesy.h"

#include <cstdint>

namespace velmaris::sim {

struct BoatOptions {
    GeoPoint start {59.43, 10.55}; // the open fjord between two harbours
    double speedKnots = 4.0; // over the ground, 0 lies still at the start
    double lineLength = 200.0; // metres
    double lineSpacing = 20.0; // metres between neighbouring lines
    int lines = 5; // at least 2
    double lineBearing = 0.0; // degrees true of the first line; the next lines lie to starboard of it
    double yawDegrees = 1.0; // amplitude of the heading's swing about the course
    double epoch = 0.0; // boat clock at which the boat leaves the start
    std::uint64_t seed = 1;
};

struct BoatPose {
    double east = 0.0; // metres east of the start
    double north = 0.0; // metres north of the start
    double heading = 0.0; // degrees true of the bow, 0..360
    double course = 0.0; // degrees true over the ground, 0..360
    double speed = 0.0; // metres a second over the ground
};

inline constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;

class Boat {
public:
    explicit Boat(const BoatOptions& options);

    BoatPose PoseAt(double clockSeconds) const;
    GeoPoint PositionOf(const BoatPose& pose) const;

    // Metres of one leg (a line and the turn after it) and seconds of a whole
    // cycle (out across the area and back).
    double LegMetres() const;
    double CycleSeconds() const;
    const BoatOptions& Options() const { return options_; }

private:
    BoatOptions options_;
    double speed_; // m/s
    double radius_; // of the turns
    double yawPhase_[2];
    double yawPeriod_[2];
};

// The wall clock as the boat's clock.
double BoatClockNow();

} // namespace velmaris::sim
