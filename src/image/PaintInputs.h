#pragma once
// Everything one ping's painting reads besides the scan lines, gathered by
// the caller from the ping, the settings and the live command message, and
// the per-ping quantities derived from it.

#include <array>
#include <cstdint>

#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"

namespace velmaris {

class CommandMessage;

struct PaintInputs {
    int dataPoints = 50; // D (command byte 19): 25 for 250 echo bytes, 50 for 500
    int directionFlag = 0; // which way the head is stepping
    double headAngle = 0.0; // theta, degrees clockwise from screen-up
    double pingRange = 30.0; // R, metres the head used for this ping
    int statusOffset = 0; // microseconds
    std::array<ProfileEntry, 3> profileHistory {}; // oldest first
    DisplayMode displayMode = DisplayMode::Polar;
    int step = kStepFast; // live step code (command byte 13)
    int pulseLength = 10; // units of 10 microseconds
    double speedOfSound = 1500.0; // V, m/s
    double zoom = 1.0; // z
    int sonarUpDown = 0;
    double rangeSetting = 30.0; // R_set, live range (command byte 3)
    double mixWeight = 1.0; // k, from ProfileDispMode
    int profilePointSize = 1; // 0 Small, 1 Medium, 2 Large
    int profileDispMode = 0; // 0 Off: no profile points
};

// Gathers the inputs: direction, angle, range, status offset and profile
// history from the ping; D, the step and R_set from command bytes 19, 13 and
// 3 (the reply decoder sets 19 and, in playback and UDP mode, 3 per ping);
// the rest from the settings.
PaintInputs MakePaintInputs(
    const PingRecord& ping, const SonarSettings& settings, const CommandMessage& command);

// Zooms accepted for painting; outside (0, kMaxPaintZoom] (or not a number)
// nothing is painted. The largest gives a 4000-pixel radius.
inline constexpr double kMaxPaintZoom = 8.0;

struct PaintGeometry {
    bool valid = false; // false: no fan, no side-scan samples, no profile point
    int radiusPx = 0; // R_px: image radius and both origin coordinates
    double startDelay = 0.0; // g, samples, added to pixel radii unscaled
};

// R_px = trunc(trunc(1000 z) / 2); 0 for a zoom outside the accepted span.
int ImageRadiusPx(double zoom);

// R_px and the start-delay offset g of one ping. Invalid when the ping range
// is 0 (g and the profile radius are undefined), or the speed of sound or
// zoom cannot be used.
PaintGeometry ComputePaintGeometry(const PaintInputs& in);

// Where the painters put the samples of one prepared 500-sample line, in
// metres from the head: sample j lands at pixel radius j V / 1500 + g at
// zoom 1, and a pixel is R / 500 metres (R the ping's range), as the cursor
// read-out measures it. The fan keeps the samples whose radius stays below
// R_px + 1; the waterfall keeps those whose column lies in the raster.
// `count` is 0 when the ping paints nothing.
struct LineSampleRanges {
    double first = 0; // metres of sample 0
    double step = 0; // metres from one sample to the next
    int count = 0; // samples 0 .. count - 1 are painted
};
LineSampleRanges SampleRangesOf(const PaintInputs& in);

// Conversion toward zero that saturates instead of overflowing (NaN gives 0).
int TruncToInt(double v);

} // namespace velmaris
