#include "shell/qt/StationArguments.h"

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
        // Network sources: UDP heard on loopback unless an address is named.
        {{"--gps", "udp://:10110"}, "udp://127.0.0.1:10110", 4800},
        {{"--gps", "udp://"}, "udp://127.0.0.1:10110", 4800},
        {{"--gps", "udp://0.0.0.0:2000"}, "udp://0.0.0.0:2000", 4800},
        {{"--gps", "udp://[::1]:10110"}, "udp://[::1]:10110", 4800},
        {{"--gps", "tcp://localhost:2947"}, "tcp://localhost:2947", 4800},
        {{"--gps", "tcp://:2947"}, "", 0}, // TCP needs its host
        {{"--gps", "udp://:0"}, "", 0},
        {{"--gps", "udp://:65536"}, "", 0},
        {{"--gps", "udp://::1:10110"}, "", 0}, // IPv6 goes in brackets
        {{"--gps", "tcp://a b:1"}, "", 0},
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

namespace velmaris {
namespace {

// The command lines the README, the run script and the desktop entry give.
TEST(StationCommandLine, EveryDocumentedCommandLineParses)
{
    struct Case {
        std::vector<std::string> args;
        std::string record, play, ini, gps;
        bool demo;
        int runFor;
    };
    const Case cases[] = {
        {{"dive.52l", "--ini", "/tmp/v.ini", "--demo"}, "dive.52l", "", "/tmp/v.ini", "", true, 0},
        {{"--play", "dive.52l"}, "", "dive.52l", "", "", false, 0},
        {{"--demo"}, "", "", "", "", true, 0},
        {{"--demo", "--run-for", "6", "--screenshot", "build/velmaris-demo.png"}, "", "", "", "", true, 6},
        {{"--gps", "/dev/ttyUSB0:4800"}, "", "", "", "/dev/ttyUSB0", false, 0},
        {{"--gps", "COM3"}, "", "", "", "COM3", false, 0},
        {{"--ini=/tmp/v.ini", "-demo"}, "", "", "/tmp/v.ini", "", true, 0},
    };
    for (const Case& c : cases) {
        const StationCommandLine line = ParseStationCommandLine(c.args);
        EXPECT_EQ(line.error, "") << c.args[0];
        EXPECT_EQ(line.recordFile, c.record);
        EXPECT_EQ(line.playFile, c.play);
        EXPECT_EQ(line.iniPath, c.ini);
        EXPECT_EQ(line.gpsDevice, c.gps);
        EXPECT_EQ(line.demo, c.demo);
        EXPECT_EQ(line.runForSeconds, c.runFor);
    }
    EXPECT_TRUE(ParseStationCommandLine({"--help"}).help);
}

// A file name is bytes: one that is not UTF-8 reaches the station as given.
TEST(StationCommandLine, FileNamesKeepTheirBytes)
{
    const std::string latin1 = "/data/pl\xe9ng\xe9\x65 \xff.52l";
    EXPECT_EQ(ParseStationCommandLine({latin1}).recordFile, latin1);
    EXPECT_EQ(ParseStationCommandLine({"--play", latin1}).playFile, latin1);
    EXPECT_EQ(ParseStationCommandLine({"--ini=" + latin1}).iniPath, latin1);
}

TEST(StationCommandLine, HelpListsEveryOption)
{
    const std::string usage = StationUsage();
    for (const StationOption& option : StationOptions()) {
        const std::string form = std::string("--") + option.name
            + (*option.valueName != '\0' ? std::string(" ") + option.valueName : std::string());
        EXPECT_NE(usage.find(form), std::string::npos) << form << "\n" << usage;
        const std::string firstLine = std::string(option.help).substr(0, std::string(option.help).find('\n'));
        EXPECT_NE(usage.find(firstLine), std::string::npos) << firstLine;
        // Each is an option the parser knows.
        std::vector<std::string> args {std::string("--") + option.name};
        if (*option.valueName != '\0')
            args.push_back("1");
        EXPECT_EQ(ParseStationCommandLine(args).error.find("nknown"), std::string::npos) << args[0];
    }
}

} // namespace
} // namespace velmaris
