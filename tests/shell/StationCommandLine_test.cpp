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
    EXPECT_FALSE(ParseStationCommandLine({"--screenshot", "x.png"}).error.empty()); // needs --run-for
    const auto shot = ParseStationCommandLine({"--demo", "--run-for", "4", "--screenshot", "x.png"});
    EXPECT_TRUE(shot.error.empty());
    EXPECT_EQ(shot.runForSeconds, 4);
    EXPECT_EQ(shot.screenshotPath, "x.png");
}

} // namespace
} // namespace velmaris
