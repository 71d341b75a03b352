#pragma once
// Metres east and north of a point to latitude and longitude and back, on
// the WGS84 ellipsoid with its local radii of curvature: a few millimetres
// over a survey area a few kilometres across, which is what the simulated
// boat needs. Plain functions, any thread.

namespace velmaris::sim {

struct GeoPoint {
    double latitude = 0.0; // degrees, north positive
    double longitude = 0.0; // degrees, east positive, -180..180

    bool operator==(const GeoPoint&) const = default;
};

inline constexpr double kWgs84SemiMajor = 6378137.0; // metres
inline constexpr double kWgs84Flattening = 1.0 / 298.257223563;

// Radius of curvature along the meridian and across it (prime vertical) at
// a latitude, in metres.
double MeridianRadius(double latitudeDegrees);
double PrimeVerticalRadius(double latitudeDegrees);

// The point `east` and `north` metres from `origin` on its local tangent
// plane.
GeoPoint OffsetToGeo(const GeoPoint& origin, double east, double north);

// The inverse: metres east and north of `origin`.
struct Offset {
    double east = 0.0;
    double north = 0.0;
};
Offset GeoToOffset(const GeoPoint& origin, const GeoPoint& point);

} // namespace velmaris::sim
