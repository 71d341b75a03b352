#include "station/ChartFiles.h"

#include "files/TrackFile.h"
#include "image/PictureFormat.h"
#include "protocol/TimeStamp.h"
#include "station/CursorPlaces.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace velmaris {
namespace {

// "2026-12-09T18:44:32" and, with `hundredths`, ".17".
std::string StampText(double seconds, bool hundredths)
{
    if (!std::isfinite(seconds))
        return {};
    const long long total = std::llround(std::floor(seconds * 100.0));
    long long days = total / 8'640'000;
    long long rest = total % 8'640'000;
    if (rest < 0) {
        rest += 8'640'000;
        --days;
    }
    int year = 0, month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    char text[48];
    const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02lld:%02lld:%02lld", year, month, day,
        rest / 360'000, rest / 6000 % 60, rest / 100 % 60);
    if (hundredths)
        std::snprintf(text + n, sizeof text - std::size_t(n), ".%02lld", rest % 100);
    return text;
}

// Fixed decimals with "." whatever the locale.
std::string Fixed(double value, int decimals)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string();
}

} // namespace

std::optional<ChartFormat> ChartFormatForPath(std::string_view path)
{
    const std::string ext = LowerExtension(path);
    if (ext == "csv")
        return ChartFormat::Csv;
    if (ext == "geojson" || ext == "json")
        return ChartFormat::GeoJson;
    if (ext == "kml")
        return ChartFormat::Kml;
    if (ext == "gpx")
        return ChartFormat::Gpx;
    return std::nullopt;
}

std::vector<Waypoint> TargetWaypoints(const std::vector<MeasuredTarget>& targets)
{
    std::vector<Waypoint> waypoints;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const MeasuredTarget& t = targets[i];
        if (!t.places)
            continue;
        const TargetPlaces& p = *t.places;
        Waypoint w;
        w.where = GeoPoint {p.middle.latitude, p.middle.longitude};
        w.name = "Target " + std::to_string(i + 1);
        w.description = "Size " + Fixed(t.size, 2) + " m, from "
            + PositionText({p.anchor.latitude, p.anchor.longitude}) + " to "
            + PositionText({p.end.latitude, p.end.longitude});
        if (const auto seconds = PingStampSeconds(t.pingDate, t.pingTime, ".00"))
            w.time = StampText(*seconds, false);
        w.numbers = {{"size_m", t.size}, {"anchor_lat", p.anchor.latitude},
            {"anchor_lon", p.anchor.longitude}, {"end_lat", p.end.latitude}, {"end_lon", p.end.longitude}};
        waypoints.push_back(std::move(w));
    }
    return waypoints;
}

std::string UtcStampText(double seconds, int utcOffsetMinutes)
{
    const std::string text = StampText(seconds - utcOffsetMinutes * 60.0, true);
    return text.empty() ? text : text + "Z";
}

std::vector<TrackPoint> TrackPoints(const NavigationTrack& track, int utcOffsetMinutes)
{
    std::vector<TrackPoint> points;
    points.reserve(track.Fixes().size());
    for (const TrackFix& fix : track.Fixes())
        points.push_back({fix.position, UtcStampText(fix.seconds, utcOffsetMinutes)});
    return points;
}

std::string TrackCsv(const std::vector<TrackPoint>& points)
{
    std::string csv = "time,latitude,longitude\r\n";
    for (const TrackPoint& p : points) {
        csv += p.time;
        csv += ',' + Fixed(p.where.latitude, 7) + ',' + Fixed(p.where.longitude, 7) + "\r\n";
    }
    return csv;
}

} // namespace velmaris
