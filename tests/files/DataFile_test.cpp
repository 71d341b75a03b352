#include "files/DataFile.h"
#include "files/RecordReader.h"

#include "support/RecordFixture.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

using testing::Append;
using testing::MakeRecord;
using testing::PingSpec;
using testing::TempFolder;
using testing::WriteBytes;

TEST(DataFileType, FromNameAndFirstBytes)
{
    EXPECT_EQ(FileTypeFromName("/d/dive.52a"), SonarType::SerialK52A);
    EXPECT_EQ(FileTypeFromName("DIVE.52L"), SonarType::EthernetK52L); // compared lower-cased
    EXPECT_FALSE(FileTypeFromName("dive.52x"));
    EXPECT_FALSE(FileTypeFromName("dive.txt"));
    EXPECT_FALSE(FileTypeFromName("2a"));
    const std::uint8_t serialTag[] {'5', '2', 'A'};
    const std::uint8_t ethernetTag[] {'5', '2', 'L'};
    EXPECT_EQ(SettleFileType(SonarType::EthernetK52L, serialTag), SonarType::SerialK52A); // ".52l" tagged 52A plays as 0
    EXPECT_EQ(SettleFileType(SonarType::EthernetK52L, ethernetTag), SonarType::EthernetK52L);
    EXPECT_EQ(SettleFileType(SonarType::SerialK52A, ethernetTag), SonarType::SerialK52A); // the name says serial
}

TEST(DataFileOpen, HundredBytesAcceptedNinetyNineRejected)
{
    TempFolder dir("datafile-open");
    WriteBytes(dir / "a.52a", std::vector<std::uint8_t>(100, 0));
    WriteBytes(dir / "b.52a", std::vector<std::uint8_t>(99, 0));
    DataFile file;
    EXPECT_EQ(file.Open((dir / "a.52a").string()), DataFile::OpenResult::Ok);
    EXPECT_EQ(file.Length(), 100);
    EXPECT_EQ(file.Open((dir / "b.52a").string()), DataFile::OpenResult::NoData);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_STREQ(OpenResultMessage(DataFile::OpenResult::NoData), "File has no data!!!  ");
    EXPECT_EQ(file.Open((dir / "missing.52a").string()), DataFile::OpenResult::CannotOpen);
    EXPECT_STREQ(OpenResultMessage(DataFile::OpenResult::CannotOpen), "Error opening file !   ");
}

class RecordFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Append(bytes_, MakeRecord(PingSpec {.kind = "IMX"}));
        Append(bytes_, MakeRecord(PingSpec {.kind = "IGX"}));
        Append(bytes_, MakeRecord(PingSpec {.kind = "IPX"}));
        Append(bytes_, MakeRecord(PingSpec {.kind = "IGX", .headPosition = 700}));
        WriteBytes(dir_ / "f.52a", bytes_);
        ASSERT_EQ(file_.Open((dir_ / "f.52a").string()), DataFile::OpenResult::Ok);
    }
    TempFolder dir_ {"datafile-records"};
    std::vector<std::uint8_t> bytes_;
    DataFile file_;
};

TEST_F(RecordFile, RecordsHaveTheirLengthsAndImxPadding)
{
    ASSERT_EQ(bytes_.size(), 384u + 640u + 128u + 640u);
    EXPECT_EQ(bytes_[364], 0xFC); // IMX: 100 + 12 + 252, then padding
    EXPECT_EQ(bytes_[365], 0);
    RecordFrame frame;
    std::int64_t offset = 0;
    std::vector<int> lengths;
    while (ReadRecordFrame(file_, offset, frame) == RecordStatus::Ok) {
        lengths.push_back(frame.recordLength);
        offset = frame.NextOffset();
    }
    EXPECT_EQ(lengths, (std::vector<int> {384, 640, 128, 640}));
    EXPECT_EQ(offset, file_.Length());
    EXPECT_EQ(file_.Seeks(), 0) << "record after record, the stream only reads on";
    // Playback's pattern: read at the position, then seek to the next record.
    ASSERT_TRUE(file_.Seek(384));
    int played = 0;
    while (ReadRecordFrame(file_, file_.Position(), frame) == RecordStatus::Ok) {
        ++played;
        ASSERT_TRUE(file_.Seek(frame.NextOffset()));
    }
    EXPECT_EQ(played, 3);
    EXPECT_EQ(file_.Seeks(), 1);
    EXPECT_EQ(file_.Position(), file_.Length());
}

