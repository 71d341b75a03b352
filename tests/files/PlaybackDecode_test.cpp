#include "files/DataFile.h"
#include "files/PlaybackDecode.h"
#include "files/RecordReader.h"
#include "image/PaintInputs.h"

#include "support/RecordFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace velmaris {
namespace {

using testing::Append;
using testing::MakeRecord;
using testing::PingSpec;
using testing::TempFolder;
using testing::WriteBytes;

using Bytes = std::vector<std::uint8_t>;

constexpr ReplyContext kPlayback {true, false};
constexpr ReplyContext kUdp {false, true};
constexpr std::uint8_t kProfileColor = 107;
constexpr double kOwnProfile = 2 * 128 + 0x10; // reply bytes 8 and 9 of every fixture record

RecordDecodeResult Take(SonarState& state, const Bytes& record, const ReplyContext& context)
{
    const RecordedPing ping {
        std::span<const std::uint8_t, kRecordHeaderSize>(record.data(), kRecordHeaderSize),
        std::span<const std::uint8_t, 12>(record.data() + kRecordHeaderSize, 12),
        std::span(record).subspan(kRecordPrefixSize)};
    return TakeRecordedPing(state, ping, context);
}

void SetDataCount(Bytes& record, int count)
{
    record[kRecordHeaderSize + 10] = static_cast<std::uint8_t>(count & 0x7F);
    record[kRecordHeaderSize + 11] = static_cast<std::uint8_t>(count >> 7);
}

bool SameRaster(const ImageRaster& a, const ImageRaster& b)
{
    for (int y = 0; y < ImageRaster::kHeight; ++y)
        if (!std::equal(a.Row(y), a.Row(y) + ImageRaster::kWidth, b.Row(y)))
            return false;
    return true;
}

std::unique_ptr<SonarState> ProfileState(DisplayMode mode)
{
    auto state = std::make_unique<SonarState>();
    state->flags.playback = true;
    state->command[CommandMessage::kRange] = 30;
    state->settings.sectorMode = mode;
    state->settings.profileDispMode = 3; // "Medium Mix": echoes at half strength, points at 107
    state->settings.profileMixWeight = 0.5;
    state->settings.profilePointSize = 1;
    return state;
}

TEST(PlaybackDecode, ModeChangeClearsRangeChangeResetsAndEchoLandsInL0)
{
    auto state = std::make_unique<SonarState>();
    state->flags.playback = true;
    state->command[CommandMessage::kRange] = 30;
    TempFolder dir("datafile-playback");
    std::vector<std::uint8_t> bytes;
    Append(bytes, MakeRecord(PingSpec {.mode = DisplayMode::Polar, .echo = 90}));
    Append(bytes, MakeRecord(PingSpec {.range = 50, .mode = DisplayMode::Polar, .echo = 91}));
    Append(bytes,
        MakeRecord(PingSpec {
            .range = 50, .mode = DisplayMode::SideScan, .step = kStepNone, .width = 0, .echo = 92}));
    WriteBytes(dir / "p.52l", bytes);
    DataFile file;
    ASSERT_EQ(file.Open((dir / "p.52l").string()), DataFile::OpenResult::Ok);

    RecordFrame frame;
    ASSERT_EQ(ReadRecordFrame(file, 0, frame), RecordStatus::Ok);
    auto result = DecodePlaybackRecord(*state, frame);
    EXPECT_TRUE(result.valid);
    EXPECT_FALSE(result.rangeChanged);
    EXPECT_EQ(state->history.l0[0], 90);
    PaintCurrentPing(*state);
    EXPECT_EQ(state->ping.pingCount, 1);

    state->raster.Set(5, 5, 33);
    ASSERT_EQ(ReadRecordFrame(file, 640, frame), RecordStatus::Ok);
    result = DecodePlaybackRecord(*state, frame);
    EXPECT_TRUE(result.rangeChanged);
    EXPECT_TRUE(result.effects.fullRedraw);
    EXPECT_EQ(state->raster.At(5, 5), 0); // cleared before painting
    EXPECT_TRUE(state->history.resetPending);
    EXPECT_EQ(state->history.l0[0], 91); // echo placed after the reset
    EXPECT_EQ(state->settings.rangeIndex, 9);

    state->raster.Set(5, 5, 33);
    ASSERT_EQ(ReadRecordFrame(file, 1280, frame), RecordStatus::Ok);
    result = DecodePlaybackRecord(*state, frame);
    EXPECT_TRUE(result.effects.clearRaster);
    EXPECT_EQ(state->raster.At(5, 5), 0);
    EXPECT_EQ(state->settings.sectorMode, DisplayMode::SideScan);
}

// A range change met in a record (or datagram) paints what live operation
// paints, where the reset comes before the reply at the new range: the
// ping keeps its own profile point, after two zero pairs.
class RangeChangeProfile : public ::testing::TestWithParam<DisplayMode> { };

TEST_P(RangeChangeProfile, FirstPingAtTheNewRangeKeepsItsOwnPoint)
{
    const DisplayMode mode = GetParam();
    const Bytes before = MakeRecord(PingSpec {.range = 30, .mode = mode});
    const Bytes after = MakeRecord(PingSpec {.range = 50, .mode = mode});

    auto played = ProfileState(mode);
    ASSERT_TRUE(Take(*played, before, kPlayback).valid);
    PaintCurrentPing(*played);
    const RecordDecodeResult changed = Take(*played, after, kPlayback);
    ASSERT_TRUE(changed.valid);
    ASSERT_TRUE(changed.rangeChanged);
    const auto& history = played->ping.profileHistory;
    EXPECT_EQ(history[0].value, 0.0);
    EXPECT_EQ(history[1].value, 0.0);
    EXPECT_EQ(history[2].value, kOwnProfile);
    EXPECT_EQ(history[2].angle, played->ping.headAngle);
    PaintCurrentPing(*played);

    // Live order: the range is set and the picture reset, then the reply comes.
    auto live = ProfileState(mode);
    ASSERT_TRUE(Take(*live, before, kPlayback).valid);
    PaintCurrentPing(*live);
    live->command[CommandMessage::kRange] = 50;
    ResetImage(*live);
    ASSERT_FALSE(Take(*live, after, kPlayback).rangeChanged);
    PaintCurrentPing(*live);
    EXPECT_TRUE(SameRaster(played->raster, live->raster));

    const PaintInputs in = MakePaintInputs(played->ping, played->settings, played->command);
    const PaintGeometry geo = ComputePaintGeometry(in);
    ASSERT_TRUE(geo.valid);
    ASSERT_GT(geo.startDelay, 0.0);
    const double own = kOwnProfile / 50 / 100 * 500; // V = 1500, z = 1, R = R_set = 50
    if (mode == DisplayMode::SideScan) {
        const int x0 = 250;
        EXPECT_EQ(played->raster.At(x0 + int(geo.startDelay + own), 0), kProfileColor);
        // No mark at P = 0: the column left of the echoes keeps the cleared
        // history's 0 through the following pings' scrolls.
        for (int ping = 0; ping < 3; ++ping) {
            ASSERT_TRUE(Take(*played, after, kPlayback).valid);
            PaintCurrentPing(*played);
        }
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(played->raster.At(x0 + int(geo.startDelay) - 1, row), 0) << "row " << row;
    } else {
        const int idx = TrigTable::IndexForAngle(history[2].angle);
        const double rp = own + geo.startDelay;
        const int x = int(geo.radiusPx + rp * played->tables.trig.Cos(idx));
        const int y = int(geo.radiusPx + rp * played->tables.trig.Sin(idx));
        EXPECT_EQ(played->raster.At(x, y), kProfileColor);
    }
}

INSTANTIATE_TEST_SUITE_P(PlaybackDecode, RangeChangeProfile,
    ::testing::Values(DisplayMode::Sector, DisplayMode::Polar, DisplayMode::SideScan));

// The painter's D is command byte 19 as the decoder sets it for the record,
// not the echo count of the reply kind.
struct DataPointsCase {
    const char* name;
    std::string kind;
    int dataCount;
    ReplyContext context;
    int dataPoints;
};

void PrintTo(const DataPointsCase& c, std::ostream* os)
{
    *os << c.name;
}

class RecordDataPoints : public ::testing::TestWithParam<DataPointsCase> { };

TEST_P(RecordDataPoints, DComesFromCommandByte19)
{
    const DataPointsCase& c = GetParam();
    Bytes record = MakeRecord(PingSpec {.kind = c.kind});
    SetDataCount(record, c.dataCount);
    const std::size_t echoes = record.size() - kRecordPrefixSize;
    for (std::size_t n = 0; n < echoes; ++n)
        record[kRecordPrefixSize + n] = static_cast<std::uint8_t>(n);

    auto state = std::make_unique<SonarState>();
    ASSERT_TRUE(Take(*state, record, c.context).valid);
    EXPECT_EQ(state->command[CommandMessage::kDataPoints], c.dataPoints);
    PaintInputs in = MakePaintInputs(state->ping, state->settings, state->command);
    EXPECT_EQ(in.dataPoints, c.dataPoints);
    const double g = ComputePaintGeometry(in).startDelay;
    EXPECT_GT(g, 0.0);
    in.dataPoints = 50;
    EXPECT_DOUBLE_EQ(g, ComputePaintGeometry(in).startDelay * c.dataPoints / 50); // N = 10 D

    PaintCurrentPing(*state);
    const ScanLine& line = state->history.l3;
    for (std::size_t n = 0; n < std::min<std::size_t>(echoes, 250); ++n) {
        if (c.dataPoints == 25) {
            ASSERT_EQ(line[2 * n], n) << n; // widened from the first 250 bytes
            ASSERT_EQ(line[2 * n + 1], n) << n;
        } else {
            ASSERT_EQ(line[n], n) << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PlaybackDecode, RecordDataPoints,
    ::testing::Values(DataPointsCase {"IgxCount250", "IGX", 250, kPlayback, 25},
        DataPointsCase {"IgxCount253", "IGX", 253, kPlayback, 50},
        DataPointsCase {"ImxCount252", "IMX", 252, kPlayback, 25},
        DataPointsCase {"IpxCount0", "IPX", 0, kPlayback, 25},
        DataPointsCase {"UdpImxCount500", "IMX", 500, kUdp, 25},
        DataPointsCase {"UdpIgxCount250", "IGX", 250, kUdp, 50}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace velmaris
