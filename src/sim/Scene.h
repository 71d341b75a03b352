#pragma once
// Echo synthesis: turns one ping of the simulated head (bearing, range and
// the commanded gain, absorption, pulse length and frequency) into echo
// bytes from the scene, and reports the range to the bottom.
//
// The level of an echo follows two-way spreading (after the head's fixed
// internal 30 log r gain), the commanded absorption over the two-way path,
// the commanded gain, the pulse energy and the frequency-dependent beam width;
// speckle is part fixed to the place, part fresh every ping. Not thread-safe:
// one Scene belongs to one head.

#include "sim/SceneLayout.h"
#include "sim/SplitMix64.h"

#include <cstdint>
#include <span>
#include <vector>

namespace velmaris::sim {

struct PingGeometry {
    double bearingDegrees = 0.0; // clockwise from straight ahead
    int rangeMetres = 30; // values below 1 are taken as 1
    int gainDb = 20; // command byte 8
    int absorption = 20; // command byte 10, 0.01 dB/m
    int pulseLength = 10; // command byte 14, 10 us
    int frequencyCode = 165; // command byte 25, kHz = 5 x code + 175
    bool sideScan = false; // wide, steeply tilted fan of a side-scan ping
};

class Scene {
public:
    explicit Scene(std::uint64_t seed);

    // Fills echoes (its size is the number of samples, spread evenly over the
    // range) and returns the slant range to the bottom along the beam axis in
    // centimetres, 0 when the bottom is beyond the range.
    int RenderPing(const PingGeometry& ping, std::span<std::uint8_t> echoes);

    // The vessel carrying the head: x and y in the layout's metres (with a
    // boat, x east and y north of its start) and its heading, degrees
    // clockwise from +y; the head's straight ahead is the bow. Stationary at
    // the origin heading +y until moved.
    double VesselX() const { return vesselX_; }
    double VesselY() const { return vesselY_; }
    double VesselHeading() const { return headingDegrees_; }
    void SetVesselPose(double x, double y, double headingDegrees);
    // Moves the vessel ahead along its heading.
    void AdvanceVessel(double metres);

    // A target fixed in the world besides the layout's (kept for the
    // scene's life).
    void AddTarget(const SceneTarget& target) { extraTargets_.push_back(target); }

    const SceneLayout& Layout() const { return layout_; }

private:
    SceneLayout layout_;
    SplitMix64 noise_;
    double vesselX_ = 0.0;
    double vesselY_ = 0.0;
    double headingDegrees_ = 0.0;
    double headingSin_ = 0.0, headingCos_ = 1.0;
    std::vector<SceneTarget> extraTargets_;
    std::vector<double> power_; // per-sample scratch
    std::vector<double> shadow_;
    std::vector<SceneTarget> targets_;
};

} // namespace velmaris::sim
