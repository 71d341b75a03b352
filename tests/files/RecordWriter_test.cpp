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

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RecordWriterTest : public ::testing::Test {
protected:
    TempFolder folder {"recordwriter"};
    RecordingReporter reporter;
    RecordWriter writer {reporter};
    const std::vector<std::uint8_t> record = MakeRecord(PingSpec {});
};

TEST_F(RecordWriterTest, AppendsWholeRecordsToATruncatedFile)
{
    const auto path = folder / "a.52a";
    WriteBytes(path, std::vector<std::uint8_t>(5000, 9));
    ASSERT_TRUE(writer.Open(path.string()));
    EXPECT_TRUE(writer.IsRecording());
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    EXPECT_TRUE(writer.Append(record));
    EXPECT_TRUE(writer.Append(record));
    EXPECT_TRUE(writer.Append({})); // nothing to write
    EXPECT_EQ(writer.Length(), 1280);
    // Handed to the system at once: visible before the file is closed.
    auto expected = record;
    Append(expected, record);
    EXPECT_EQ(ReadAll(path), expected);

    writer.Close();
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_TRUE(writer.Append(record)); // not recording: nothing happens
    EXPECT_EQ(ReadAll(path).size(), 1280u);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(RecordWriterTest, FileThatCannotBeCreatedIsRefusedQuietly)
{
    EXPECT_FALSE(writer.Open((folder / "missing" / "a.52a").string()));
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_FALSE(writer.LastError().empty());
    EXPECT_TRUE(reporter.messages.empty()); // the record command reports it
}

TEST_F(RecordWriterTest, FullDiskStopsRecordingWithOneMessage)
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

TEST_F(RecordWriterTest, ShortWriteIsCutBackToTheLastWholeRecord)
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
    EXPECT_EQ(ReadAll(path), record);
}

TEST_F(RecordWriterTest, KilledStationLeavesEveryAppendedRecord)
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
    EXPECT_EQ(ReadAll(path).size(), 3 * record.size());
}

} // namespace
} // namespace velmaris
