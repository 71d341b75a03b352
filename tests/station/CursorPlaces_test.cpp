// Where the points on the screen lie: the position text, the screen's
// bearings turned to the head's, a target's three places, and the
// navigation of the ping on screen, live and in playback.
#include "station/CursorPlaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

namespace velmaris {
namespace {

namespace fs = std::filesystem;

TEST(PositionText, DegreesAndDecimalMinutes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double degrees;
        bool latitude;
        const char* text;
    } cases[] = {
        {59.4352, true, "59\u00b026.112'N"},
        {-33.5, true, "33\u00b030.000'S"},
        {5.5, true, "05\u00b030.000'N"},
        {59.99999999, true, "60\u00b000.000'N"}, // 59.9999994' rounds into the next degree
        {-0.0000001, true, "00\u00b000.000'N"}, // rounds to zero: no hemisphere of its own
        {10.69093333, false, "010\u00b041.456'E"},
        {-179.9999999, false, "180\u00b000.000'W"},
        {-5.0001, false, "005\u00b000.006'W"},
        {0.0, false, "000\u00b000.000'E"},
        {nan, true, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.latitude ? LatitudeText(c.degrees) : LongitudeText(c.degrees), c.text) << c.degrees;
    EXPECT_EQ(PositionText({59.4352, 10.69093333}), "59\u00b026.112'N 010\u00b041.456'E");
    EXPECT_EQ(PositionText({nan, 10.0}), "");
}

PingNavigation AtStart(double heading)
{
    PingNavigation nav;
    nav.hasPosition = true;
    nav.antenna = nav.head = GeoPoint {59.43, 10.55};
    nav.headingSource = HeadingSource::Heading;
    nav.heading = heading;
    nav.offsetApplied = true;
    return nav;
}

TEST(ScreenPlace, TheScreensBearingTurnsBackToTheHeadsZero)
{
    const struct {
        double rotate;
        int zeroDown;
        DisplayMode mode;
        double heading;
        double screenBearing;
        double north, east; // expected metres from the head; NaN: none
    } cases[] = {
        {0, 0, DisplayMode::Sector, 0, 90, 0, 100},
        {0, 0, DisplayMode::Polar, 90, 90, -100, 0}, // the bow east: the head's 90 points south
        {0, 1, DisplayMode::Sector, 0, 270, 0, 100}, // Zero Down: screen-down is the head's zero
        {90, 0, DisplayMode::Sector, 0, 90, 100, 0}, // turned a quarter: screen-right is the head's zero
        {0, 0, DisplayMode::SideScan, 0, 90, NAN, NAN},
    };
    for (const auto& c : cases) {
        SonarSettings s;
        s.rotateImage = c.rotate;
        s.zeroDown = c.zeroDown;
        s.sectorMode = c.mode;
        const PingNavigation nav = AtStart(c.heading);
        const auto point = ScreenPlace(nav, s, 100.0, c.screenBearing);
        if (std::isnan(c.north)) {
            EXPECT_FALSE(point) << CodeOf(c.mode);
            continue;
        }
        ASSERT_TRUE(point);
        double north = 0, east = 0;
        NorthEast(nav.head, *point, north, east);
        EXPECT_NEAR(north, c.north, 0.1) << c.rotate << " " << c.zeroDown << " " << c.heading;
        EXPECT_NEAR(east, c.east, 0.1) << c.rotate << " " << c.zeroDown << " " << c.heading;
    }
    PingNavigation noHeading = AtStart(0);
    noHeading.headingSource = HeadingSource::None;
    EXPECT_FALSE(ScreenPlace(noHeading, SonarSettings {}, 10.0, 0.0))
        << "no heading, no bearing on the earth";
}

TEST(PlaceTarget, BothEndsAndTheMiddleOnTheScreen)
{
    MeasuredTarget target;
    target.anchorRange = 50.0;
    target.anchorBearing = 0.0;
    target.endRange = 50.0;
    target.endBearing = 90.0;
    const PingNavigation nav = AtStart(0);
    PlaceTarget(target, nav, SonarSettings {});
    ASSERT_TRUE(target.places);
    const struct {
        TargetPlace place;
        double north, east;
    } expected[]
        = {{target.places->anchor, 50, 0}, {target.places->middle, 25, 25}, {target.places->end, 0, 50}};
    for (const auto& e : expected) {
        double north = 0, east = 0;
        NorthEast(nav.head, GeoPoint {e.place.latitude, e.place.longitude}, north, east);
        EXPECT_NEAR(north, e.north, 0.1);
        EXPECT_NEAR(east, e.east, 0.1);
    }
    // SideScan has no bearings: nothing is placed.
    target.anchorBearing.reset();
    PlaceTarget(target, nav, SonarSettings {});
    EXPECT_FALSE(target.places);
}

double clockSeconds = 0; // of the day, on 09-DEC-2026
LocalTime TestClock(int& offset)
{
    offset = 60;
    const int whole = int(clockSeconds);
    return LocalTime {
        2026, 12, 9, whole / 3600, whole / 60 % 60, whole % 60, int((clockSeconds - whole) * 1000)};
}

PingRecord PingAt(const char* time, const char* hundredths)
{
    PingRecord ping;
    ping.date = "09-DEC-2026";
    ping.time = time;
    ping.hundredths = hundredths;
    return ping;
}

TEST(CursorPlaces, LiveFromTheSentencesLatelyPlaybackFromTheTrack)
{
    CursorPlaces places;
    places.SetClock(&TestClock);
    const AntennaOffsets none;
    EXPECT_FALSE(places.NavigationOf(PingAt("18:44:32", ".50"), false, "", none).hasPosition)
        << "no GPS: nothing";
    clockSeconds = 18 * 3600 + 44 * 60 + 32;
    places.OnSentence("$GNRMC,174432.00,A,5926.000,N,01033.000,E,0.0,,091226,,,A\r\n");
    places.OnSentence("$HEHDT,45.0,T\r\n");
    clockSeconds += 1;
    places.OnSentence("$GNRMC,174433.00,A,5926.060,N,01033.000,E,0.0,,091226,,,A\r\n");
    const PingNavigation live = places.NavigationOf(PingAt("18:44:32", ".50"), false, "", none);
    ASSERT_TRUE(live.hasPosition);
    EXPECT_NEAR(live.head.latitude, 59.0 + 26.030 / 60.0, 1e-9) << "halfway between the fixes";
    EXPECT_DOUBLE_EQ(live.heading, 45.0);
    clockSeconds += CursorPlaces::kLiveSeconds + 5;
    places.OnSentence("$GPGSV,1,1,00\r\n");
    EXPECT_FALSE(places.NavigationOf(PingAt("18:44:32", ".50"), false, "", none).hasPosition)
        << "the old sentences are let go";

    // Playback reads the track beside the file played, and nothing for a file without one.
    const fs::path folder = fs::path(::testing::TempDir()) / "velmaris-places";
    fs::create_directories(folder);
    const std::string data = (folder / "dive.52l").string();
    std::ofstream(data + ".nmea")
        << "2026-12-09T18:44:32.00+01:00\t$GPRMC,174432.00,A,5926.000,N,01033.000,E,"
           "0.0,,091226,,,A\r\n2026-12-09T18:44:32.00+01:00\t$GPHDT,10.0,T\r\n";
    const PingNavigation played = places.NavigationOf(PingAt("18:44:33", ".00"), true, data, none);
    ASSERT_TRUE(played.hasPosition);
    EXPECT_NEAR(played.head.longitude, 10.55, 1e-9);
    EXPECT_FALSE(places.NavigationOf(PingAt("18:44:33", ".00"), true, data + "x", none).hasPosition);
    fs::remove_all(folder);
}

} // namespace
} // namespace velmaris
