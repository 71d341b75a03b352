// The record writer where the disk is full, a write falls short or the
// station is killed: faults a POSIX system can stage in a test.
#include "files/RecordWriter.h"

#include "support/CycleFakes.h"
#include "support/FileFaults.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmaris {
namespace {

using namespace velmaris::testing;

class RecordWriterFaultTest : public ::testing::Test {
protected:
    TempFolder folder {"recordwriterfault"};
    RecordingReporter reporter;
    RecordWriter writer {reporter};
    const std::vector<std::uint8_t> record = MakeRecord(PingSpec {});
};

TEST_F(RecordWriterFaultTest, FullDiskStopsRecordingWithOneMessage)
{
    const auto path = folder / "full.52a";
    ASSERT_TRUE(writer.Open(path.string()));
    bool ok = true;
    {
        const FileSizeLimit full(0);
        ok = writer.Append(record);
    }
    EXPECT_FALSE(ok);
    EXPECT_FALSE(writer.IsRecording());
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_NE(reporter.messages[0].find("Recording stopped"), std::string::npos);
    EXPECT_NE(reporter.messages[0].find(path.string()), std::string::npos);
    EXPECT_NE(reporter.messages[0].find("File too large"), std::string::npos);
    EXPECT_TRUE(writer.Append(record));
    EXPECT_EQ(reporter.messages.size(), 1u);
}

// The record folder removed while recording, or the file renamed away and
// another put in its place: the keeper notices within its period, recording
// stops with one message, and what was recorded is written again where it
// was (beside the newcomer, which stays as it is).
TEST_F(RecordWriterFaultTest, AFileGoneFromItsPathStopsRecordingAndKeepsWhatWasRecorded)
{
    const auto sub = folder / "dive";
    const auto path = sub / "x.52a";
    const struct {
        const char* name;
        std::function<void()> fault;
        std::filesystem::path kept;
    } cases[] = {
        {"folder removed", [&] { std::filesystem::remove_all(sub); }, path},
        {"file replaced",
            [&] {
                std::filesystem::rename(path, sub / "moved.52a");
                WriteBytes(path, {1, 2, 3});
            },
            sub / "x (recovered).52a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(sub);
        std::filesystem::create_directories(sub);
        reporter.messages.clear();
        RecordWriter quick(reporter, std::chrono::milliseconds(10));
        ASSERT_TRUE(quick.Open(path.string()));
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(quick.Append(record));
        c.fault();

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (quick.Append(record) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_FALSE(quick.IsRecording()) << "the fault was never noticed";
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_NE(reporter.messages[0].find(c.kept.string()), std::string::npos) << reporter.messages[0];
        const auto kept = testing::ReadFileBytes(c.kept);
        EXPECT_EQ(kept.size(), static_cast<std::size_t>(quick.Length()));
        EXPECT_GE(kept.size(), 3 * record.size());
        EXPECT_EQ(kept.size() % record.size(), 0u);
    }
    EXPECT_EQ(testing::ReadFileBytes(path), (std::vector<std::uint8_t> {1, 2, 3}));
}

// What was written goes to the device once a period, and only then.
TEST_F(RecordWriterFaultTest, KeeperFlushesOnlyWhatWasWritten)
{
    RecordWriter quick(reporter, std::chrono::milliseconds(10));
    ASSERT_TRUE(quick.Open((folder / "flushed.52a").string()));
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(quick.Flushes(), 0u); // nothing written, nothing flushed
    ASSERT_TRUE(quick.Append(record));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (quick.Flushes() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(quick.Flushes(), 1u);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(RecordWriterFaultTest, ShortWriteIsCutBackToTheLastWholeRecord)
{
    const auto path = folder / "limited.52a";
    ASSERT_TRUE(writer.Open(path.string()));
    ASSERT_TRUE(writer.Append(record));

    // A file-size limit makes the next write fall short half-way through a record.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool ok = writer.Append(record);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(ok);
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(testing::ReadFileBytes(path), record);
}

TEST_F(RecordWriterFaultTest, KilledStationLeavesEveryAppendedRecord)
{
    const auto path = folder / "killed.52a";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RecordingReporter quiet;
        RecordWriter doomed(quiet);
        if (doomed.Open(path.string()))
            for (int i = 0; i < 3; ++i)
                doomed.Append(record);
        ::kill(::getpid(), SIGKILL); // no close, no flush, no destructor
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(testing::ReadFileBytes(path).size(), 3 * record.size());
}

} // namespace
} // namespace velmaris
