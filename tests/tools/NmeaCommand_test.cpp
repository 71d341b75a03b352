// velmaris-tool nmea over the captures kept with the tests.
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace velmaris {
namespace {

using testing::Quote;
using testing::RunTool;

const std::filesystem::path kCaptures = std::filesystem::path(VELMARIS_SOURCE_DIR) / "tests/links/data/nmea";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(NmeaCommand, EveryCaptureDecodesToJsonLinesEndingInTheFinalTexts)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kCaptures)) {
        if (entry.path().extension() != ".log")
            continue;
        ++files;
        const auto run = RunTool("nmea " + Quote(entry.path().string()));
        ASSERT_EQ(run.exitCode, 0) << entry.path();
        const auto lines = Lines(run.out);
        ASSERT_FALSE(lines.empty());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(lines[i].starts_with(i + 1 == lines.size() ? "{\"final\":true" : "{\"sentence\":\"$"))
                << lines[i];
            EXPECT_TRUE(lines[i].ends_with("\"}")) << lines[i];
        }
        EXPECT_NE(
            lines.back().find("\"sentences\":" + std::to_string(lines.size() - 1) + ","), std::string::npos);
    }
    EXPECT_GE(files, 5);
}

TEST(NmeaCommand, FinalTextsFollowTheSelectionAndTheChunkSize)
{
    const std::string meinberg = Quote((kCaptures / "meinberg-gps164.log").string());
    const std::string finalRmc
        = "\"time\":\"22:11:21\",\"date\":\"18-DEC-2023\",\"latitude\":\"47.42.21 N\","
          "\"longitude\":\"012.00.76 E\",\"speed\":\"0.00 Knots\",\"course\":\"0.00 Deg.\"}";
    for (const char* tick : {"", " --tick-bytes 1", " --tick-bytes 100000", " --baud 115200"}) {
        const auto lines = Lines(RunTool("nmea " + meinberg + tick).out);
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(lines.back().ends_with(finalRmc)) << tick << ": " << lines.back();
    }
    // This receiver sends RMC only: nothing for a VTG selection.
    const auto vtg = Lines(RunTool("nmea " + meinberg + " --selection 3").out);
    EXPECT_TRUE(
        vtg.back().ends_with("\"time\":\"n/a\",\"date\":\"n/a\",\"latitude\":\"n/a\",\"longitude\":\"n/a\","
                             "\"speed\":\"n/a\",\"course\":\"n/a\"}"))
        << vtg.back();
}

TEST(NmeaCommand, RefusesBadOptionsAndMissingFiles)
{
    const std::string file = Quote((kCaptures / "nd-1005.log").string());
    EXPECT_EQ(RunTool("nmea").exitCode, 2);
    EXPECT_EQ(RunTool("nmea " + file + " --baud 1200").exitCode, 2);
    EXPECT_EQ(RunTool("nmea " + file + " --selection 4").exitCode, 2);
    EXPECT_EQ(RunTool("nmea " + file + " --tick-bytes 0").exitCode, 2);
    EXPECT_EQ(RunTool("nmea /nonexistent/velmaris.log").exitCode, 1);
    EXPECT_EQ(RunTool("nmea --help").exitCode, 0);
}

} // namespace
} // namespace velmaris
