#pragma once
// Targets and tracks for charts: waypoints (one per measured target, at its
// middle) and a vessel track, written as CSV here, or as GeoJSON, KML or GPX
// by a ChartWriter (the GDAL one in station/gdal, in builds that have GDAL;
// a build without it offers CSV alone). The format follows the file name's
// extension.
//
// Plain values and functions, any thread; a ChartWriter is called on one
// thread at a time.

#include "image/MeasuredTargets.h"
#include "links/Navigation.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmaris {

enum class ChartFormat { Csv, GeoJson, Kml, Gpx };

// By the extension, without regard to case: .csv, .geojson (or .json),
// .kml, .gpx; nullopt for any other.
std::optional<ChartFormat> ChartFormatForPath(std::string_view path);

struct Waypoint {
    GeoPoint where;
    std::string name; // "Target 3"
    std::string description; // one line for a plotter's list
    std::string time; // "2026-12-09T18:44:32", local wall clock; "" for none
    // Further fields for the formats that keep them (GeoJSON, KML).
    std::vector<std::pair<std::string, double>> numbers;
};

struct TrackPoint {
    GeoPoint where;
    std::string time; // "2026-12-09T17:44:32.17Z" (UTC) or "" for none
};

class ChartWriter {
public:
    virtual ~ChartWriter() = default;
    // Write a whole file at `path` in `format` (not Csv); false with the
    // cause in `error`, and no file left behind.
    virtual bool WriteWaypoints(const std::string& path, ChartFormat format,
        const std::vector<Waypoint>& waypoints, std::string& error) const = 0;
    virtual bool WriteTrack(const std::string& path, ChartFormat format,
        const std::vector<TrackPoint>& points, std::string& error) const = 0;
};

// The targets with places, each as a waypoint at its middle named "Target
// N" (N its number in the list, from 1); the description gives the size
// and both ends, the numbers the size and the ends' latitudes and longitudes.
std::vector<Waypoint> TargetWaypoints(const std::vector<MeasuredTarget>& targets);

// The valid fixes of `track` as track points, times in UTC for a track
// stamped `utcOffsetMinutes` east of it.
std::vector<TrackPoint> TrackPoints(const NavigationTrack& track, int utcOffsetMinutes);

// "time,latitude,longitude" and one CRLF row per point (degrees with 7
// decimals).
std::string TrackCsv(const std::vector<TrackPoint>& points);

// "2026-12-09T17:44:32.17Z" for LocalSeconds() `seconds` stamped
// `utcOffsetMinutes` east of UTC.
std::string UtcStampText(double seconds, int utcOffsetMinutes);

} // namespace velmaris
