// Navigation per ping from a track: fixes interpolated within the gap rule,
// speed and the fix used, heading sources in their order, the antenna
// offsets, and points on the WGS84 ellipsoid checked against PROJ's
// geodesics.
#include "links/Navigation.h"

#include "files/TrackFile.h"
#include "links/NmeaSentence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#ifdef VELMARIS_HAVE_PROJ
#include <geodesic.h>
#endif

namespace velmaris {
namespace {

// The pings' and lines' times count from here (negative times too).
const double kBase = LocalSeconds(LocalTime {2026, 12, 9, 10, 1, 0, 0});

std::string Nmea(const std::string& body)
{
    const auto sum = NmeaChecksumDigits(body);
    return "$" + body + "*" + sum[0] + sum[1];
}

// A track line `t` seconds after kBase (hundredths kept).
std::string Line(double t, const std::string& sentence)
{
    const int centis = static_cast<int>(std::lround((60 + t) * 100));
    return TrackLine(
        LocalTime {2026, 12, 9, 10, centis / 6000, centis / 100 % 60, centis % 100 * 10}, 60, sentence);
}

std::string Degrees(double value, bool latitude)
{
    const double a = std::fabs(value);
    const int d = static_cast<int>(a);
    char text[64];
    std::snprintf(text, sizeof text, latitude ? "%02d%010.7f,%c" : "%03d%010.7f,%c", d, (a - d) * 60.0,
        latitude ? (value < 0 ? 'S' : 'N') : (value < 0 ? 'W' : 'E'));
    return text;
}

// An RMC of the receiver's epoch `t` seconds after 10:00:00 UTC.
std::string Rmc(
    double t, double lat, double lon, double knots = 0, double course = 0, const char* status = "A")
{
    char head[64];
    std::snprintf(head, sizeof head, "GNRMC,1000%05.2f,%s,", t, status);
    char tail[64];
    std::snprintf(tail, sizeof tail, ",%.1f,%.1f,091226,,", knots, course);
    return Nmea(head + Degrees(lat, true) + "," + Degrees(lon, false) + tail);
}

double Metres(const GeoPoint& a, const GeoPoint& b)
{
    double north = 0, east = 0;
    NorthEast(a, b, north, east);
    return std::hypot(north, east);
}

TEST(Navigation, PositionsInterpolateWithinTheGapRule)
{
    // Fixes at 0, 1 and 4 s (a drop-out after 1 s); 10 m north a second.
    const GeoPoint start {59.0, 10.0};
    const auto at = [&](double metresNorth) { return Destination(start, 0, metresNorth); };
    std::string text = Line(0, Rmc(0, at(0).latitude, 10.0)) + Line(1, Rmc(1, at(10).latitude, 10.0))
        + Line(1.02,
            Nmea("GNGGA,100001.00," + Degrees(at(10).latitude, true) + "," + Degrees(10, false)
                + ",1,08,0.9,5.0,M,0.0,M,,")) // the same epoch: one fix
        + Line(2.5, Rmc(2.5, at(99).latitude, 10.0, 0, 0, "V")) // invalid: no fix
        + Line(3, "garbage") + "not a line\n"
        + Line(3.5, "$GNRMC,100003.50,A,5900.000,N,01000.000,E,,,091226,,*00") // bad checksum
        + Line(4, Rmc(4, at(40).latitude, 10.0));
    const NavigationTrack track = NavigationTrack::FromText(text);
    EXPECT_EQ(track.Fixes().size(), 3u);

    struct Case {
        double t;
        bool has;
        double north = 0; // metres from the start
    };
    const Case cases[] = {
        {0.0, true, 0},
        {0.25, true, 2.5},
        {0.5, true, 5},
        {1.0, true, 10},
        {2.5, true, 25}, // 1.5 s and 1.5 s from its fixes: between them
        {1.9, true, 10}, // 2.1 s to the next fix: the nearer one alone, no course to carry it
        {-2.0, true, 0},
        {-2.01, false},
        {6.0, true, 40},
        {6.01, false},
    };
    for (const Case& c : cases) {
        const PingNavigation nav = track.At(kBase + c.t, AntennaOffsets {});
        ASSERT_EQ(nav.hasPosition, c.has) << c.t;
        if (nav.hasPosition) {
            EXPECT_LT(Metres(nav.head, at(c.north)), 0.01) << c.t;
        }
    }

    // With a course over ground, a fix on one side is carried along it.
    const NavigationTrack moving = NavigationTrack::FromText(Line(0, Rmc(0, 59.0, 10.0, 10.0, 90.0)));
    const PingNavigation carried = moving.At(kBase + 1.0, AntennaOffsets {});
    ASSERT_TRUE(carried.hasPosition);
    EXPECT_NEAR(Metres(carried.head, Destination(start, 90, 1852.0 / 360)), 0, 0.01);

    // Across 180 degrees of longitude the short way.
    const NavigationTrack dateLine
        = NavigationTrack::FromText(Line(0, Rmc(0, 0.0, 179.9999)) + Line(1, Rmc(1, 0.0, -179.9999)));
    EXPECT_NEAR(std::fabs(dateLine.At(kBase + 0.5, {}).head.longitude), 180.0, 1e-9);
}

TEST(Navigation, SpeedAndFixTimeFollowTheReadingsAroundThePing)
{
    // 4 knots at 0 s, 6 at 1 s; a VTG alone gives 8 at 4 s (no fix).
    const NavigationTrack track = NavigationTrack::FromText(Line(0, Rmc(0, 59.0, 10.0, 4.0, 90.0))
        + Line(1, Rmc(1, 59.0, 10.0001, 6.0, 90.0)) + Line(4, Nmea("GNVTG,90.0,T,,M,8.0,N,14.8,K,A")));
    struct Case {
        double t;
        bool speed;
        double knots;
        bool position;
        double fixAt;
    };
    const Case cases[] = {
        {-1.0, true, 4.0, true, 0.0}, // before the first: the first fix, its speed
        {0.0, true, 4.0, true, 0.0},
        {0.25, true, 4.5, true, 0.0},
        {1.0, true, 6.0, true, 1.0},
        {2.5, true, 7.0, true, 1.0}, // between 6 and the VTG's 8
        {5.0, true, 8.0, false, 0.0}, // the fixes too far
        {6.5, false, 0.0, false, 0.0},
    };
    for (const Case& c : cases) {
        const PingNavigation nav = track.At(kBase + c.t, AntennaOffsets {});
        EXPECT_EQ(nav.hasSpeed, c.speed) << c.t;
        if (nav.hasSpeed) {
            EXPECT_NEAR(nav.speedKnots, c.knots, 1e-9) << c.t;
        }
        ASSERT_EQ(nav.hasPosition, c.position) << c.t;
        if (nav.hasPosition) {
            EXPECT_NEAR(nav.fixSeconds, kBase + c.fixAt, 1e-6) << c.t;
        }
    }
}

// The host clock against the receivers' own time: the lines' stamps are
// 10:01 at UTC+01:00 (09:01 UTC) where the receiver says 10:00 UTC, so GPS
// runs 59 minutes ahead of the host's UTC.
TEST(Navigation, GpsClockLeadComesFromTheFixesTimes)
{
    const auto gga = [](const char* time) {
        return Nmea(std::string("GPGGA,") + time + ",5900.0000,N,01000.0000,E,1,08,1.0,0.0,M,0.0,M,,");
    };
    struct Case {
        const char* name;
        std::string text;
        std::optional<double> lead;
    };
    const Case cases[] = {
        {"dated fixes, one late",
            Line(0, Rmc(0, 59, 10)) + Line(1, Rmc(1, 59, 10)) + Line(2.4, Rmc(2, 59, 10)), 3540.0},
        {"times of day alone", Line(0, gga("100000.00")) + Line(1, gga("100001.00")), 3540.0},
        {"a time of day past midnight", Line(0, gga("000000.00")), 3540.0 - 10 * 3600.0},
        {"dated fixes outvote times of day", Line(0, Rmc(0, 59, 10)) + Line(0, gga("120000.00")), 3540.0},
        {"no valid fix", Line(0, Rmc(0, 59, 10, 0, 0, "V")) + Line(0, Nmea("HEHDT,10.0,T")), std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> lead = NavigationTrack::FromText(c.text).GpsClockLead(60);
        ASSERT_EQ(lead.has_value(), c.lead.has_value()) << c.name;
        if (lead) {
            EXPECT_NEAR(*lead, *c.lead, 1e-6) << c.name;
        }
    }
}

TEST(Navigation, HeadingSourcesInTheirOrder)
{
    const std::string fix = Line(0, Rmc(0, 59.0, 10.0, 3.0, 45.0));
    const std::string slow = Line(0, Rmc(0, 59.0, 10.0, 0.4, 45.0));
    const std::string variation
        = Line(0, Nmea("GNRMC,100000.00,A,5900.000,N,01000.000,E,3.0,45.0,091226,2.0,W"));
    struct Case {
        const char* what;
        std::string text;
        HeadingSource source;
        double heading = 0;
    };
    const Case cases[] = {
        {"HDT first", fix + Line(0.5, Nmea("HEHDT,10.0,T")) + Line(0.6, Nmea("HCHDG,20.0,,,,")),
            HeadingSource::Heading, 10.0},
        {"THS", fix + Line(0.5, Nmea("GNTHS,12.5,A")), HeadingSource::Heading, 12.5},
        {"THS invalid", fix + Line(0.5, Nmea("GNTHS,12.5,V")), HeadingSource::CourseOverGround, 45.0},
        {"HDG with variation", fix + Line(0.5, Nmea("HCHDG,20.0,1.0,E,3.0,W")), HeadingSource::Heading, 18.0},
        {"HDG takes RMC's variation", variation + Line(0.5, Nmea("HCHDG,20.0,,,,")), HeadingSource::Heading,
            18.0},
        {"HDG alone", fix + Line(0.5, Nmea("HCHDG,20.0,,,,")), HeadingSource::MagneticHeading, 20.0},
        {"course over ground", fix, HeadingSource::CourseOverGround, 45.0},
        {"too slow for a course", slow, HeadingSource::None},
        {"heading too old", fix + Line(-2.5, Nmea("HEHDT,10.0,T")), HeadingSource::CourseOverGround, 45.0},
        {"VTG", Line(0.1, Nmea("GNVTG,300.0,T,,M,6.0,N,11.1,K,A")), HeadingSource::CourseOverGround, 300.0},
        {"between two headings the short way",
            Line(-0.5, Nmea("HEHDT,350.0,T")) + Line(1.5, Nmea("HEHDT,30.0,T")), HeadingSource::Heading,
            10.0},
        {"nothing", "", HeadingSource::None},
    };
    for (const Case& c : cases) {
        const PingNavigation nav = NavigationTrack::FromText(c.text).At(kBase + 0.5, AntennaOffsets {});
        EXPECT_EQ(nav.headingSource, c.source) << c.what;
        if (nav.HasHeading()) {
            EXPECT_NEAR(NormalisedDegrees(nav.heading - c.heading + 180) - 180, 0, 1e-9) << c.what;
        }
    }
}

TEST(Navigation, AntennaOffsetsMoveTheHeadAndTurnItsZero)
{
    const GeoPoint antenna {59.5, 10.75};
    struct Case {
        double heading;
        AntennaOffsets offsets;
        double north, east; // of the head from the antenna, metres
        double bearing, zeroAzimuth; // a bearing and the azimuth it points along
    };
    const Case cases[] = {
        {0, {}, 0, 0, 90, 90},
        {0, {2, 0, 0}, 2, 0, 0, 0},
        {0, {0, 3, 0}, 0, 3, 0, 0},
        {90, {2, 0, 0}, 0, 2, 0, 90},
        {90, {0, 3, 0}, -3, 0, 10, 100},
        {180, {4, -3, 0}, -4, 3, 0, 180},
        {0, {0, 0, 90}, 0, 0, 0, 90}, // the head's zero points to starboard
        {270, {0, 0, -45}, 0, 0, 45, 270},
    };
    for (const Case& c : cases) {
        char hdt[32];
        std::snprintf(hdt, sizeof hdt, "HEHDT,%.1f,T", c.heading);
        const NavigationTrack track = NavigationTrack::FromText(
            Line(0, Rmc(0, antenna.latitude, antenna.longitude)) + Line(0, Nmea(hdt)));
        const PingNavigation nav = track.At(kBase, c.offsets);
        ASSERT_TRUE(nav.hasPosition && nav.offsetApplied);
        double north = 0, east = 0;
        NorthEast(nav.antenna, nav.head, north, east);
        EXPECT_NEAR(north, c.north, 1e-3) << c.heading << " " << c.offsets.headForward;
        EXPECT_NEAR(east, c.east, 1e-3) << c.heading << " " << c.offsets.headStarboard;
        const auto point = PointFromHead(nav, c.offsets, 50, c.bearing);
        ASSERT_TRUE(point);
        EXPECT_LT(Metres(*point, Destination(nav.head, c.zeroAzimuth, 50)), 1e-6);
    }
    // Offsets without a heading: the antenna's position, no point at a bearing.
    const NavigationTrack noHeading = NavigationTrack::FromText(Line(0, Rmc(0, 59.5, 10.75)));
    const PingNavigation nav = noHeading.At(kBase, AntennaOffsets {2, 0, 0});
    EXPECT_TRUE(nav.hasPosition);
    EXPECT_FALSE(nav.offsetApplied);
    EXPECT_EQ(nav.head, nav.antenna);
    EXPECT_FALSE(PointFromHead(nav, AntennaOffsets {2, 0, 0}, 10, 0));

    SonarSettings settings;
    settings.headForward = 1.5;
    settings.headStarboard = -0.5;
    settings.headZeroToBow = 180;
    const AntennaOffsets fromSettings = AntennaOffsetsOf(settings);
    EXPECT_EQ(fromSettings.headForward, 1.5);
    EXPECT_EQ(fromSettings.headStarboard, -0.5);
    EXPECT_EQ(fromSettings.headZeroToBow, 180);
}

#ifdef VELMARIS_HAVE_PROJ
// Points on the ellipsoid against PROJ's geodesics.
TEST(Navigation, PointsOnTheEllipsoidMatchTheGeodesic)
{
    geod_geodesic g;
    geod_init(&g, kWgs84SemiMajorAxis, kWgs84Flattening);
    struct Case {
        GeoPoint from;
        double azimuth, metres, tolerance;
    };
    const Case cases[] = {
        {{59.4354, 10.6909}, 90, 100, 0.1}, // 100 m at bearing 90, heading 0
        {{0, 0}, 45, 200, 0.001},
        {{-33.9, 151.2}, 300, 200, 0.001},
        {{70, -179.9995}, 270, 150, 0.001},
        {{84.9, 20}, 135, 1000, 0.001},
        {{45, 7}, 10, 10000, 1.0},
    };
    for (const Case& c : cases) {
        double lat = 0, lon = 0, azi2 = 0;
        geod_direct(&g, c.from.latitude, c.from.longitude, c.azimuth, c.metres, &lat, &lon, &azi2);
        const GeoPoint ours = Destination(c.from, c.azimuth, c.metres);
        double apart = 0;
        geod_inverse(&g, lat, lon, ours.latitude, ours.longitude, &apart, nullptr, nullptr);
        EXPECT_LT(apart, c.tolerance) << c.from.latitude << " " << c.azimuth << " " << c.metres;
    }
    // Through a ping's navigation: a target 100 m at bearing 90 from the head
    // at heading 0.
    const NavigationTrack track
        = NavigationTrack::FromText(Line(0, Rmc(0, 59.4354, 10.6909)) + Line(0, Nmea("HEHDT,0.0,T")));
    const PingNavigation nav = track.At(kBase, AntennaOffsets {});
    const auto target = PointFromHead(nav, AntennaOffsets {}, 100, 90);
    ASSERT_TRUE(target);
    double lat = 0, lon = 0, azi2 = 0, apart = 0;
    geod_direct(&g, nav.head.latitude, nav.head.longitude, 90, 100, &lat, &lon, &azi2);
    geod_inverse(&g, lat, lon, target->latitude, target->longitude, &apart, nullptr, nullptr);
    EXPECT_LT(apart, 0.1);
}
#endif

} // namespace
} // namespace velmaris
