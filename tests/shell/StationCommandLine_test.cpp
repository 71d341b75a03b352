#include "shell/StationCommandLine.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(StationCommandLine, FileIniAndDemo)
{
    const auto line = ParseStationCommandLine({"dive.52l", "--ini", "/tmp/v.ini", "--demo"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_EQ(line.recordFile, "dive.52l");
    EXPECT_EQ(line.iniPath, "/tmp/v.ini");
    EXPECT_TRUE(line.demo);
    EXPECT_FALSE(line.help);
}

// The desktop's "open with" runs "velmaris --play %f": the file is played,
// never recorded over, and the menu entry (no file) is a plain start.
TEST(StationCommandLine, PlayTurnsTheFileIntoAPlayback)
{
    struct Case {
        std::vector<std::string> args;
        std::string play;
        std::string record;
    };
    const Case cases[] = {
        {{"--play", "/data/dive 1.52l"}, "/data/dive 1.52l", ""},
        {{"dive.52a", "--play"}, "dive.52a", ""},
        {{"--play"}, "", ""},
        {{"dive.52a"}, "", "dive.52a"},
    };
    for (const Case& c : cases) {
        const auto line = ParseStationCommandLine(c.args);
        EXPECT_TRUE(line.error.empty()) << line.error;
        EXPECT_EQ(line.playFile, c.play) << c.args[0];
        EXPECT_EQ(line.recordFile, c.record) << c.args[0];
    }
    EXPECT_FALSE(ParseStationCommandLine({"--play", "a.52a", "b.52a"}).error.empty());
}

TEST(StationCommandLine, RefusesWhatItCannotUse)
{
    EXPECT_FALSE(ParseStationCommandLine({"a.52a", "b.52a"}).error.empty());
    EXPECT_FALSE(ParseStationCommandLine({"--ini"}).error.empty());
    EXPECT_FALSE(ParseStationCommandLine({"--bogus"}).error.empty());
    EXPECT_TRUE(ParseStationCommandLine({}).error.empty());
    EXPECT_TRUE(ParseStationCommandLine({"--version"}).version);
    EXPECT_TRUE(ParseStationCommandLine({"-h"}).help);
    EXPECT_FALSE(ParseStationCommandLine({"--run-for", "0"}).error.empty());
    EXPECT_FALSE(ParseStationCommandLine({"--run-for", "5s"}).error.empty());
    EXPECT_FALSE(ParseStationCommandLine({"--run-for", "x0000000000000"}).error.empty());
    EXPECT_FALSE(ParseStationCommandLine({"--screenshot", "x.png"}).error.empty()); // needs --run-for
    const auto shot = ParseStationCommandLine({"--demo", "--run-for", "4", "--screenshot", "x.png"});
    EXPECT_TRUE(shot.error.empty());
    EXPECT_EQ(shot.runForSeconds, 4);
    EXPECT_EQ(shot.screenshotPath, "x.png");
}

} // namespace
} // namespace velmaris

namespace velmaris {
namespace {

TEST(StationCommandLine, GpsSwitchTakesADeviceAndAnOfferedRate)
{
    struct Case {
        std::vector<std::string> args;
        std::string device; // "" when refused
        int baud;
    };
    const Case cases[] = {
        {{"--gps", "/dev/ttyUSB0:4800"}, "/dev/ttyUSB0", 4800},
        {{"--gps", "/dev/ttyUSB0"}, "/dev/ttyUSB0", 4800},
        {{"--gps", "COM3:38400", "dive.52a"}, "COM3", 38400},
        {{"--gps", "/dev/ttyUSB0:4801"}, "", 0},
        {{"--gps", "/dev/ttyUSB0:"}, "", 0},
        {{"--gps", ":9600"}, "", 0},
        {{"--gps", "/dev/ttyUSB0:>60--33333333331"}, "", 0}, // a digit after a refused one stays refused
        {{"--gps"}, "", 0},
    };
    for (const Case& c : cases) {
        const auto line = ParseStationCommandLine(c.args);
        EXPECT_EQ(line.gpsDevice, c.device) << c.args[c.args.size() - 1];
        EXPECT_EQ(line.error.empty(), !c.device.empty()) << line.error;
        if (!c.device.empty()) {
            EXPECT_EQ(line.gpsBaud, c.baud);
        }
    }
}

} // namespace
} // namespace velmaris
