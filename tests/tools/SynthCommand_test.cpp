#include "support/ChildProcess.h"

#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace velmaris::tool {
namespace {

using test::ToolProcess;

TEST(SynthCommand, WritesARecordingTheExtensionNames)
{
    if (!std::filesystem::exists(test::ToolPath()))
        GTEST_SKIP() << "velmaris-tool is not built";
    char pattern[] = "/tmp/velmaris-synth-tool-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    const std::string path = (dir / "harbour.52a").string();
    ToolProcess tool({"synth", path, "--pings", "20", "--mode", "sector", "--range", "20", "--seed", "3"});
    ASSERT_TRUE(tool.Started());
    EXPECT_EQ(tool.Wait(), 0) << tool.ReadAllErrors();
    EXPECT_EQ(std::filesystem::file_size(path), 20u * 640u);

    ToolProcess wrongName({"synth", (dir / "harbour.dat").string()});
    EXPECT_EQ(wrongName.Wait(), 2);
    ToolProcess badMode({"synth", path, "--mode", "zigzag"});
    EXPECT_EQ(badMode.Wait(), 2);
    std::filesystem::remove_all(dir);
}

// The track beside a synthetic recording: every line a time stamp with
// hundredths and the UTC offset, a tab and a whole sentence whose own time
// is the stamp's; one epoch a GPS period from a second before the first
// ping to a second after the last.
TEST(SynthCommand, TrackBesideTheRecordingSpansItsPingsLineByLine)
{
    if (!std::filesystem::exists(test::ToolPath()))
        GTEST_SKIP() << "velmaris-tool is not built";
    char pattern[] = "/tmp/velmaris-synth-track-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    const std::string path = (dir / "survey.52l").string();
    struct Case {
        std::vector<std::string> extra;
        std::string talker;
        int stepMs; // between epochs
        int badEvery;
    };
    const Case cases[] = {
        {{}, "GP", 1000, 0},
        {{"--talker", "GN", "--gps-rate", "2", "--bad-checksums", "7"}, "GN", 500, 7},
    };
    const std::regex line(R"(^(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)\.(\d\d)\+00:00\t)"
                          R"(\$([A-Z]{2})(RMC|GGA|VTG|HDT),(.*)\*([0-9A-F]{2})\r$)");
    for (const Case& c : cases) {
        std::vector<std::string> args {"synth", path, "--pings", "150", "--range", "20", "--track"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        ToolProcess tool(args);
        ASSERT_EQ(tool.Wait(), 0) << tool.ReadAllErrors();

        // The pings' time stamps, as the tool's dump reads them.
        const testing::ToolRun dump = testing::RunTool("dump " + testing::Quote(path));
        const std::regex stamp(R"re("time":"(\d\d):(\d\d):(\d\d)","hundredths":"\.([ \d]\d)")re");
        std::vector<long long> pings;
        for (auto it = std::sregex_iterator(dump.out.begin(), dump.out.end(), stamp);
             it != std::sregex_iterator(); ++it)
            pings.push_back(
                ((std::stoll((*it)[1]) * 60 + std::stoll((*it)[2])) * 60 + std::stoll((*it)[3])) * 1000
                + std::stoll((*it)[4]) * 10);
        ASSERT_EQ(pings.size(), 150u);
        const long long firstPing = pings.front(), lastPing = pings.back();
        EXPECT_EQ(firstPing, 12 * 3600000LL);

        std::ifstream track(path + ".nmea");
        long long first = -1, last = -1, previous = -1;
        int sentences = 0, bad = 0;
        for (std::string text; std::getline(track, text);) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(text, m, line)) << text;
            EXPECT_EQ(m[8].str(), c.talker);
            const long long ms = ((std::stoll(m[4]) * 60 + std::stoll(m[5])) * 60 + std::stoll(m[6])) * 1000
                + std::stoll(m[7]) * 10;
            if (m[9] == "RMC" || m[9] == "GGA") { // the sentence's own time is the stamp's
                EXPECT_EQ(m[10].str().substr(0, 9), m[4].str() + m[5].str() + m[6].str() + "." + m[7].str());
            }
            if (previous >= 0 && ms != previous) {
                EXPECT_EQ(ms - previous, c.stepMs);
            }
            first = first < 0 ? ms : first;
            last = previous = ms;
            unsigned sum = 0;
            const std::string body = text.substr(text.find('$') + 1, text.rfind('*') - text.find('$') - 1);
            for (char ch : body)
                sum ^= static_cast<unsigned char>(ch);
            ++sentences;
            if (std::stoul(m[11].str(), nullptr, 16) != sum) {
                ++bad;
                EXPECT_EQ(sentences % c.badEvery, 0) << text;
            }
        }
        EXPECT_EQ(first, firstPing - 1000);
        EXPECT_GE(last, lastPing + 1000);
        EXPECT_LT(last, lastPing + 1000 + c.stepMs);
        EXPECT_EQ(sentences, 4 * ((last - first) / c.stepMs + 1));
        EXPECT_EQ(bad, c.badEvery ? sentences / c.badEvery : 0);
    }
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace velmaris::tool
