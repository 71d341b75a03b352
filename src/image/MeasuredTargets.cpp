#include "image/MeasuredTargets.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "image/PaintInputs.h"
#include "image/ViewGeometry.h"
#include "image/ViewReadouts.h"
#include "protocol/Units.h"

namespace velmaris {

namespace {

// Fixed decimals with "." whatever the C locale says; nothing for a value
// that is not a number (it cannot come from the read-out, but costs nothing).
std::string Fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    value += 0.0; // -0.0 would print as "-0.00"
    std::array<char, 64> text {};
    const auto result
        = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return {};
    std::string out(text.data(), result.ptr);
    // A negative value that rounds to zero has no sign.
    return out.starts_with('-') && out.find_first_not_of("-0.") == std::string::npos ? out.substr(1) : out;
}

std::string Bearing(const std::optional<double>& bearing)
{
    return bearing ? Fixed(*bearing, 1) : std::string();
}

std::string TwoDigits(int value)
{
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}
} // namespace

std::optional<MeasuredTarget> FinishedMeasurement(
    const ReadoutFrame& frame, const ViewInteraction& view, int x, int y)
{
    if (!view.measureMode || !view.measurementShown)
        return std::nullopt;
    const bool sideScan = frame.displayMode == DisplayMode::SideScan;
    MeasuredTarget target;
    CursorReading reading;
    ReadCursor(frame, view, view.anchorX, view.anchorY, reading);
    target.anchorRange = reading.range;
    if (!sideScan)
        target.anchorBearing = reading.bearing;
    ReadCursor(frame, view, x, y, reading);
    target.endRange = reading.range;
    if (!sideScan)
        target.endBearing = reading.bearing;
    target.size = reading.targetSize;
    return target;
}

std::string WallClockText(int year, int month, int day, int hour, int minute, int second)
{
    return std::to_string(year) + "-" + TwoDigits(month) + "-" + TwoDigits(day) + " " + TwoDigits(hour) + ":"
        + TwoDigits(minute) + ":" + TwoDigits(second);
}

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string TargetsCsv(const std::vector<MeasuredTarget>& targets)
{
    const bool placed = std::any_of(
        targets.begin(), targets.end(), [](const MeasuredTarget& t) { return t.places.has_value(); });
    std::string csv(kTargetsCsvHeader);
    if (placed)
        csv += kTargetsCsvPlacesHeader;
    csv += "\r\n";
    for (const MeasuredTarget& t : targets) {
        const std::array<std::string, 9> fields {CsvField(t.measuredAt), CsvField(t.pingDate),
            CsvField(t.pingTime), Fixed(t.anchorRange, 2), Bearing(t.anchorBearing), Fixed(t.endRange, 2),
            Bearing(t.endBearing), Fixed(t.size, 2), Fixed(FeetForMetres(t.size), 2)};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i != 0)
                csv += ',';
            csv += fields[i];
        }
        if (placed && !t.places)
            csv += ",,,,,,";
        else if (placed)
            for (const TargetPlace& p : {t.places->anchor, t.places->middle, t.places->end})
                csv += ',' + Fixed(p.latitude, 7) + ',' + Fixed(p.longitude, 7);
        csv += "\r\n";
    }
    return csv;
}

} // namespace velmaris
