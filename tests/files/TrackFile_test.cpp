// The track beside a recording: its line format, the stamps it reads, and
// the span of a source's track a copy takes.
#include "files/TrackFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmaris {
namespace {

TEST(TrackFile, LineFormatAndItsReading)
{
    const LocalTime t {2026, 12, 9, 18, 44, 32, 179};
    EXPECT_EQ(TrackLine(t, 60, "$GPRMC,1*00\r\n"), "2026-12-09T18:44:32.17+01:00\t$GPRMC,1*00\r\n");
    EXPECT_EQ(TrackLine(t, -210, "$GPHDT,2,T\n"), "2026-12-09T18:44:32.17-03:30\t$GPHDT,2,T\r\n");
    EXPECT_EQ(FormatTrackStamp(LocalTime {2027, 1, 2, 3, 4, 5, 9}, 0), "2027-01-02T03:04:05.00+00:00");
    EXPECT_EQ(TrackPathFor("/d/Velmaris 09-DEC-2026 184432.52l"), "/d/Velmaris 09-DEC-2026 184432.52l.nmea");

    struct Case {
        std::string line;
        bool read;
        int offset = 0;
        double seconds = 0; // after 2026-12-09 00:00
    };
    const double day = LocalSeconds(LocalTime {2026, 12, 9, 0, 0, 0, 0});
    const Case cases[] = {
        {"2026-12-09T18:44:32.17+01:00\t$GPRMC,x\r\n", true, 60, 18 * 3600 + 44 * 60 + 32.17},
        {"2026-12-09T00:00:00.00-03:30\t$GPRMC,x", true, -210, 0},
        {"2026-12-09T23:59:60.99Z\t$GPRMC,x", true, 0, 86400.99}, // leap second, UTC
        {"2026-12-09T18:44:32.17+01:00\t", true, 60, 18 * 3600 + 44 * 60 + 32.17}, // empty sentence
        {"2026-12-09T18:44:32.17+01:00 $GPRMC", false}, {"2026-12-09 18:44:32.17+01:00\t$GPRMC", false},
        {"2026-13-09T18:44:32.17+01:00\t$GPRMC", false}, {"2026-12-09T24:44:32.17+01:00\t$GPRMC", false},
        {"2026-12-09T18:44:32.1x+01:00\t$GPRMC", false}, {"2026-12-09T18:44:32.17+19:00\t$GPRMC", false},
        {"2026-12-09T18:44:32.17", false}, {"$GPRMC,x", false}, {"", false},
        {"2026-12-09T18:44:32.17+01:00\t" + std::string(300, 'x'), false}, // over-long
    };
    for (const Case& c : cases) {
        const auto view = ParseTrackLine(c.line);
        ASSERT_EQ(view.has_value(), c.read) << c.line;
        if (!view)
            continue;
        EXPECT_EQ(view->utcOffsetMinutes, c.offset) << c.line;
        EXPECT_NEAR(view->localSeconds - day, c.seconds, 1e-6) << c.line;
        EXPECT_EQ(view->sentence.find('\r'), std::string_view::npos);
    }
    // A line written reads back to its stamp and sentence.
    const auto back = ParseTrackLine(TrackLine(t, 60, "$GNGGA,1"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->sentence, "$GNGGA,1");
    EXPECT_DOUBLE_EQ(back->localSeconds, LocalSeconds(LocalTime {2026, 12, 9, 18, 44, 32, 170}));
}

TEST(TrackFile, PingStampsInTheTrackClock)
{
    struct Case {
        const char* date;
        const char* time;
        const char* hundredths;
        bool read;
        double centis = 0;
    };
    const Case cases[] = {
        {"09-DEC-2026", "18:44:32", ".17", true, 17},
        {"09-DEC-2026", "18:44:32", ". 4", true, 4}, // the record's ".%2d"
        {"09-DEC-2026", "18:44:32", "", true, 0},
        {"09-XYZ-2026", "18:44:32", ".17", false},
        {"09-DEC-2026", "18:44", ".17", false},
        {"09-DEC-2026", "18:44:32", ".1x", false},
        {"9-DEC-2026", "18:44:32", ".17", false},
    };
    const double base = LocalSeconds(LocalTime {2026, 12, 9, 18, 44, 32, 0});
    for (const Case& c : cases) {
        const auto s = PingStampSeconds(c.date, c.time, c.hundredths);
        ASSERT_EQ(s.has_value(), c.read) << c.date << " " << c.time << c.hundredths;
        if (s) {
            EXPECT_NEAR(*s - base, c.centis / 100, 1e-6);
        }
    }
}

// A copy takes the lines within two seconds of each copied ping, each once,
// and starts a new span when playback jumps.
TEST(TrackFile, CopySpanCoversTheCopiedPings)
{
    std::string text;
    for (int s = 0; s < 20; ++s)
        text += TrackLine(LocalTime {2026, 12, 9, 10, 0, s, 500}, 60, "$GPRMC," + std::to_string(s));
    text += "garbage line\n";
    text += "2026-12-09T10:00:30.50+01:00\t$GPRMC,cut short by a kill";
    const double t0 = LocalSeconds(LocalTime {2026, 12, 9, 10, 0, 0, 0});

    struct Step {
        double ping; // seconds after 10:00:00
        std::vector<int> lines; // the fixes' seconds handed out
    };
    const Step steps[] = {
        {5.0, {3, 4, 5, 6}}, // 3.5 .. 6.5 within 3.0 .. 7.0
        {5.2, {}}, // 3.2 .. 7.2: nothing new
        {6.0, {7}}, // up to 8.0
        {8.1, {8, 9}}, // next to what was copied
        {1.0, {0, 1, 2}}, // back to the start (end of file): a new span
        {1.5, {}}, {18.0, {16, 17, 18, 19}}, // the slider
        {40.0, {}}, // beyond the track
    };
    TrackSpan span(text);
    for (const Step& step : steps) {
        std::vector<std::string_view> out;
        span.LinesFor(t0 + step.ping, out);
        std::vector<int> got;
        for (const std::string_view line : out) {
            ASSERT_TRUE(line.ends_with("\r\n"));
            const auto view = ParseTrackLine(line);
            ASSERT_TRUE(view);
            got.push_back(std::stoi(std::string(view->sentence.substr(7))));
        }
        EXPECT_EQ(got, step.lines) << step.ping;
    }
}

} // namespace
} // namespace velmaris
