// The track writer: whole lines in order, a full disk that stops the track
// with one message, and a kill that leaves whole lines.
#include "files/TrackFile.h"
#include "files/TrackWriter.h"

#include "support/CycleFakes.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmaris {
namespace {

using namespace velmaris::testing;

std::string Line(int n)
{
    return TrackLine(LocalTime {2026, 12, 9, 10, 0, n % 60, 0}, 60,
        "$GPRMC,100000,A,4807.038,N,01131.000,E,1.0,2.0,091226,," + std::to_string(n));
}

std::string Text(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

class TrackWriterTest : public ::testing::Test {
protected:
    TempFolder folder {"trackwriter"};
    RecordingReporter reporter;
    TrackWriter writer {reporter};
};

TEST_F(TrackWriterTest, WritesEveryLineInOrderAndTruncatesOnOpen)
{
    const auto path = folder / "a.52l.nmea";
    ASSERT_TRUE(writer.Open(path.string()));
    std::string want;
    for (int i = 0; i < 200; ++i) {
        writer.AppendLine(Line(i));
        want += Line(i);
    }
    writer.Flush();
    EXPECT_EQ(Text(path), want);
    writer.Close();
    EXPECT_FALSE(writer.IsOpen());
    writer.AppendLine(Line(1)); // closed: nothing
    EXPECT_EQ(Text(path), want);

    ASSERT_TRUE(writer.Open(path.string()));
    writer.AppendLine(Line(7));
    writer.Close();
    EXPECT_EQ(Text(path), Line(7));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_FALSE(writer.Open((folder / "no/such/folder.nmea").string()));
    EXPECT_FALSE(writer.LastError().empty());
}

// A file-size limit reached half-way through a line, as a full disk: the
// track stops after its last whole line and says so once. A device is no
// track file at all.
TEST_F(TrackWriterTest, FullDiskStopsTheTrackWithOneMessage)
{
    EXPECT_FALSE(writer.Open("/dev/full"));

    const auto path = folder / "limited.nmea";
    ASSERT_TRUE(writer.Open(path.string()));
    int stops = 0;
    writer.SetStopListener([&] { ++stops; });
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = saved;
    lower.rlim_cur = Line(0).size() * 3 + 10;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &lower), 0);
    for (int i = 0; i < 10; ++i)
        writer.AppendLine(Line(i));
    writer.Flush();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    writer.Poll();
    EXPECT_FALSE(writer.IsOpen());
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_NE(reporter.messages[0].find("Track stopped"), std::string::npos);
    EXPECT_EQ(stops, 1);
    writer.AppendLine(Line(11));
    writer.Close();
    EXPECT_EQ(Text(path), Line(0) + Line(1) + Line(2));
    EXPECT_EQ(reporter.messages.size(), 1u);
}

TEST_F(TrackWriterTest, KilledStationLeavesWholeLines)
{
    const auto path = folder / "killed.nmea";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecordingReporter quiet;
        TrackWriter doomed(quiet);
        if (doomed.Open(path.string()))
            for (int i = 0;; ++i) // until killed
                doomed.AppendLine(Line(i));
        _exit(1);
    }
    // Kill it while it writes.
    for (int i = 0; i < 2000 && (!std::filesystem::exists(path) || std::filesystem::file_size(path) < 100000);
         ++i)
        usleep(1000);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string text = Text(path);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(text.ends_with("\r\n"));
    std::size_t lines = 0;
    for (std::size_t at = 0; at < text.size(); ++lines) {
        const std::size_t lf = text.find('\n', at);
        ASSERT_NE(lf, std::string::npos);
        ASSERT_EQ(text.substr(at, lf + 1 - at), Line(static_cast<int>(lines))) << "line " << lines;
        at = lf + 1;
    }
    EXPECT_GT(lines, 0u);
}

} // namespace
} // namespace velmaris
