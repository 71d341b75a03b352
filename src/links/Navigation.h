#pragma once
// Where the head was and where the boat headed for each ping, from the
// track beside a recording (or the same sentences as they arrive):
//
// - Position: interpolated between the fixes around the ping's time stamp;
//   with a fix on one side only (the end of the track, a drop-out) carried
//   from the nearer fix along the course and speed over ground. None when
//   no fix lies within kNavigationGapSeconds of the ping. Fixes the receiver
//   marks invalid are none.
// - Heading: from the heading sentences (HDT, THS, HDG with variation; an
//   HDG without variation takes the latest variation RMC gave, and stands
//   last among them when there is none), else the course over ground while
//   the speed is at least kCourseMinimumKnots, else unknown. Each within
//   kNavigationGapSeconds of the ping.
// - Speed: over ground, interpolated between RMC and VTG readings within
//   kNavigationGapSeconds of the ping.
// - The head: moved from the antenna by the antenna offsets (metres forward
//   and to starboard, turned by the heading); its zero direction is the
//   heading turned by the offsets' head zero.
//
// Times are LocalSeconds() of the host's stamps: the ping's record header
// and the track lines come from the same clock. The hour a local clock
// repeats when summer time ends is ambiguous in both.
//
// NavigationTrack is a plain value that owns its samples. Building it is
// for one thread; once built, its const members may be called from any
// number of threads. Untrusted input: lines and sentences that do not read
// are skipped; at most kNavigationSampleCap samples of each kind are kept.

#include "links/Geodesy.h"
#include "protocol/SonarSettings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaris {

struct NmeaReading;

inline constexpr double kNavigationGapSeconds = 2.0;
inline constexpr double kCourseMinimumKnots = 0.5;
// Two days of ten fixes a second.
inline constexpr std::size_t kNavigationSampleCap = 2'000'000;

// Where the head sits on the boat (the "Antenna Offsets" settings).
struct AntennaOffsets {
    double headForward = 0; // metres forward of the GPS antenna
    double headStarboard = 0; // metres to starboard of it
    double headZeroToBow = 0; // the head's zero direction, degrees clockwise from the bow
};
AntennaOffsets AntennaOffsetsOf(const SonarSettings& settings);

enum class HeadingSource {
    None,
    Heading, // HDT, THS, or HDG with a variation
    MagneticHeading, // HDG with no variation known
    CourseOverGround,
};

struct PingNavigation {
    bool hasPosition = false;
    GeoPoint antenna; // where the GPS antenna was
    GeoPoint head; // where the head was: the antenna moved by the offsets
    // False when the offsets are not zero but no heading says which way
    // they point: `head` is then the antenna's position.
    bool offsetApplied = false;
    HeadingSource headingSource = HeadingSource::None;
    double heading = 0; // of the bow, degrees clockwise from true north
    bool HasHeading() const { return headingSource != HeadingSource::None; }
    // Speed over ground, between the readings around the ping (the nearer
    // one alone when only one lies within the gap).
    bool hasSpeed = false;
    double speedKnots = 0;
    // The fix the position starts from: the last at or before the ping,
    // else the first after it (valid with hasPosition).
    double fixSeconds = 0;
};

struct TrackFix {
    double seconds; // LocalSeconds() of the line's stamp
    GeoPoint position;
};

class NavigationTrack {
public:
    // Reads a whole track's text (its lines in any order).
    static NavigationTrack FromText(std::string_view text);
    // Reads the track file at `path` (at most kTrackReadCap bytes). False
    // with the cause in `error` when it cannot be opened.
    bool Load(const std::string& path, std::string& error);

    // One track line ("stamp<TAB>sentence"), or one sentence received at
    // `seconds`. Anything that carries no fix, motion or heading is skipped.
    void AddLine(std::string_view line);
    void AddSentence(double seconds, std::string_view sentence);

    // The navigation of a ping stamped `seconds`.
    PingNavigation At(double seconds, const AntennaOffsets& offsets) const;

    // Valid fixes in time order, one per receiver epoch (the vessel track).
    const std::vector<TrackFix>& Fixes() const { return fixes_; }

    // Seconds that GPS time runs ahead of the host clock's UTC (its stamps
    // less `utcOffsetMinutes`): the median, over the valid fix sentences
    // that gave their time, of the receiver's time less the stamp's. Only
    // dated sentences (RMC) count when there are any; otherwise times of
    // day, the lead then within half a day. It includes the receiver's
    // output delay, a fraction of a second. Nullopt when no fix gave its
    // time.
    std::optional<double> GpsClockLead(int utcOffsetMinutes) const;
    bool Empty() const { return fixes_.empty() && headings_.empty() && magnetic_.empty() && motion_.empty(); }

    struct Angle {
        double seconds;
        double degrees;
    };
    struct Motion {
        double seconds;
        double knots;
        double course; // NaN when the receiver gave none
    };

private:
    // The speed and course a sentence gave, when it gave a speed.
    void AddMotion(double seconds, const NmeaReading& r);
    std::optional<GeoPoint> PositionAt(double seconds) const;
    std::optional<double> CourseAt(double seconds) const;
    std::optional<double> SpeedAt(double seconds) const;

    std::vector<TrackFix> fixes_;
    std::vector<Angle> headings_;
    std::vector<Angle> magnetic_;
    std::vector<Motion> motion_;
    std::optional<double> variation_; // the latest RMC gave, east positive
    double lastFixTimeOfDay_ = -1; // the receiver's time of the last fix kept
    struct ClockSample {
        double seconds; // the sentence's stamp
        double receiverSeconds; // the UTC it gave: from 1970 when dated, else its time of day
        bool dated;
    };
    std::vector<ClockSample> clock_;
};

// The point `rangeMetres` from the head along `bearingDegrees` (clockwise
// from the head's zero). Nullopt without a position or a heading, or when
// the offsets could not be applied.
std::optional<GeoPoint> PointFromHead(const PingNavigation& navigation, const AntennaOffsets& offsets,
    double rangeMetres, double bearingDegrees);

} // namespace velmaris
