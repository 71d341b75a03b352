#include "files/RecordWriter.h"

#include "support/CycleFakes.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmaris {
namespace {

using namespace velmaris::testing;

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
    EXPECT_EQ(testing::ReadFileBytes(path), expected);

    writer.Close();
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_TRUE(writer.Append(record)); // not recording: nothing happens
    EXPECT_EQ(testing::ReadFileBytes(path).size(), 1280u);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(RecordWriterTest, FileThatCannotBeCreatedIsRefusedQuietly)
{
    EXPECT_FALSE(writer.Open((folder / "missing" / "a.52a").string()));
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_FALSE(writer.LastError().empty());
    EXPECT_TRUE(reporter.messages.empty()); // the record command reports it
}

} // namespace
} // namespace velmaris
