// velmaris-tool export --xtf on a simulated side-scan survey with its track,
// read back by the tests' strict reader (written from the format's notes):
// a packet per side-scan ping with samples, the rest counted on standard
// error, samples equal to the records' echo bytes, the track's navigation,
// times in UTC or local time, targets as notes, the channel's side, and the
// command line's mistakes.
#include "XtfExport.h"
#include "files/TrackFile.h"
#include "image/MeasuredTargets.h"
#include "links/Navigation.h"
#include "support/RecordFixture.h"
#include "support/XtfReader.h"
#include "tools/ToolRunner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>

namespace velmaris::tool {
namespace {

using namespace velmaris::testing;

std::string JsonField(const std::string& line, const std::string& key)
{
    const std::size_t at = line.find("\"" + key + "\":");
    if (at == std::string::npos)
        return "<missing " + key + ">";
    const std::size_t start = at + key.size() + 3;
    if (line[start] == '"')
        return line.substr(start + 1, line.find('"', start + 1) - start - 1);
    return line.substr(start, line.find_first_of(",}", start) - start);
}

// What the file's records say, from dump and the file's bytes.
struct SourcePing {
    std::string date, time, hundredths;
    double seconds = 0; // LocalSeconds of the stamp
    int range = 0, gain = 0, frequencyCode = 0, loopTime = 0;
    double soundVelocity = 0;
    std::vector<std::uint8_t> echo;
};

// The side-scan pings with samples, in file order.
std::vector<SourcePing> SideScanPings(const std::string& data)
{
    const ToolRun dump = RunTool("dump " + Quote(data));
    EXPECT_EQ(dump.exitCode, 0);
    const auto bytes = ReadFileBytes(data);
    std::vector<SourcePing> pings;
    std::istringstream lines(dump.out);
    for (std::string line; std::getline(lines, line);) {
        const int echoCount = std::stoi(JsonField(line, "echo_count"));
        if (JsonField(line, "valid") != "true" || JsonField(line, "mode") != "2" || echoCount == 0)
            continue;
        SourcePing p;
        p.date = JsonField(line, "date");
        p.time = JsonField(line, "time");
        p.hundredths = JsonField(line, "hundredths");
        p.seconds = PingStampSeconds(p.date, p.time, p.hundredths).value_or(-1);
        p.range = std::stoi(JsonField(line, "range"));
        p.gain = std::stoi(JsonField(line, "gain"));
        p.frequencyCode = std::stoi(JsonField(line, "frequency_code"));
        p.loopTime = std::stoi(JsonField(line, "loop_time"));
        p.soundVelocity = std::stod(JsonField(line, "sound_velocity"));
        const std::size_t at = std::stoul(JsonField(line, "offset")) + 112;
        p.echo.assign(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + echoCount));
        pings.push_back(std::move(p));
    }
    return pings;
}

XtfTimeRead TimeOf(double seconds)
{
    const long long c = std::llround(seconds * 100);
    const long long days = c / 8'640'000;
    int y = 1970, m = 1, d = 1;
    // Walk the calendar: days since 1970 are few enough here.
    for (long long left = days;;) {
        const int inMonth[] = {31, (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 29 : 28, 31, 30, 31, 30,
            31, 31, 30, 31, 30, 31};
        if (left < inMonth[m - 1]) {
            d = int(left) + 1;
            break;
        }
        left -= inMonth[m - 1];
        if (++m > 12) {
            m = 1;
            ++y;
        }
    }
    const long long r = c % 8'640'000;
    return {y, m, d, int(r / 360'000), int(r / 6000 % 60), int(r / 100 % 60), int(r % 100)};
}

class XtfExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(
            RunTool("synth " + Quote(data) + " --pings 300 --mode sidescan --range 20 --track").exitCode, 0);
        // Then what XTF has no place for, and a side-scan ping looking to
        // starboard (the survey's head looks to port).
        std::vector<std::uint8_t> bytes;
        Append(bytes, MakeRecord(PingSpec {.mode = DisplayMode::Sector, .time = "14:30:05"}, "52L"));
        Append(bytes,
            MakeRecord(PingSpec {.kind = "IPX", .mode = DisplayMode::SideScan, .time = "14:30:05"}, "52L"));
        Append(bytes,
            MakeRecord(PingSpec {.kind = "IPX", .mode = DisplayMode::Polar, .time = "14:30:05"}, "52L"));
        Append(bytes,
            MakeRecord(PingSpec {.kind = "IMX",
                           .headPosition = 900,
                           .mode = DisplayMode::SideScan,
                           .echo = 33,
                           .time = "14:30:06"},
                "52L"));
        std::ofstream(data, std::ios::binary | std::ios::app)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        MeasuredTarget target;
        target.measuredAt = "2026-12-09 07:05:03";
        target.pingDate = "07-DEC-2026";
        target.anchorRange = 6.25;
        target.endRange = 8.5;
        target.size = 2.25;
        std::vector<MeasuredTarget> targets(3, target);
        targets[0].pingTime = "14:30:05";
        targets[1].pingTime = "12:00:03";
        targets[2].pingTime = "noon";
        std::ofstream(targetsPath, std::ios::binary) << TargetsCsv(targets);
    }

    // Runs export --xtf; its standard error in `err`.
    XtfFileRead Export(const std::string& extra, std::string& err, int exitCode = 0)
    {
        const auto errPath = dir / "err.txt";
        EXPECT_EQ(RunTool("export " + Quote(data) + " --xtf " + Quote(out) + " " + extra, errPath.string())
                      .exitCode,
            exitCode);
        err = ReadFileText(errPath);
        return ReadXtf(ReadFileBytes(out));
    }

    TempFolder dir {"tool-xtf"};
    std::string data = (dir / "survey.52l").string();
    std::string out = (dir / "survey.xtf").string();
    std::string targetsPath = (dir / "targets.csv").string();
};

TEST_F(XtfExportTest, SideScanPingsGoInPingForPingWithTheTracksNavigation)
{
    const std::vector<SourcePing> source = SideScanPings(data);
    ASSERT_EQ(source.size(), 301u) << "the survey's pings and the one looking to starboard";
    const NavigationTrack track = NavigationTrack::FromText(ReadFileText(data + ".nmea"));

    // As recorded (UTC+00:00), then with the host's clock said to be 13
    // hours east of UTC though its figures are the receiver's UTC: a host
    // clock 13 hours slow, which the track's dated fixes set right (the
    // navigation stays, the stamps being the same), then without a track.
    const std::string trackText = ReadFileText(data + ".nmea");
    struct Case {
        int utcOffsetMinutes;
        bool track;
        const char* note;
    };
    const Case cases[] = {{0, true, "Ping times: UTC (host clock was UTC+00:00)"},
        {13 * 60, true, "Ping times: GPS UTC (host clock UTC+13:00, 46800.0 s slow)"},
        {0, false, "Ping times: local time of the recording host"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        std::string shifted = trackText;
        for (std::size_t at; (at = shifted.find("+00:00\t")) != std::string::npos;)
            shifted.replace(at, 6, "+13:00");
        if (!c.track)
            std::filesystem::remove(data + ".nmea");
        else
            std::ofstream(data + ".nmea", std::ios::binary) << (c.utcOffsetMinutes ? shifted : trackText);

        std::string err;
        const XtfFileRead f = Export("", err);
        EXPECT_EQ(f.note, c.note);
        EXPECT_EQ(f.sonar, "K52L");
        EXPECT_EQ(f.fileName, "survey.xtf");
        EXPECT_EQ(f.channelType, 1) << "the head looks to port";
        EXPECT_EQ(f.frequency, float(5 * source[0].frequencyCode + 175));
        ASSERT_EQ(f.pings.size(), source.size());
        EXPECT_EQ(f.packets, source.size()) << "no notes without --targets";
        int placed = 0;
        for (std::size_t i = 0; i < source.size(); ++i) {
            const SourcePing& s = source[i];
            const XtfPingRead& r = f.pings[i];
            ASSERT_EQ(r.samples, s.echo) << "ping " << i;
            EXPECT_EQ(r.pingNumber, i);
            EXPECT_EQ(r.time, TimeOf(s.seconds)) << "ping " << i;
            EXPECT_EQ(r.slantRange, float(s.range));
            EXPECT_EQ(r.soundVelocity, float(s.soundVelocity / 2));
            EXPECT_EQ(r.gain, s.gain);
            EXPECT_EQ(r.frequency, 5 * s.frequencyCode + 175);
            EXPECT_EQ(r.secondsPerPing, float(s.loopTime / 1000.0));
            const PingNavigation nav = c.track ? track.At(s.seconds, AntennaOffsets {}) : PingNavigation {};
            EXPECT_EQ(r.sensorLatitude, nav.hasPosition ? nav.head.latitude : 0.0) << "ping " << i;
            EXPECT_EQ(r.sensorLongitude, nav.hasPosition ? nav.head.longitude : 0.0) << "ping " << i;
            EXPECT_EQ(r.shipLatitude, nav.hasPosition ? nav.antenna.latitude : 0.0) << "ping " << i;
            EXPECT_EQ(r.heading, float(nav.HasHeading() ? nav.heading : 0.0)) << "ping " << i;
            EXPECT_EQ(r.speed, float(nav.hasSpeed ? nav.speedKnots : 0.0)) << "ping " << i;
            if (nav.hasPosition) {
                const XtfTimeRead fix = TimeOf(nav.fixSeconds);
                EXPECT_EQ((std::vector<int> {r.fixHour, r.fixMinute, r.fixSecond, r.fixHundredths}),
                    (std::vector<int> {fix.hour, fix.minute, fix.second, fix.hundredths}));
                ++placed;
            }
        }
        EXPECT_EQ(placed, c.track ? 300 : 0) << "every survey ping inside its track is placed";
        if (c.track) {
            EXPECT_NEAR(f.pings[10].speed, 4.0f, 1e-6) << "the boat's 4 knots";
        }
        EXPECT_NE(err.find("2 Sector and Polar pings left out"), std::string::npos) << err;
        EXPECT_NE(err.find("1 'IPX' pings left out (no samples)"), std::string::npos) << err;
        EXPECT_NE(err.find("1 pings look to starboard but went into the port channel"), std::string::npos)
            << err;
    }
}

TEST_F(XtfExportTest, TargetsBecomeNotesAfterThePingsOfTheirSecond)
{
    const std::vector<SourcePing> source = SideScanPings(data);
    std::string err;
    const XtfFileRead f = Export("--targets " + Quote(targetsPath), err);
    ASSERT_EQ(f.pings.size(), source.size());
    ASSERT_EQ(f.notes.size(), 2u);
    EXPECT_EQ(f.packets, source.size() + 2);
    // The XTF pings stamped before the second after `time`.
    const auto pingsThrough = [&](const char* time) {
        const double next = *PingStampSeconds("07-DEC-2026", time, "") + 1;
        std::size_t n = 0;
        while (n < source.size() && source[n].seconds < next)
            ++n;
        return n;
    };
    EXPECT_EQ(f.notes[0].after, pingsThrough("12:00:03")) << "after the last ping of 12:00:03";
    EXPECT_EQ(f.notes[0].time, TimeOf(*PingStampSeconds("07-DEC-2026", "12:00:03", "")));
    EXPECT_EQ(f.notes[0].text, "Target 2: ping 07-DEC-2026 12:00:03, size 2.25 m, from 6.25 m to 8.50 m");
    EXPECT_EQ(f.notes[1].after, source.size() - 1) << "before the ping of 14:30:06";
    EXPECT_EQ(f.notes[1].text.rfind("Target 1: ping 07-DEC-2026 14:30:05", 0), 0u) << f.notes[1].text;
    EXPECT_NE(err.find("1 targets left out (their ping time does not read)"), std::string::npos) << err;
}

TEST_F(XtfExportTest, TheChannelFollowsTheHeadsZeroOnTheBoat)
{
    // The head mounted facing astern: the survey's pings look to starboard.
    const auto ini = dir / "astern.ini";
    std::ofstream(ini) << "[Antenna Offsets]\nHead Zero To Bow=180.00\n";
    std::string err;
    const XtfFileRead f = Export("--ini " + Quote(ini.string()), err);
    EXPECT_EQ(f.channelType, 2);
    EXPECT_EQ(f.pings.size(), 301u);
    EXPECT_NE(err.find("1 pings look to port but went into the starboard channel"), std::string::npos) << err;
}

TEST_F(XtfExportTest, CommandLineMistakesAndFilesWithoutSideScan)
{
    const auto err = dir / "err.txt";
    const std::string file = Quote(data);
    const std::string xtf = " --xtf " + Quote(out);
    const auto bad = dir / "bad.csv";
    std::ofstream(bad) << kTargetsCsvHeader << "\r\nt,d,p,6.00,90.0\r\n";
    const auto fan = dir / "fan.52l";
    WriteBytes(fan, MakeRecord(PingSpec {.mode = DisplayMode::Polar}, "52L"));
    struct Case {
        std::string args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {file + xtf + " --csv -", 2, "choose one of --csv and --xtf"},
        {file + xtf + " --samples", 2, "--samples goes with --csv"},
        {file + " --xtf -", 2, "--xtf takes a file (not standard output)"},
        {file + " --csv - --targets " + Quote(targetsPath), 2, "--targets goes with --xtf"},
        {file, 2, "--csv OUT is required (- for standard output), or --xtf OUT.xtf"},
        {file + xtf + " --targets " + Quote(bad.string()), 1, "line 2: 5 fields where the header has 9"},
        {file + xtf + " --targets " + Quote((dir / "none.csv").string()), 1, "cannot read the targets"},
        {file + " --xtf " + Quote((dir / "no" / "x.xtf").string()), 1, "cannot write"},
        {Quote(fan.string()) + xtf, 1, "has no side-scan ping with samples"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(out);
        EXPECT_EQ(RunTool("export " + c.args, err.string()).exitCode, c.exitCode) << c.args;
        EXPECT_NE(ReadFileText(err).find(c.message), std::string::npos) << c.args << "\n"
                                                                        << ReadFileText(err);
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args << ": no file left behind";
    }
}

// The ping times' rule: the host's UTC from its stamps' offset, set right
// by the receivers' time when the host clock is a second or more off.
TEST(XtfTimeRule, TheNoteSaysWhatTheShiftDoes)
{
    struct Case {
        std::optional<int> offset;
        std::optional<double> lead;
        double shift;
        const char* note;
    };
    const Case cases[] = {
        {std::nullopt, 5.0, 0.0, "Ping times: local time of the recording host"},
        {60, std::nullopt, 3600.0, "Ping times: UTC (host clock was UTC+01:00)"},
        {60, 0.4, 3600.0, "Ping times: UTC (host clock was UTC+01:00)"},
        {60, 183.3, 3600.0 - 183.3, "Ping times: GPS UTC (host clock UTC+01:00, 183.3 s slow)"},
        {-300, -2.0, -18000.0 + 2.0, "Ping times: GPS UTC (host clock UTC-05:00, 2.0 s fast)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(XtfTimeNote(c.offset, c.lead), c.note);
        EXPECT_DOUBLE_EQ(XtfTimeShift(c.offset, c.lead), c.shift) << c.note;
    }
    EXPECT_LE(XtfTimeNote(-825, 1e9).size(), 63u) << "the header's note field";
}

} // namespace
} // namespace velmaris::tool