TEST_F(RecordFile, ResynchronisingFromInsideARecordFindsTheNextTag)
{
    EXPECT_EQ(file_.Resynchronise(1, SonarType::SerialK52A), 384);
    EXPECT_EQ(file_.Position(), 384);
    EXPECT_EQ(file_.Resynchronise(384, SonarType::SerialK52A), 384);
    EXPECT_EQ(file_.Resynchronise(385, SonarType::SerialK52A), 1024);
    // Inside the last record: no tag follows, the file is left at its end.
    EXPECT_EQ(file_.Resynchronise(1153, SonarType::SerialK52A), file_.Length());
    // A serial file has no "52L" tag anywhere.
    EXPECT_EQ(file_.Resynchronise(0, SonarType::EthernetK52L), file_.Length());
}

TEST(RecordReader, DamagedLengthsAreReportedNotLoopedOn)
{
    TempFolder dir("datafile-damage");
    std::vector<std::uint8_t> bytes;
    auto zeroLength = MakeRecord(PingSpec {});
    zeroLength[4] = zeroLength[5] = 0;
    auto tooLong = MakeRecord(PingSpec {});
    tooLong[4] = 0xFF;
    Append(bytes, zeroLength);
    Append(bytes, MakeRecord(PingSpec {}));
    Append(bytes, tooLong);
    WriteBytes(dir / "d.52a", bytes);
    DataFile file;
    ASSERT_EQ(file.Open((dir / "d.52a").string()), DataFile::OpenResult::Ok);
    RecordFrame frame;
    EXPECT_EQ(ReadRecordFrame(file, 0, frame), RecordStatus::Damaged);
    EXPECT_EQ(file.Resynchronise(1, SonarType::SerialK52A), 640);
    EXPECT_EQ(ReadRecordFrame(file, 640, frame), RecordStatus::Ok);
    EXPECT_EQ(ReadRecordFrame(file, 1280, frame), RecordStatus::Damaged); // runs past the end
    EXPECT_EQ(ReadRecordFrame(file, 1920 - 99, frame), RecordStatus::End);
}

// A tag at and around the 64 KB read-block edges is found from any start:
// the scan reads in blocks that overlap by two bytes.
TEST(DataFileResync, FindsTagsAcrossReadBlockEdges)
{
    TempFolder dir("datafile-edges");
    constexpr std::int64_t kBlock = 64 * 1024;
    for (const std::int64_t at :
        {kBlock - 3, kBlock - 2, kBlock - 1, kBlock, 2 * kBlock - 1, 2 * kBlock + 5}) {
        std::vector<std::uint8_t> bytes(std::size_t(2 * kBlock + 100), 'x');
        bytes[0] = '5', bytes[1] = '2', bytes[2] = 'A'; // the file's own first tag
        bytes[std::size_t(at)] = '5', bytes[std::size_t(at + 1)] = '2', bytes[std::size_t(at + 2)] = 'A';
        WriteBytes(dir / "e.52a", bytes);
        DataFile file;
        ASSERT_EQ(file.Open((dir / "e.52a").string()), DataFile::OpenResult::Ok);
        for (const std::int64_t from : {std::int64_t(1), at - 1, at})
            EXPECT_EQ(file.Resynchronise(from, SonarType::SerialK52A), at) << "tag at " << at << " from " << from;
        EXPECT_EQ(file.Resynchronise(at + 1, SonarType::SerialK52A), file.Length());
        EXPECT_EQ(file.Resynchronise(file.Length() + 7, SonarType::SerialK52A), file.Length());
    }
}

} // namespace
} // namespace velmaris
