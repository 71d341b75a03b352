// The record writer where the disk is full, a write falls short or the
// station is killed: faults a POSIX system can stage in a test.
#include "files/RecordWriter.h"

#include "support/CycleFakes.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

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
    ASSERT_TRUE(writer.Open("/dev/full"));
    EXPECT_FALSE(writer.Append(record));
    EXPECT_FALSE(writer.IsRecording());
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_NE(reporter.messages[0].find("Recording stopped"), std::string::npos);
    EXPECT_NE(reporter.messages[0].find("/dev/full"), std::string::npos);
    EXPECT_NE(reporter.messages[0].find("No space left on device"), std::string::npos);
    EXPECT_TRUE(writer.Append(record));
    EXPECT_EQ(reporter.messages.size(), 1u);
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
