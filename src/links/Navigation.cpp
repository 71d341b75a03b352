#include "links/Navigation.h"

#include "files/TrackFile.h"
#include "links/NmeaSentence.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmaris {
namespace {

constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;
constexpr double kRadians = 3.14159265358979323846 / 180.0;
// RMC, GGA and GLL of one epoch arrive within this of each other.
constexpr double kSameEpochSeconds = 1.5;

// Keeps `samples` in time order: appended as a track is written, inserted
// after equal stamps otherwise.
template <class T>
void Insert(std::vector<T>& samples, T sample)
{
    if (samples.size() >= kNavigationSampleCap)
        return;
    if (samples.empty() || samples.back().seconds <= sample.seconds) {
        samples.push_back(sample);
        return;
    }
    const auto at = std::upper_bound(
        samples.begin(), samples.end(), sample.seconds, [](double t, const T& s) { return t < s.seconds; });
    samples.insert(at, sample);
}

// The samples on each side of `t` within the gap (nullptr where none).
template <class T>
struct Around {
    const T* before = nullptr; // at or before t
    const T* after = nullptr; // after t
};

template <class T>
Around<T> Find(const std::vector<T>& samples, double t)
{
    Around<T> around;
    const auto it = std::upper_bound(
        samples.begin(), samples.end(), t, [](double x, const T& s) { return x < s.seconds; });
    if (it != samples.end() && it->seconds - t <= kNavigationGapSeconds)
        around.after = &*it;
    if (it != samples.begin() && t - std::prev(it)->seconds <= kNavigationGapSeconds)
        around.before = &*std::prev(it);
    return around;
}

// Between two angles the short way round.
double BetweenAngles(double a, double b, double f)
{
    double d = std::fmod(b - a, 360.0);
    if (d > 180.0)
        d -= 360.0;
    else if (d < -180.0)
        d += 360.0;
    return NormalisedDegrees(a + d * f);
}

std::optional<double> AngleAt(const std::vector<NavigationTrack::Angle>& samples, double t)
{
    const auto around = Find(samples, t);
    if (around.before && around.after) {
        const double span = around.after->seconds - around.before->seconds;
        const double f = span > 0 ? (t - around.before->seconds) / span : 0.0;
        return BetweenAngles(around.before->degrees, around.after->degrees, f);
    }
    if (around.before)
        return around.before->degrees;
    if (around.after)
        return around.after->degrees;
    return std::nullopt;
}

} // namespace

AntennaOffsets AntennaOffsetsOf(const SonarSettings& settings)
{
    return AntennaOffsets {settings.headForward, settings.headStarboard, settings.headZeroToBow};
}

NavigationTrack NavigationTrack::FromText(std::string_view text)
{
    NavigationTrack track;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        track.AddLine(text.substr(start, end - start));
        start = end;
    }
    return track;
}

bool NavigationTrack::Load(const std::string& path, std::string& error)
{
    std::string text;
    if (!ReadTrackText(path, text, error))
        return false;
    *this = FromText(text);
    return true;
}

void NavigationTrack::AddLine(std::string_view line)
{
    if (const auto view = ParseTrackLine(line))
        AddSentence(view->localSeconds, view->sentence);
}

void NavigationTrack::AddMotion(double seconds, const NmeaReading& r)
{
    if (r.speedKnots)
        Insert(motion_,
            Motion {seconds, *r.speedKnots, r.courseTrue.value_or(std::numeric_limits<double>::quiet_NaN())});
}

void NavigationTrack::AddSentence(double seconds, std::string_view sentence)
{
    if (!std::isfinite(seconds))
        return;
    const NmeaReading r = ReadNmeaSentence(sentence);
    switch (r.kind) {
    case NmeaReading::Kind::None:
        return;
    case NmeaReading::Kind::Fix:
        if (r.variation)
            variation_ = r.variation;
        AddMotion(seconds, r);
        if (!r.valid)
            return;
        if (r.secondsOfDay && std::isfinite(*r.secondsOfDay))
            clock_.push_back(ClockSample {seconds,
                r.utcDay ? double(*r.utcDay) * 86400.0 + *r.secondsOfDay : *r.secondsOfDay,
                r.utcDay.has_value()});
        // RMC, GGA and GLL of one epoch make one fix.
        if (r.secondsOfDay && *r.secondsOfDay == lastFixTimeOfDay_ && !fixes_.empty()
            && std::fabs(fixes_.back().seconds - seconds) <= kSameEpochSeconds)
            return;
        lastFixTimeOfDay_ = r.secondsOfDay.value_or(-1);
        Insert(fixes_, TrackFix {seconds, GeoPoint {r.latitude, r.longitude}});
        return;
    case NmeaReading::Kind::Motion:
        AddMotion(seconds, r);
        return;
    case NmeaReading::Kind::Heading:
        if (!r.magnetic)
            Insert(headings_, Angle {seconds, r.heading});
        else if (variation_)
            Insert(headings_, Angle {seconds, NormalisedDegrees(r.heading + *variation_)});
        else
            Insert(magnetic_, Angle {seconds, r.heading});
        return;
    }
}

