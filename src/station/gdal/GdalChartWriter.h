#pragma once
// The ChartWriter of builds with GDAL: GeoJSON, KML and GPX through OGR's
// own drivers, so every GIS and plotter reads them as it reads any other.
// Waypoints are points (GPX "waypoints"); a track is a line (GPX
// "track_points" of one track and segment, each with its time). Positions
// are WGS84 longitude and latitude in degrees.
//
// Each file is written beside its path under a temporary name and renamed
// over it when whole. Stateless; GDAL's drivers are registered once.
// Thread: one call at a time (GDAL's last error is per thread).

#include "station/ChartFiles.h"

namespace velmaris {

class GdalChartWriter final : public ChartWriter {
public:
    bool WriteWaypoints(const std::string& path, ChartFormat format, const std::vector<Waypoint>& waypoints,
        std::string& error) const override;
    bool WriteTrack(const std::string& path, ChartFormat format, const std::vector<TrackPoint>& points,
        std::string& error) const override;
};

} // namespace velmaris
