#include "image/PaintInputs.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "image/ImageRaster.h"
#include "protocol/CommandMessage.h"

namespace velmaris {

PaintInputs MakePaintInputs(
    const PingRecord& ping, const SonarSettings& settings, const CommandMessage& command)
{
    PaintInputs in;
    in.dataPoints = command[CommandMessage::kDataPoints];
    in.directionFlag = ping.directionFlag;
    in.headAngle = ping.headAngle;
    in.pingRange = ping.replyRange;
    in.statusOffset = ping.statusOffset;
    in.profileHistory = ping.profileHistory;
    in.displayMode = settings.sectorMode;
    in.step = command[CommandMessage::kStep];
    in.pulseLength = settings.pulseLength;
    in.speedOfSound = settings.speedOfSound;
    in.zoom = settings.zoom;
    in.sonarUpDown = settings.sonarUpDown;
    in.rangeSetting = command[CommandMessage::kRange];
    in.mixWeight = settings.profileMixWeight;
    in.profilePointSize = settings.profilePointSize;
    in.profileDispMode = settings.profileDispMode;
    return in;
}

int TruncToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

int ImageRadiusPx(double zoom)
{
    if (!(zoom > 0 && zoom <= kMaxPaintZoom))
        return 0;
    return static_cast<int>(1000 * zoom) / 2;
}

PaintGeometry ComputePaintGeometry(const PaintInputs& in)
{
    PaintGeometry geo;
    const double v = in.speedOfSound;
    const double range = in.pingRange;
    if (!(in.zoom > 0 && in.zoom <= kMaxPaintZoom) || !(v > 0) || !std::isfinite(v) || !(range > 0)
        || !std::isfinite(range)) {
        return geo;
    }
    geo.radiusPx = ImageRadiusPx(in.zoom);
    // The start delay in microseconds, turned into metres and then samples.
    const double d = static_cast<double>(in.statusOffset) + 10.0 * in.pulseLength;
    const double f = d * v * 0.5 / 10000;
    const int n = 10 * in.dataPoints;
    geo.startDelay = f < 0 ? 0.0 : f * n / (range * v / 1500) / 100;
    geo.valid = std::isfinite(geo.startDelay);
    return geo;
}

LineSampleRanges SampleRangesOf(const PaintInputs& in)
{
    PaintInputs one = in;
    one.zoom = 1.0;
    const PaintGeometry geo = ComputePaintGeometry(one);
    LineSampleRanges ranges;
    if (!geo.valid)
        return ranges;
    const double metresPerPixel = in.pingRange / 500.0;
    ranges.first = geo.startDelay * metresPerPixel;
    ranges.step = in.speedOfSound / 1500 * metresPerPixel;
    // The same radius and column expressions as the painters' plans. Radii
    // grow with i, so the count is the first i not kept: estimated, then
    // settled by the expressions themselves.
    const bool fan = in.displayMode != DisplayMode::SideScan;
    const int width = ImageRaster::kWidth - 250;
    const auto kept = [&](int i) {
        const double r = i * in.speedOfSound / 1500 + geo.startDelay;
        return fan ? r < geo.radiusPx + 1 : std::trunc(r) < width;
    };
    const double limit = fan ? geo.radiusPx + 1 : width;
    int count = static_cast<int>(
        std::clamp((limit - geo.startDelay) * 1500 / in.speedOfSound, 0.0, double(geo.radiusPx)));
    while (count > 0 && !kept(count - 1))
        --count;
    while (count < geo.radiusPx && kept(count))
        ++count;
    ranges.count = count;
    return ranges;
}

} // namespace velmaris
