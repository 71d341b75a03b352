#include "sim/Geodesy.h"

#include <cmath>

namespace velmaris::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kE2 = kWgs84Flattening * (2.0 - kWgs84Flattening); // first eccentricity squared

double WrapLongitude(double degrees)
{
    const double wrapped = std::fmod(degrees + 180.0, 360.0);
    return (wrapped < 0.0 ? wrapped + 360.0 : wrapped) - 180.0;
}

} // namespace

double MeridianRadius(double latitudeDegrees)
{
    const double s = std::sin(latitudeDegrees * kDeg);
    const double w = 1.0 - kE2 * s * s;
    return kWgs84SemiMajor * (1.0 - kE2) / (w * std::sqrt(w));
}

double PrimeVerticalRadius(double latitudeDegrees)
{
    const double s = std::sin(latitudeDegrees * kDeg);
    return kWgs84SemiMajor / std::sqrt(1.0 - kE2 * s * s);
}

namespace {

// Going east on the tangent plane leaves the parallel, which curves towards
// the pole: the latitude falls by east^2 tan(lat) / (2 M N) radians (13 cm
// over a kilometre at 60 degrees).
double ParallelDrop(const GeoPoint& origin, double east)
{
    const double lat = origin.latitude * kDeg;
    return east * east * std::tan(lat)
        / (2.0 * MeridianRadius(origin.latitude) * PrimeVerticalRadius(origin.latitude)) / kDeg;
}

} // namespace

// North goes along the meridian with its radius at the middle latitude; east
// is the distance from the start's meridian plane, so it takes the parallel
// of the point itself (meridians converge towards the poles).
GeoPoint OffsetToGeo(const GeoPoint& origin, double east, double north)
{
    const double guess = origin.latitude + 0.5 * north / MeridianRadius(origin.latitude) / kDeg;
    GeoPoint p;
    p.latitude = origin.latitude + north / MeridianRadius(guess) / kDeg - ParallelDrop(origin, east);
    const double across = PrimeVerticalRadius(p.latitude) * std::cos(p.latitude * kDeg);
    p.longitude = WrapLongitude(origin.longitude + east / across / kDeg);
    return p;
}

Offset GeoToOffset(const GeoPoint& origin, const GeoPoint& point)
{
    Offset o;
    const double across = PrimeVerticalRadius(point.latitude) * std::cos(point.latitude * kDeg);
    o.east = WrapLongitude(point.longitude - origin.longitude) * kDeg * across;
    const double latitude = point.latitude + ParallelDrop(origin, o.east);
    o.north = (latitude - origin.latitude) * kDeg * MeridianRadius(0.5 * (origin.latitude + latitude));
    return o;
}

} // namespace velmaris::sim
