#include "sim/SyntheticRecording.h"

#include "SimRecordTestSupport.h"
#include "sim/SimRecordSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmaris::sim {
namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SyntheticRecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/velmaris-synth-XXXXXX";
        dir_ = ::mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(SyntheticRecordingTest, RecordsDecodeWithTheStationsDecoders)
{
    const std::string path = (dir_ / "dive.52l").string();
    SynthOptions options;
    options.pings = 30;
    options.command.mode = SimMode::Sector;
    options.command.rangeMetres = 50;
    options.command.gain = 14;
    options.command.step = kStepFaster;
    std::string error;
    ASSERT_TRUE(WriteSyntheticRecording(path, options, &error)) << error;
    const std::vector<std::uint8_t> file = ReadFile(path);
    ASSERT_EQ(file.size(), 30u * kRecordLengthIGX);

    int previousPosition = -1;
    for (std::size_t offset = 0; offset < file.size(); offset += kRecordLengthIGX) {
        const std::span<const std::uint8_t> record(file.data() + offset, kRecordLengthIGX);
        EXPECT_EQ(std::string(record.begin(), record.begin() + 3), "52L");
        const test::DecodedRecord d = test::DecodeOneRecord(record);
        ASSERT_TRUE(d.replyValid) << "record at " << offset;
        EXPECT_EQ(d.ping.recordLength, kRecordLengthIGX);
        EXPECT_EQ(d.ping.replyLength, 513);
        EXPECT_EQ(d.ping.echoCount, 500);
        EXPECT_EQ(d.ping.replyRange, 50);
        EXPECT_EQ(d.ping.date, "07-DEC-2026");
        EXPECT_EQ(d.settings.sectorMode, DisplayMode::Sector);
        EXPECT_EQ(d.command[CommandMessage::kGain], 14);
        EXPECT_EQ(d.command[CommandMessage::kStep], kStepFaster);
        EXPECT_EQ(d.echoes.size(), 528u);
        EXPECT_EQ(d.echoes[500], kRecordPaddingMark);
        if (previousPosition >= 0) {
            EXPECT_EQ(std::abs(d.ping.headPosition - previousPosition), 4);
        }
        previousPosition = d.ping.headPosition;
    }
    // The time stamps advance with the station's ping period (67 + 45 ms at 50 m).
    const test::DecodedRecord last = test::DecodeOneRecord(
        std::span<const std::uint8_t>(file.data() + 29 * kRecordLengthIGX, kRecordLengthIGX));
    EXPECT_EQ(last.ping.time, "12:00:03");
    EXPECT_EQ(last.ping.loopTimeRounded, 111);
}

TEST_F(SyntheticRecordingTest, ExtensionChoosesTheTagAndSameSeedGivesTheSameFile)
{
    SynthOptions options;
    options.pings = 12;
    options.command.mode = SimMode::SideScan;
    options.command.dataPoints = 25;
    options.seed = 77;
    std::string error;
    const auto a = dir_ / "a.52A", b = dir_ / "b.52a", c = dir_ / "c.52a";
    ASSERT_TRUE(WriteSyntheticRecording(a.string(), options, &error)) << error;
    ASSERT_TRUE(WriteSyntheticRecording(b.string(), options, &error)) << error;
    options.seed = 78;
    ASSERT_TRUE(WriteSyntheticRecording(c.string(), options, &error)) << error;
    const auto fa = ReadFile(a), fb = ReadFile(b), fc = ReadFile(c);
    ASSERT_EQ(fa.size(), 12u * kRecordLengthIMX);
    EXPECT_EQ(fa, fb);
    EXPECT_NE(fa, fc);
    EXPECT_EQ(std::string(fa.begin(), fa.begin() + 3), "52A");
    const test::DecodedRecord d
        = test::DecodeOneRecord(std::span<const std::uint8_t>(fa).first(kRecordLengthIMX));
    ASSERT_TRUE(d.replyValid);
    EXPECT_EQ(d.ping.replyKind, "IMX");
    EXPECT_EQ(d.settings.sectorMode, DisplayMode::SideScan);
    EXPECT_EQ(d.ping.headPosition, 300); // held at the side-scan train angle

    EXPECT_FALSE(WriteSyntheticRecording((dir_ / "dive.bin").string(), options, &error));
    EXPECT_NE(error.find(".52a"), std::string::npos);
    EXPECT_FALSE(WriteSyntheticRecording((dir_ / "missing" / "x.52l").string(), options, &error));
}

TEST(SimRecordSource, AddMillisecondsRollsOverTheCalendar)
{
    const LocalTime t = AddMilliseconds({2024, 2, 28, 23, 59, 59, 990}, 24LL * 3600 * 1000 + 20);
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.month, 3);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 0);
    EXPECT_EQ(t.second, 0);
    EXPECT_EQ(t.millisecond, 10);
    const LocalTime y = AddMilliseconds({2026, 12, 31, 23, 59, 59, 999}, 1);
    EXPECT_EQ(y.year, 2027);
    EXPECT_EQ(y.month, 1);
    EXPECT_EQ(y.day, 1);
}

} // namespace
} // namespace velmaris::sim
