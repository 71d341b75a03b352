#include "image/ViewReadouts.h"

#include <algorithm>
#include <cmath>

#include "image/PaintInputs.h"
#include "image/ViewTexts.h"
#include "protocol/SonarSettings.h"
#include "protocol/Units.h"

namespace velmaris {

namespace {
constexpr double kSamplesPerLine = 500.0;
constexpr double kDegreesPerRadian = 57.295780490442965;

std::string Distance(double metres, int metricScale)
{
    // -0.0 would print as "-0.00": adding 0.0 makes it +0.0.
    metres += 0.0;
    return metricScale == 1 ? FormatText("%.2f ft", FeetForMetres(metres)) : FormatText("%.2f m", metres);
}
} // namespace

double MetresPerPixel(int rangeIndex, double zoom)
{
    if (!(zoom > 0) || !std::isfinite(zoom))
        return 0.0;
    const int range = RangeMetresForIndex(std::clamp(rangeIndex, 0, kRangeCount - 1));
    return range / zoom / kSamplesPerLine;
}

ScreenPoint ReadoutOrigin(const ReadoutFrame& frame, int panX, int panY, int y)
{
    if (frame.displayMode == DisplayMode::SideScan)
        return {TruncToInt(frame.cx / 2 - frame.zoom * kSamplesPerLine * 0.5 + panX), y};
    return {TruncToInt(static_cast<double>(frame.cx / 2) + panX),
        TruncToInt(static_cast<double>(frame.cy / 2) + panY)};
}

void ReadCursor(const ReadoutFrame& frame, const ViewInteraction& view, int x, int y, CursorReading& reading)
{
    const double scale = MetresPerPixel(frame.rangeIndex, frame.zoom);
    if (view.measureMode && view.measurementShown) {
        const double ax = static_cast<double>(view.anchorX) - x;
        const double ay = static_cast<double>(view.anchorY) - y;
        reading.targetSize = std::sqrt(ax * ax + ay * ay) * scale;
    } else {
        reading.targetSize = 0.0;
    }
    const ScreenPoint origin = ReadoutOrigin(frame, view.panX, view.panY, y);
    const double dx = static_cast<double>(origin.x) - x;
    const double dy = static_cast<double>(origin.y) - y;
    reading.range = std::sqrt(dx * dx + dy * dy) * scale;
    reading.horizontal = dx * scale;
    reading.vertical = dy * scale;
    if (frame.displayMode == DisplayMode::SideScan)
        return;
    if (dx == 0 && dy == 0) {
        reading.bearing = 0.0;
        return;
    }
    // x == origin gives +-infinity, whose arctangent is +-90: straight up 0, down 180.
    const double t = std::atan((static_cast<double>(y) - origin.y) / (static_cast<double>(x) - origin.x))
        * kDegreesPerRadian;
    double bearing = x >= origin.x ? t + 90.0 : t + 270.0;
    // The degree constant is a little above 180 / pi, so straight up comes
    // out a hair below 0 and would read "-0.0 deg.".
    if (bearing >= 360.0 || bearing < 0.0)
        bearing = 0.0;
    reading.bearing = bearing;
}

ReadoutTexts FormatReadouts(const CursorReading& reading, int metricScale, DisplayMode displayMode)
{
    const bool sideScan = displayMode == DisplayMode::SideScan;
    ReadoutTexts texts;
    if (reading.targetSize != 0.0)
        texts.targetSize = Distance(reading.targetSize, metricScale);
    texts.range = Distance(reading.range, metricScale);
    texts.bearing = sideScan ? "n/a" : FormatText("%.1f deg.", reading.bearing);
    texts.horizontal = Distance(-reading.horizontal, metricScale);
    texts.vertical = sideScan ? "n/a" : Distance(reading.vertical, metricScale);
    return texts;
}

} // namespace velmaris
