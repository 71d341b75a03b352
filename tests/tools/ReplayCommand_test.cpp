// velmaris-tool replay against a plain UDP receiver on loopback: what goes
// out, which records, in what order, and the command line. (Into the
// station's own listener: tests/tools/qt.)
#include "DatagramSender.h"
#include "support/ChildProcess.h"
#include "support/LoopbackUdpReceiver.h"
#include "support/RecordFixture.h"
#include "tools/ToolRunner.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velmaris::tool {
namespace {

using namespace velmaris::testing;

using Receiver = LoopbackUdpReceiver;

// Five records of three kinds, each told apart by its head position.
std::vector<std::vector<std::uint8_t>> FiveRecords()
{
    std::vector<std::vector<std::uint8_t>> records;
    const char* kinds[] = {"IGX", "IMX", "IPX", "IGX", "IMX"};
    for (int i = 0; i < 5; ++i)
        records.push_back(MakeRecord(PingSpec {.kind = kinds[i], .headPosition = 600 + i}, "52L"));
    return records;
}

std::filesystem::path WriteRecords(const TempFolder& dir,
    const std::vector<std::vector<std::uint8_t>>& records, const std::vector<std::uint8_t>& damage = {},
    std::size_t damageAfter = 99)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Append(bytes, records[i]);
        if (i + 1 == damageAfter)
            Append(bytes, damage);
    }
    WriteBytes(dir / "r.52l", bytes);
    return dir / "r.52l";
}

TEST(ReplayCommand, EachRecordGoesOutAsOneDatagramAsItIsInTheFile)
{
    TempFolder dir("tool-replay");
    const auto records = FiveRecords();
    // Damage after the second record: a tag with a length no record has.
    std::vector<std::uint8_t> junk {'5', '2', 'L', 0, 0xFF, 0xFF, 1, 2, 3};
    const auto path = WriteRecords(dir, records, junk, 2);
    struct Case {
        std::string options;
        std::vector<std::size_t> sent; // indices into records
    };
    const Case cases[] = {
        {"--speed 0", {0, 1, 2, 3, 4}},
        {"--speed 0 --from-ping 4", {3, 4}},
        {"--speed 0 --from-ping 2 --count 2", {1, 2}},
        {"--speed 1000 --count 1", {0}},
    };
    for (const Case& c : cases) {
        Receiver receiver;
        const std::string err = (dir / "err.txt").string();
        const ToolRun run = RunTool(
            "replay " + Quote(path.string()) + " --to " + receiver.Address() + " " + c.options, err);
        ASSERT_EQ(run.exitCode, 0) << c.options;
        const auto got = receiver.Take(c.sent.size() + 1, 300);
        ASSERT_EQ(got.size(), c.sent.size()) << c.options;
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], records[c.sent[i]]) << c.options << " datagram " << i;
        // The damage is reported as dump reports it, once it is reached.
        const std::string errors = testing::ReadFileText(err);
        EXPECT_EQ(errors.find("velmaris-tool replay: damaged record at offset 1024 (record length 65535)")
                != std::string::npos,
            c.sent.back() >= 2)
            << errors;
        EXPECT_NE(errors.find(std::to_string(c.sent.size()) + " datagrams sent to " + receiver.Address()),
            std::string::npos)
            << errors;
    }
}

TEST(ReplayCommand, LoopStartsAgainFromTheFirstSelectedRecord)
{
    TempFolder dir("tool-replay-loop");
    const auto records = FiveRecords();
    const auto path = WriteRecords(dir, records);
    Receiver receiver;
    test::ToolProcess tool({"replay", path.string(), "--to", receiver.Address(), "--loop", "--speed", "0",
        "--from-ping", "2", "--count", "2"});
    ASSERT_TRUE(tool.Started());
    const auto got = receiver.Take(7);
    tool.Signal(SIGTERM);
    tool.Wait();
    ASSERT_EQ(got.size(), 7u);
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], records[1 + i % 2]) << "datagram " << i;
}

// The line that says what was sent; "" when there is none.
std::string SummaryLine(const std::string& errors)
{
    const std::size_t at = errors.find(" datagrams sent to ");
    if (at == std::string::npos)
        return "";
    const std::size_t begin = errors.rfind('\n', at);
    const std::size_t start = begin == std::string::npos ? 0 : begin + 1;
    return errors.substr(start, errors.find('\n', at) - start);
}

