#pragma once
// Points on the WGS84 ellipsoid near a known one: where a point lies at a
// distance and azimuth from another (the head from the antenna, a sample
// from the head). Over the short distances a sonar sees, short-line
// formulas on the ellipsoid's radii of curvature stay within a micrometre of
// the geodesic at 100 m and a millimetre at 1 km (half a metre at 10 km) up
// to 85 degrees of latitude; beyond 89.9 degrees longitudes are not defined
// and the result is the start.
//
// Plain functions, any thread; no allocation.

namespace velmaris {

struct GeoPoint {
    double latitude = 0; // degrees, north positive
    double longitude = 0; // degrees, east positive, -180 to 180

    bool operator==(const GeoPoint&) const = default;
};

inline constexpr double kWgs84SemiMajorAxis = 6378137.0;
inline constexpr double kWgs84Flattening = 1.0 / 298.257223563;

// The point `metres` away from `from` along azimuth `azimuthDegrees`
// (clockwise from true north).
GeoPoint Destination(const GeoPoint& from, double azimuthDegrees, double metres);

// Metres north and east from `from` to `to` (the inverse of Destination over
// the same short distances).
void NorthEast(const GeoPoint& from, const GeoPoint& to, double& north, double& east);

// Degrees brought into [0, 360).
double NormalisedDegrees(double degrees);

} // namespace velmaris
