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

#include "support/ChildProcess.h"

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmaris {
namespace {

// A network source: datagrams on loopback, a $GN receiver and a gyro's heading.
TEST(NmeaCommand, HearsUdpDatagramsWithNewTalkersAndHeadings)
{
    const int probe = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in at {};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    socklen_t length = sizeof at;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&at), &length);
    ::close(probe); // the tool binds the port just found free
    const std::string port = std::to_string(ntohs(at.sin_port));

    tool::test::ToolProcess tool({"nmea", "udp://127.0.0.1:" + port});
    ASSERT_TRUE(tool.Started());
    const int sender = ::socket(AF_INET, SOCK_DGRAM, 0);
    const std::string rmc = "$GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*74\r\n";
    const std::string hdt = "$HEHDT,274.5,T\r\n";
    std::string line;
    for (int tries = 0; tries < 50 && line.empty(); ++tries) {
        ::sendto(sender, rmc.data(), rmc.size(), 0, reinterpret_cast<sockaddr*>(&at), sizeof at);
        line = tool.ReadLineWith("GNRMC", 100);
    }
    EXPECT_NE(line.find("\"latitude\":\"48.07.038 N\""), std::string::npos) << line;
    ::sendto(sender, hdt.data(), hdt.size(), 0, reinterpret_cast<sockaddr*>(&at), sizeof at);
    line = tool.ReadLineWith("HEHDT", 3000);
    EXPECT_TRUE(line.ends_with("\"heading\":\"274.5\"}")) << line;
    ::close(sender);
    tool.Signal(SIGINT);
    EXPECT_EQ(tool.WaitFor(3000), 0);
}

} // namespace
} // namespace velmaris
