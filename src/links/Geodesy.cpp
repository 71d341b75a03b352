#include "links/Geodesy.h"

#include <cmath>

namespace velmaris {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadians = kPi / 180.0;
constexpr double kE2 = kWgs84Flattening * (2.0 - kWgs84Flattening);
constexpr double kPolar = 89.9;

// Radii of curvature in the meridian and in the prime vertical at `latitude`.
void Radii(double latitudeRadians, double& meridian, double& primeVertical)
{
    const double s = std::sin(latitudeRadians);
    const double w2 = 1.0 - kE2 * s * s;
    const double w = std::sqrt(w2);
    primeVertical = kWgs84SemiMajorAxis / w;
    meridian = kWgs84SemiMajorAxis * (1.0 - kE2) / (w2 * w);
}

double WrappedLongitude(double longitude)
{
    longitude = std::fmod(longitude + 180.0, 360.0);
    return (longitude < 0 ? longitude + 360.0 : longitude) - 180.0;
}

} // namespace

double NormalisedDegrees(double degrees)
{
    const double a = std::fmod(degrees, 360.0);
    return a < 0 ? a + 360.0 : a;
}

GeoPoint Destination(const GeoPoint& from, double azimuthDegrees, double metres)
{
    if (std::fabs(from.latitude) > kPolar || metres == 0)
        return from;
    const double north = metres * std::cos(azimuthDegrees * kRadians);
    const double east = metres * std::sin(azimuthDegrees * kRadians);
    const double lat0 = from.latitude * kRadians;
    // Puissant's short-line formulas: the meridian radius at the
    // mid-latitude (two rounds settle it), the bend of an east-west line
    // towards the equator, and the prime vertical radius at the end.
    double lat1 = lat0;
    double m = 0, n = 0;
    for (int round = 0; round < 2; ++round) {
        const double mid = 0.5 * (lat0 + lat1);
        Radii(mid, m, n);
        lat1 = lat0 + north / m - east * east * std::tan(mid) / (2.0 * m * n);
    }
    Radii(lat1, m, n);
    const double lon1 = from.longitude * kRadians + east / (n * std::cos(lat1));
    return GeoPoint {lat1 / kRadians, WrappedLongitude(lon1 / kRadians)};
}

void NorthEast(const GeoPoint& from, const GeoPoint& to, double& north, double& east)
{
    const double mid = 0.5 * (from.latitude + to.latitude) * kRadians;
    double m = 0, n = 0;
    Radii(mid, m, n);
    north = (to.latitude - from.latitude) * kRadians * m;
    east = WrappedLongitude(to.longitude - from.longitude) * kRadians * n * std::cos(mid);
}

} // namespace velmaris