std::optional<double> NavigationTrack::GpsClockLead(int utcOffsetMinutes) const
{
    constexpr double kDay = 86400.0;
    const bool dated
        = std::any_of(clock_.begin(), clock_.end(), [](const ClockSample& c) { return c.dated; });
    std::vector<double> leads;
    leads.reserve(clock_.size());
    for (const ClockSample& c : clock_) {
        const double lead = c.receiverSeconds - (c.seconds - utcOffsetMinutes * 60.0);
        if (c.dated == dated)
            leads.push_back(dated ? lead : std::remainder(lead, kDay));
    }
    if (leads.empty())
        return std::nullopt;
    const auto middle = leads.begin() + std::ptrdiff_t(leads.size() / 2);
    std::nth_element(leads.begin(), middle, leads.end());
    return *middle;
}

std::optional<double> NavigationTrack::CourseAt(double seconds) const
{
    const auto around = Find(motion_, seconds);
    const Motion* nearest = around.before;
    if (around.after && (!nearest || around.after->seconds - seconds < seconds - nearest->seconds))
        nearest = around.after;
    if (!nearest || !(nearest->knots >= kCourseMinimumKnots) || std::isnan(nearest->course))
        return std::nullopt;
    return nearest->course;
}

std::optional<double> NavigationTrack::SpeedAt(double seconds) const
{
    const auto around = Find(motion_, seconds);
    if (around.before && around.after) {
        const double span = around.after->seconds - around.before->seconds;
        const double f = span > 0 ? (seconds - around.before->seconds) / span : 0.0;
        return around.before->knots + (around.after->knots - around.before->knots) * f;
    }
    const Motion* m = around.before ? around.before : around.after;
    return m ? std::optional<double>(m->knots) : std::nullopt;
}

std::optional<GeoPoint> NavigationTrack::PositionAt(double seconds) const
{
    const auto around = Find(fixes_, seconds);
    if (around.before && around.after) {
        const double span = around.after->seconds - around.before->seconds;
        const double f = span > 0 ? (seconds - around.before->seconds) / span : 0.0;
        const GeoPoint& a = around.before->position;
        const GeoPoint& b = around.after->position;
        double dLon = b.longitude - a.longitude; // the short way across 180 degrees
        if (dLon > 180.0)
            dLon -= 360.0;
        else if (dLon < -180.0)
            dLon += 360.0;
        double lon = a.longitude + dLon * f;
        if (lon > 180.0)
            lon -= 360.0;
        else if (lon < -180.0)
            lon += 360.0;
        return GeoPoint {a.latitude + (b.latitude - a.latitude) * f, lon};
    }
    const TrackFix* fix = around.before ? around.before : around.after;
    if (!fix)
        return std::nullopt;
    // One side only: carried along the course over ground, when there is one.
    const double dt = seconds - fix->seconds;
    const auto motion = Find(motion_, fix->seconds);
    const Motion* m = motion.before ? motion.before : motion.after;
    if (!m || std::isnan(m->course) || !(m->knots >= kCourseMinimumKnots))
        return fix->position;
    return Destination(fix->position, m->course, m->knots * kMetresPerSecondPerKnot * dt);
}

PingNavigation NavigationTrack::At(double seconds, const AntennaOffsets& offsets) const
{
    PingNavigation nav;
    if (const auto heading = AngleAt(headings_, seconds)) {
        nav.heading = *heading;
        nav.headingSource = HeadingSource::Heading;
    } else if (const auto magnetic = AngleAt(magnetic_, seconds)) {
        nav.heading = *magnetic;
        nav.headingSource = HeadingSource::MagneticHeading;
    } else if (const auto course = CourseAt(seconds)) {
        nav.heading = *course;
        nav.headingSource = HeadingSource::CourseOverGround;
    }
    if (const auto speed = SpeedAt(seconds)) {
        nav.hasSpeed = true;
        nav.speedKnots = *speed;
    }
    const auto position = PositionAt(seconds);
    if (!position)
        return nav;
    const auto fixes = Find(fixes_, seconds);
    nav.fixSeconds = (fixes.before ? fixes.before : fixes.after)->seconds;
    nav.hasPosition = true;
    nav.antenna = *position;
    nav.head = *position;
    const bool offset = offsets.headForward != 0 || offsets.headStarboard != 0;
    if (offset && nav.HasHeading()) {
        const double azimuth
            = nav.heading + std::atan2(offsets.headStarboard, offsets.headForward) / kRadians;
        nav.head = Destination(*position, azimuth, std::hypot(offsets.headForward, offsets.headStarboard));
    }
    nav.offsetApplied = !offset || nav.HasHeading();
    return nav;
}

std::optional<GeoPoint> PointFromHead(const PingNavigation& navigation, const AntennaOffsets& offsets,
    double rangeMetres, double bearingDegrees)
{
    if (!navigation.hasPosition || !navigation.HasHeading() || !navigation.offsetApplied)
        return std::nullopt;
    return Destination(
        navigation.head, navigation.heading + offsets.headZeroToBow + bearingDegrees, rangeMetres);
}

} // namespace velmaris