TEST(ReplayCommand, InterruptedItSaysWhatItSentAsAtTheEnd)
{
    TempFolder dir("tool-replay-stop");
    const auto path = WriteRecords(dir, FiveRecords());
    Receiver receiver;
    const std::string err = (dir / "err.txt").string();
    ASSERT_EQ(RunTool("replay " + Quote(path.string()) + " --to " + receiver.Address() + " --speed 0", err)
                  .exitCode,
        0);
    const std::string atTheEnd = SummaryLine(testing::ReadFileText(err));
    ASSERT_NE(atTheEnd, "");
    ASSERT_EQ(receiver.Take(5).size(), 5u);

    // The five records share one time stamp and go out at once; before the
    // next pass the loop waits their loop time (85 ms) a hundred times over.
    for (const int signal : {SIGINT, SIGTERM}) {
        test::ToolProcess tool(
            {"replay", path.string(), "--to", receiver.Address(), "--loop", "--speed", "0.01"});
        ASSERT_TRUE(tool.Started());
        ASSERT_EQ(receiver.Take(5).size(), 5u);
        tool.Signal(signal);
        EXPECT_EQ(tool.WaitFor(2000), 0) << signal;
        EXPECT_EQ(SummaryLine(tool.ReadAllErrors()), atTheEnd) << signal;
        EXPECT_TRUE(receiver.Take(1, 100).empty()) << signal;
    }
}

TEST(ReplayCommand, BadCommandLinesSendNothing)
{
    TempFolder dir("tool-replay-usage");
    const auto path = Quote(WriteRecords(dir, FiveRecords()).string());
    Receiver receiver;
    const std::string to = " --to " + receiver.Address();
    struct Case {
        std::string args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {path + to + " --speed 2 --real-time", 2, "choose one of --speed and --real-time"},
        {path + to + " --speed -1", 2, "--speed takes a number from 0 to 1000"},
        {path + to + " --speed fast", 2, "--speed takes a number from 0 to 1000"},
        {path + to + " --count 0", 2, "--count takes a whole number from 1"},
        {path + to + " --from-ping x", 2, "--from-ping takes a whole number from 1"},
        {path + " --to 127.0.0.1:0", 2, "--to: bad port in '127.0.0.1:0'"},
        {path + " --to sonar.local:4040", 2, "--to: 'sonar.local' is not a numeric address"},
        {path + to + " --from-ping 6", 1, "no record numbered 6 or above"},
        {Quote((dir / "r.txt").string()) + to, 1, "ERROR: Application can not recognize this file type!"},
        {to, 2, "expected exactly one FILE"},
    };
    for (const Case& c : cases) {
        const std::string err = (dir / "err.txt").string();
        EXPECT_EQ(RunTool("replay " + c.args, err).exitCode, c.exitCode) << c.args;
        EXPECT_NE(testing::ReadFileText(err).find(c.message), std::string::npos)
            << c.args << "\n"
            << testing::ReadFileText(err);
    }
    EXPECT_TRUE(receiver.Take(1, 100).empty());
}

TEST(ReplayCommand, TargetsParseWithLoopbackTheDefault)
{
    struct Case {
        const char* text;
        const char* shown; // "" when refused
        bool loopback;
    };
    // Parsing only: nothing here is ever sent to.
    const Case cases[] = {
        {"127.0.0.1", "127.0.0.1:4040", true},
        {":5050", "127.0.0.1:5050", true},
        {"localhost:7", "127.0.0.1:7", true},
        {"127.8.9.10:65535", "127.8.9.10:65535", true},
        {"[::1]:5050", "[::1]:5050", true},
        {"::1", "[::1]:4040", true},
        {"10.1.2.3:9", "10.1.2.3:9", false},
        {"[fe80::1]", "[fe80::1]:4040", false},
        {"127.0.0.1:0", "", false},
        {"127.0.0.1:65536", "", false},
        {"127.0.0.1:", "", false},
        {"127.0.0.1:12x", "", false},
        {"[::1", "", false},
        {"[::1]x", "", false},
        {"sonar:4040", "", false},
    };
    for (const Case& c : cases) {
        DatagramTarget target;
        std::string error;
        const bool ok = ParseDatagramTarget(c.text, 4040, target, &error);
        EXPECT_EQ(ok, *c.shown != '\0') << c.text << ": " << error;
        if (ok) {
            EXPECT_EQ(target.Text(), c.shown);
            EXPECT_EQ(target.loopback, c.loopback) << c.text;
        }
    }
}

} // namespace
} // namespace velmaris::tool
