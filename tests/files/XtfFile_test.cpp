// The XTF encoder read back by the tests' own strict reader (written from
// the format's notes): sizes and padding, every field a ping carries, text
// fields cut with their NUL kept, and times broken down from seconds.
#include "files/XtfFile.h"
#include "protocol/TimeStamp.h"
#include "support/XtfReader.h"

#include <gtest/gtest.h>

#include <random>

namespace velmaris {
namespace {

using testing::ReadXtf;
using testing::XtfTimeRead;

std::vector<std::uint8_t> Samples(std::size_t n, std::uint8_t seed)
{
    std::vector<std::uint8_t> s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<std::uint8_t>(seed + i * 7);
    return s;
}

TEST(XtfFile, PingsOfEverySizeReadBackFieldForField)
{
    XtfFileInfo info {"VelTool", "K52L", "Ping times: UTC", "dive.xtf", XtfChannel::Starboard, 675.0f};
    const auto header = XtfFileHeader(info);
    std::vector<std::uint8_t> file(header.begin(), header.end());
    // Samples and the packet size: 500 ('IGX') and 250 ('IMX') as the
    // format's table gives them, one sample, and a ping that fills its
    // packet with no padding.
    const std::size_t cases[][2] = {{500, 832}, {250, 576}, {1, 384}, {704, 1024}};
    std::vector<std::vector<std::uint8_t>> samples;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(XtfPingPacketSize(cases[i][0]), cases[i][1]);
        samples.push_back(Samples(cases[i][0], std::uint8_t(i)));
        XtfPing p;
        p.time = {2026, 12, 7, 12, 0, int(i), 42};
        p.pingNumber = std::uint32_t(i);
        p.soundVelocity = 1480.0;
        p.slantRange = 20.0 + double(i);
        p.secondsPerPing = 0.085;
        p.frequencyKhz = 675;
        p.gainCode = 20;
        p.sensorLatitude = 59.4321 + double(i) * 1e-6;
        p.sensorLongitude = -10.5678;
        p.shipLatitude = 59.4322;
        p.shipLongitude = -10.5679;
        p.heading = 92.5;
        p.speedKnots = 4.25;
        p.fixTime = {2026, 12, 7, 11, 59, 59, 98};
        p.hasFixTime = i != 3;
        p.samples = samples.back();
        const std::size_t before = file.size();
        ASSERT_TRUE(AppendXtfPing(p, file));
        EXPECT_EQ(file.size() - before, cases[i][1]);
        if (i == 1)
            AppendXtfNote({2026, 12, 7, 12, 0, 1, 99}, "Target 1: a note", file);
    }
    const auto f = ReadXtf(file);
    EXPECT_EQ(f.program, "VelTool");
    EXPECT_EQ(f.version, "223");
    EXPECT_EQ(f.sonar, "K52L");
    EXPECT_EQ(f.note, "Ping times: UTC");
    EXPECT_EQ(f.fileName, "dive.xtf");
    EXPECT_EQ(f.channelType, 2);
    EXPECT_EQ(f.frequency, 675.0f);
    EXPECT_EQ(f.packets, 5u);
    ASSERT_EQ(f.pings.size(), 4u);
    for (std::size_t i = 0; i < f.pings.size(); ++i) {
        const auto& r = f.pings[i];
        EXPECT_EQ(r.time, (XtfTimeRead {2026, 12, 7, 12, 0, int(i), 42}));
        EXPECT_EQ(r.pingNumber, i);
        EXPECT_EQ(r.soundVelocity, 740.0f) << "half the speed of sound";
        EXPECT_EQ(r.slantRange, float(20.0 + double(i)));
        EXPECT_FLOAT_EQ(r.timeDuration, float(2 * (20.0 + double(i)) / 1480.0));
        EXPECT_EQ(r.secondsPerPing, 0.085f);
        EXPECT_EQ(r.frequency, 675);
        EXPECT_EQ(r.gain, 20);
        EXPECT_EQ(r.sensorLatitude, 59.4321 + double(i) * 1e-6);
        EXPECT_EQ(r.sensorLongitude, -10.5678);
        EXPECT_EQ(r.shipLatitude, 59.4322);
        EXPECT_EQ(r.shipLongitude, -10.5679);
        EXPECT_EQ(r.heading, 92.5f);
        EXPECT_EQ(r.shipGyro, 92.5f);
        EXPECT_EQ(r.speed, 4.25f);
        EXPECT_EQ(r.shipSpeed, 4.25f);
        const int fix[] = {r.fixHour, r.fixMinute, r.fixSecond, r.fixHundredths};
        if (i != 3)
            EXPECT_EQ(std::vector<int>(fix, fix + 4), (std::vector<int> {11, 59, 59, 98}));
        else
            EXPECT_EQ(std::vector<int>(fix, fix + 4), (std::vector<int> {0, 0, 0, 0})) << "no fix: zero";
        EXPECT_EQ(r.samples, samples[i]);
    }
    ASSERT_EQ(f.notes.size(), 1u);
    EXPECT_EQ(f.notes[0].after, 2u);
    EXPECT_EQ(f.notes[0].time, (XtfTimeRead {2026, 12, 7, 12, 0, 1, 0}));
    EXPECT_EQ(f.notes[0].text, "Target 1: a note");
}

TEST(XtfFile, TextsAreCutWithTheirNulAndEmptyPingsAreRefused)
{
    const std::string longText(300, 'x');
    XtfFileInfo info {"VelmarisTool", longText, longText, longText, XtfChannel::Port, 0.0f};
    const auto header = XtfFileHeader(info);
    std::vector<std::uint8_t> file(header.begin(), header.end());
    AppendXtfNote({}, longText, file);
    XtfPing empty;
    EXPECT_FALSE(AppendXtfPing(empty, file)) << "no samples: readers would take the count from elsewhere";
    EXPECT_EQ(file.size(), kXtfFileHeaderSize + kXtfNotesSize) << "nothing appended";
    const auto f = ReadXtf(file);
    EXPECT_EQ(f.program, "Velmari");
    EXPECT_EQ(f.sonar, longText.substr(0, 15));
    EXPECT_EQ(f.note, longText.substr(0, 63));
    EXPECT_EQ(f.fileName, longText.substr(0, 63));
    EXPECT_EQ(f.channelType, 1);
    ASSERT_EQ(f.notes.size(), 1u);
    EXPECT_EQ(f.notes[0].text, longText.substr(0, kXtfNotesTextMax));
}

TEST(XtfFile, SecondsBreakDownToTheHundredth)
{
    const auto seconds = [](int y, int mo, int d, int h, int mi, int s, int ms) {
        return LocalSeconds(LocalTime {y, mo, d, h, mi, s, ms});
    };
    struct Case {
        double seconds;
        XtfTimeRead want;
    };
    const Case cases[] = {
        {0.0, {1970, 1, 1, 0, 0, 0, 0}},
        {seconds(2026, 12, 7, 14, 30, 5, 420), {2026, 12, 7, 14, 30, 5, 42}},
        {seconds(2024, 2, 29, 23, 59, 59, 0) + 0.996, {2024, 3, 1, 0, 0, 0, 0}}, // rounds into March
        {seconds(2000, 2, 29, 12, 0, 0, 0), {2000, 2, 29, 12, 0, 0, 0}},
        {-0.01, {1969, 12, 31, 23, 59, 59, 99}},
        {seconds(2026, 12, 31, 23, 59, 59, 990), {2026, 12, 31, 23, 59, 59, 99}},
    };
    for (const Case& c : cases) {
        const XtfTime t = XtfTimeOfSeconds(c.seconds);
        EXPECT_EQ((XtfTimeRead {t.year, t.month, t.day, t.hour, t.minute, t.second, t.hundredths}), c.want)
            << c.seconds;
    }
    // And back, over many days.
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        const double s = double(random() % 6'000'000'000ULL) / 100.0;
        const XtfTime t = XtfTimeOfSeconds(s);
        EXPECT_NEAR(seconds(t.year, t.month, t.day, t.hour, t.minute, t.second, t.hundredths * 10), s, 0.005)
            << s;
    }
}

} // namespace
} // namespace velmaris
