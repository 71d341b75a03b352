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

    // The vessel carrying the head; it moves only along +y.
    double VesselY() const { return vesselY_; }
    void AdvanceVessel(double metres) { vesselY_ += metres; }

    const SceneLayout& Layout() const { return layout_; }

private:
    SceneLayout layout_;
    SplitMix64 noise_;
    double vesselY_ = 0.0;
    std::vector<double> power_; // per-sample scratch
    std::vector<double> shadow_;
    std::vector<SceneTarget> targets_;
};

} // namespace velmaris::sim
