#pragma once
// The targets the operator measured during this run ("Measure Target"): one
// entry for every finished measurement, that is every click that lifts an
// anchor. Each holds when it was measured, the ping on screen, both ends as
// range and bearing from the sonar origin (the status-bar read-out at those
// points) and the size, and, when the ping on screen had a position and a
// heading, where both ends and the middle lie. The list lives in memory only, for the run; "Export
// Targets..." writes it as CSV. Plain values; UI thread, nothing shared.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaris {

// The document keeps the list and includes this header: the view's own
// types stay out of it.
struct ReadoutFrame;
struct ViewInteraction;

// Latitude and longitude in degrees (north and east positive).
struct TargetPlace {
    double latitude = 0.0;
    double longitude = 0.0;
};
struct TargetPlaces {
    TargetPlace anchor;
    TargetPlace middle;
    TargetPlace end;
};

struct MeasuredTarget {
    std::string measuredAt; // wall clock of the measurement, "2026-12-09 10:33:18"
    std::string pingDate; // the ping on screen, "07-DEC-2026"
    std::string pingTime; // "14:30:05"
    double anchorRange = 0.0; // metres from the sonar origin
    std::optional<double> anchorBearing; // degrees clockwise from screen-up; none in SideScan
    double endRange = 0.0;
    std::optional<double> endBearing;
    double size = 0.0; // metres from the anchor to the end
    std::optional<TargetPlaces> places; // none without a position and a heading
};

// The measurement that a left click at (x, y) finishes: measure mode on and
// an anchor shown (the click lifts it). Call it before PressLeft. Nullopt
// for any other click. The texts are left empty for the caller.
std::optional<MeasuredTarget> FinishedMeasurement(
    const ReadoutFrame& frame, const ViewInteraction& view, int x, int y);

// "2026-12-09 10:33:18".
std::string WallClockText(int year, int month, int day, int hour, int minute, int second);

// One CSV field: as it is, or in double quotes (quotes doubled) when it
// holds a comma, a double quote, a carriage return or a line feed.
std::string CsvField(std::string_view text);

// The whole CSV file: a header row, then one row per target, every row
// ending in CRLF. Distances in metres with 2 decimals (sizes in feet too,
// metres / 0.3048), bearings with 1 decimal, a missing bearing as an empty
// field; the decimal point is always ".", whatever the locale. When a
// target has places, every row adds the latitude and longitude of the
// anchor, the middle and the end in degrees with 7 decimals (empty for a
// target without).
std::string TargetsCsv(const std::vector<MeasuredTarget>& targets);

inline constexpr std::string_view kTargetsCsvHeader = "Time,Ping Date,Ping Time,Anchor Range (m),"
                                                      "Anchor Bearing (deg),End Range (m),End Bearing (deg),"
                                                      "Size (m),Size (ft)";
inline constexpr std::string_view kTargetsCsvPlacesHeader
    = ",Anchor Latitude,Anchor Longitude,Middle Latitude,Middle Longitude,End Latitude,End Longitude";

} // namespace velmaris
