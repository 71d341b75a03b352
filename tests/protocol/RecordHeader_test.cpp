#include "image/ScanLineHistory.h"
#include "protocol/RecordHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace velmaris {
namespace {

struct Station {
    PingRecord ping;
    CommandMessage command;
    SonarSettings settings;
    ScanLine l0 {};
};

// A live station state after one ping of the given kind.
Station LiveStation(const std::string& kind)
{
    Station s;
    s.ping.replyKind = kind;
    s.ping.replyLength = kind == "IMX" ? 265 : kind == "IPX" ? 13 : 513;
    for (std::size_t i = 0; i < s.ping.replyHeader.size(); ++i)
        s.ping.replyHeader[i] = static_cast<std::uint8_t>(0xA0 + i);
    s.ping.date = "07-DEC-2026";
    s.ping.time = "14:30:05";
    s.ping.hundredths = ".42";
    s.ping.directionFlag = 1;
    s.ping.loopTimeRounded = 85;
    for (std::size_t i = 0; i < s.l0.size(); ++i)
        s.l0[i] = static_cast<std::uint8_t>(i % 251 + 1); // never 0
    s.command[CommandMessage::kRange] = 30;
    s.command[CommandMessage::kGain] = 17;
    s.command[CommandMessage::kAbsorption] = 254;
    s.command[CommandMessage::kTrain] = 70;
    s.command[CommandMessage::kSectorWidth] = 40;
    s.command[CommandMessage::kStep] = kStepFaster;
    s.command[CommandMessage::kPulseLength] = 53;
    s.command[CommandMessage::kParam20] = 16;
    s.command[CommandMessage::kFrequency] = 27;
    s.command[CommandMessage::kReserved22] = 9;
    s.settings.sonarUpDown = 1;
    s.settings.sectorMode = DisplayMode::Sector;
    s.settings.trainAngleDegrees = TrainAngleDegreesFor(70, 1); // 330
    s.settings.speedOfSound = 1487.5;
    s.settings.rotateImage = 12.5;
    return s;
}

std::vector<std::uint8_t> Encode(const Station& s, std::string_view tag = "52A")
{
    return EncodeRecord(s.ping, s.command, s.settings, s.l0, tag);
}

RecordHeaderEffects Decode(const std::vector<std::uint8_t>& record, Station& into)
{
    return DecodeRecordHeader(
        std::span<const std::uint8_t, kRecordHeaderSize>(record.data(), kRecordHeaderSize), into.ping,
        into.command, into.settings);
}

int U16(const std::vector<std::uint8_t>& r, std::size_t offset)
{
    return r[offset] << 8 | r[offset + 1];
}

TEST(EncodeRecord, LayoutForEachKind)
{
    struct Case {
        const char* kind;
        std::size_t length;
        std::uint8_t sizeIndex;
        std::size_t echoBytes;
    };
    for (const Case& c : {Case {"IMX", 384, 3, 252}, Case {"IGX", 640, 3, 500}, Case {"IPX", 128, 1, 0},
             Case {"imx", 640, 0, 500}, Case {"", 640, 0, 500}}) {
        SCOPED_TRACE(c.kind);
        const Station s = LiveStation(c.kind);
        const auto r = Encode(s);
        ASSERT_EQ(r.size(), c.length);
        EXPECT_EQ(std::string(r.begin(), r.begin() + 3), "52A");
        EXPECT_EQ(r[3], c.sizeIndex);
        EXPECT_EQ(U16(r, 4), static_cast<int>(c.length));
        EXPECT_EQ(U16(r, 6), s.ping.replyLength);
        EXPECT_TRUE(std::equal(s.ping.replyHeader.begin(), s.ping.replyHeader.end(), r.begin() + 100));
        EXPECT_TRUE(std::equal(r.begin() + 112, r.begin() + 112 + c.echoBytes, s.l0.begin()));
        const std::size_t padding = 112 + c.echoBytes;
        EXPECT_EQ(r[padding], 0xFC);
        EXPECT_TRUE(std::all_of(r.begin() + padding + 1, r.end(), [](auto b) { return b == 0; }));
    }
}

TEST(EncodeRecord, ImxRecordIs384BytesWithPaddingAt364)
{
    const Station s = LiveStation("IMX");
    ASSERT_EQ(s.l0[252], 2);
    const auto r = Encode(s);
    ASSERT_EQ(r.size(), 384u);
    EXPECT_EQ(r[363], 1); // the 252nd echo byte, L0[251]
    EXPECT_EQ(r[364], 0xFC);
    EXPECT_EQ(std::count(r.begin() + 365, r.end(), 0), 19);
}

TEST(EncodeRecord, FixedFieldsAndZeroAreas)
{
    const auto r = Encode(LiveStation("IGX"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[8])), "07-DEC-2026");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[20])), "14:30:05");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[29])), ".42");
    EXPECT_EQ(r[37], 0x80 | 0x40 | (0 << 3) | 3);
    EXPECT_EQ(r[38], 17);
    EXPECT_EQ(r[39], 40);
    EXPECT_EQ(r[40], 110); // 330 degrees / 3
    EXPECT_EQ(r[41], 30);
    EXPECT_EQ(r[42], 254);
    EXPECT_EQ(r[43], 2 << 3);
    EXPECT_EQ(r[44], 53);
    EXPECT_EQ(U16(r, 46), 0x8000 | 14875);
    EXPECT_EQ(U16(r, 80), 310);
    EXPECT_EQ(U16(r, 93), 85);
    EXPECT_EQ(U16(r, 95), 0x8000 | 1925);
    for (std::size_t zero : {19u, 28u, 32u, 36u, 45u, 48u, 79u, 82u, 92u, 97u, 99u})
        EXPECT_EQ(r[zero], 0) << zero;
}

TEST(EncodeRecord, TextsAreCutOrZeroPadded)
{
    Station s = LiveStation("IPX");
    s.ping.date = "2026-12-07T14:30";
    s.ping.time = "1:2";
    s.ping.hundredths = "";
    const auto r = Encode(s, "52");
    EXPECT_EQ(std::string(r.begin(), r.begin() + 3), std::string("52\0", 3));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[8])), "2026-12-07T");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[20])), "1:2");
    EXPECT_EQ(r[29], 0);

    Station back;
    Decode(r, back);
    EXPECT_EQ(back.ping.time, "1:2");
    EXPECT_EQ(back.ping.hundredths, ".00");
}

TEST(EncodeRecord, OutOfRangeRealsAreBoundedNotUndefined)
{
    Station s = LiveStation("IGX");
    s.settings.speedOfSound = 1e12;
    s.settings.rotateImage = -1e12;
    s.settings.trainAngleDegrees = -7;
    s.ping.loopTimeRounded = 100000;
    s.ping.replyLength = -3;
    auto r = Encode(s);
    EXPECT_EQ(U16(r, 46), 0xFFFF);
    EXPECT_EQ(U16(r, 95), 0x8000);
    EXPECT_EQ(r[40], 0);
    EXPECT_EQ(U16(r, 93), 0xFFFF);
    EXPECT_EQ(U16(r, 6), 0);
    s.settings.speedOfSound = std::numeric_limits<double>::quiet_NaN();
    r = Encode(s);
    EXPECT_EQ(U16(r, 46), 0x8000);
}

TEST(RecordTag, SerialWhenLiveSerialOrPlayingASerialFile)
{
    EXPECT_EQ(RecordTag(SonarType::SerialK52A, false, SonarType::EthernetK52L), "52A");
    EXPECT_EQ(RecordTag(SonarType::EthernetK52L, false, SonarType::SerialK52A), "52L");
    EXPECT_EQ(RecordTag(SonarType::EthernetK52L, true, SonarType::SerialK52A), "52A");
    EXPECT_EQ(RecordTag(SonarType::SerialK52A, true, SonarType::EthernetK52L), "52L");
}

// Only 1 is "Up" wherever the station reads `Sonar Up/Down`; a file shows the
// head the way the live view showed it.
TEST(EncodeRecord, UpDownBitIsSetForUpOnly)
{
    for (const auto& [upDown, bit] : {std::pair {0, 0}, {1, 1}, {2, 0}, {-1, 0}}) {
        Station s = LiveStation("IGX");
        s.settings.sonarUpDown = upDown;
        EXPECT_EQ((Encode(s)[37] >> 6) & 1, bit) << upDown; // the flags byte
    }
}

TEST(DecodeRecordHeader, RoundTripRestoresTheSettings)
{
    for (const char* kind : {"IMX", "IGX", "IPX"}) {
        SCOPED_TRACE(kind);
        const Station live = LiveStation(kind);
        Station back;
        back.ping.directionFlag = 0;
        Decode(Encode(live), back);
        EXPECT_EQ(back.ping.recordLength, kind[1] == 'M' ? 384 : kind[1] == 'G' ? 640 : 128);
        EXPECT_EQ(back.ping.replyLength, live.ping.replyLength);
        EXPECT_EQ(back.ping.echoCount, kind[1] == 'P' ? 128 : 500);
        EXPECT_EQ(back.ping.date, live.ping.date);
        EXPECT_EQ(back.ping.time, live.ping.time);
        EXPECT_EQ(back.ping.hundredths, live.ping.hundredths);
        EXPECT_EQ(back.ping.directionFlag, 1);
        EXPECT_EQ(back.ping.previousDirectionFlag, 0);
        EXPECT_EQ(back.ping.loopTimeRounded, 85);
        EXPECT_DOUBLE_EQ(back.ping.loopTime, 85.0);
        EXPECT_EQ(back.settings.sonarUpDown, 1);
        EXPECT_EQ(back.settings.sectorMode, DisplayMode::Sector);
        for (std::size_t b : {CommandMessage::kGain, CommandMessage::kAbsorption,
                 CommandMessage::kSectorWidth, CommandMessage::kStep, CommandMessage::kPulseLength,
                 CommandMessage::kParam20, CommandMessage::kFrequency})
            EXPECT_EQ(back.command[b], live.command[b]) << b;
        EXPECT_EQ(
            back.command[CommandMessage::kRange], CommandMessage {}[CommandMessage::kRange]); // not applied
        EXPECT_EQ(back.command[CommandMessage::kReserved22], 0);
        EXPECT_EQ(back.settings.trainAngleDegrees, 330);
        EXPECT_EQ(back.command[CommandMessage::kTrain], 110); // the byte as written
        EXPECT_EQ(back.settings.trainSector, 110);
        EXPECT_EQ(back.settings.sectorWidthSector, 40);
        EXPECT_EQ(back.settings.gain, 17);
        EXPECT_EQ(back.settings.absorption, 254);
        EXPECT_EQ(back.settings.pulseLength, 53);
        EXPECT_EQ(back.settings.frequency, 27);
        EXPECT_DOUBLE_EQ(back.settings.speedOfSound, 1487.5);
        EXPECT_DOUBLE_EQ(back.settings.rotateImage, 12.5);
        // Encoding the decoded state again gives the same header.
        const auto first = Encode(live);
        Station again = back;
        again.ping.replyKind = kind;
        again.ping.replyHeader = live.ping.replyHeader;
        again.command[CommandMessage::kRange] = live.command[CommandMessage::kRange]; // not carried back
        const auto second = Encode(again);
        for (std::size_t i = 0; i < kRecordHeaderSize; ++i)
            EXPECT_EQ(second[i], first[i]) << "byte " << i;
    }
}

TEST(DecodeRecordHeader, StepCodesFollowTheTable)
{
    const std::array<std::pair<int, int>, 10> written {
        {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {8, 4}, {6, 5}, {0, 0}, {5, 0}, {7, 0}, {200, 0}}};
    for (auto [step, code] : written)
        EXPECT_EQ(StepCodeForCommandStep(static_cast<std::uint8_t>(step)), code) << step;
    const std::array<int, 8> decoded {1, 2, 3, 4, 8, 6, 7, 8};
    for (int code = 0; code < 8; ++code)
        EXPECT_EQ(CommandStepForStepCode(code), decoded[static_cast<std::size_t>(code)]) << code;

    for (std::uint8_t step : {1, 2, 3, 4, 8, 6, 0}) {
        Station live = LiveStation("IGX");
        live.command[CommandMessage::kStep] = step;
        Station back;
        Decode(Encode(live), back);
        EXPECT_EQ(back.command[CommandMessage::kStep], step == 0 ? 1 : step) << int(step);
    }
}

TEST(DecodeRecordHeader, SoundVelocityRules)
{
    auto decode = [](int raw) {
        std::vector<std::uint8_t> r(100, 0);
        r[46] = static_cast<std::uint8_t>(raw >> 8);
        r[47] = static_cast<std::uint8_t>(raw);
        Station s;
        s.settings.speedOfSound = 1450.0;
        Decode(r, s);
        return s.settings.speedOfSound;
    };
    EXPECT_DOUBLE_EQ(decode(15123), 1500.0); // bit 15 clear
    EXPECT_DOUBLE_EQ(decode(0x8000 | 15123), 1512.3);
    EXPECT_DOUBLE_EQ(decode(0x8000 | 7500), 750.0);
    EXPECT_DOUBLE_EQ(decode(0x8000 | 22500), 2250.0);
    EXPECT_DOUBLE_EQ(decode(0x8000 | 7499), 1450.0);
    EXPECT_DOUBLE_EQ(decode(0x8000 | 22501), 1450.0);
    EXPECT_DOUBLE_EQ(decode(0xFFFF), 1450.0);
}

TEST(DecodeRecordHeader, FrequencyTruncatesTowardZeroAndWrapsToAByte)
{
    auto code = [](int kHz) {
        std::vector<std::uint8_t> r(100, 0);
        r[80] = static_cast<std::uint8_t>(kHz >> 8);
        r[81] = static_cast<std::uint8_t>(kHz);
        Station s;
        Decode(r, s);
        EXPECT_EQ(s.settings.frequency, s.command[CommandMessage::kFrequency]);
        return static_cast<int>(s.command[CommandMessage::kFrequency]);
    };
    EXPECT_EQ(code(1000), 165);
    EXPECT_EQ(code(675), 100);
    EXPECT_EQ(code(679), 100);
    EXPECT_EQ(code(672), 100); // -3 / 5 truncates to 0
    EXPECT_EQ(code(670), 99);
    EXPECT_EQ(code(0), 221); // -35 kept modulo 256
    EXPECT_EQ(code(65535), (12972 + 100) % 256);
}

// Every frequency code and every train code comes back from the header as it
// went in: kHz and degrees are the header's units, codes the command's.
TEST(DecodeRecordHeader, EveryFrequencyAndTrainCodeRoundTrips)
{
    Station live = LiveStation("IGX");
    live.settings.sonarUpDown = 0;
    for (int code = 0; code <= 255; ++code) {
        live.command[CommandMessage::kFrequency] = static_cast<std::uint8_t>(code);
        Station back;
        Decode(Encode(live), back);
        EXPECT_EQ(back.command[CommandMessage::kFrequency], code);
        EXPECT_EQ(back.settings.frequency, code);
    }
    for (int degrees = 0; degrees <= 360; degrees += 3) {
        live.settings.trainAngleDegrees = degrees;
        Station back;
        Decode(Encode(live), back);
        EXPECT_EQ(back.settings.trainAngleDegrees, degrees);
    }
}

// The mode stands in bits 3..5 of the flags byte as the number data files
// have always held, and comes back as it went in.
TEST(DecodeRecordHeader, EveryModeRoundTripsAsItsNumber)
{
    const std::pair<DisplayMode, int> modes[] {
        {DisplayMode::Sector, 0}, {DisplayMode::Polar, 1}, {DisplayMode::SideScan, 2}};
    for (const auto& [mode, number] : modes) {
        Station live = LiveStation("IGX");
        live.settings.sectorMode = mode;
        const auto r = Encode(live);
        EXPECT_EQ((r[37] >> 3) & 7, number);
        Station back;
        Decode(r, back);
        EXPECT_EQ(back.settings.sectorMode, mode) << number;
    }
}

TEST(DecodeRecordHeader, DateRuleWithOlderLayout)
{
    std::vector<std::uint8_t> r(100, 0);
    const std::string date = "07-DEC-2026";
    std::copy(date.begin(), date.end(), r.begin() + 8);
    Station s;
    Decode(r, s);
    EXPECT_EQ(s.ping.date, "07-DEC-2026");

    r[19] = 0x01; // older layout: year from bytes 15..16 and 17..19
    Decode(r, s);
    EXPECT_EQ(s.ping.date, "07-DEC-2026");

    const std::string older = "07-DEC-19 9";
    std::copy(older.begin(), older.end(), r.begin() + 8);
    r[19] = '9';
    Decode(r, s);
    EXPECT_EQ(s.ping.date, "07-DEC-1999");

    std::fill(r.begin() + 15, r.begin() + 20, 'x');
    Decode(r, s);
    EXPECT_EQ(s.ping.date, "07-DEC-0000");
}

TEST(DecodeRecordHeader, TextLimitsAndHundredthsDefault)
{
    std::vector<std::uint8_t> r(100, 'Z');
    r[19] = 0;
    r[29] = 0;
    Station s;
    Decode(r, s);
    EXPECT_EQ(s.ping.date, std::string(11, 'Z'));
    EXPECT_EQ(s.ping.time, std::string(9, 'Z')); // ends at byte 29
    EXPECT_EQ(s.ping.hundredths, ".00");
    r[29] = 'Z';
    Decode(r, s);
    EXPECT_EQ(s.ping.time, std::string(19, 'Z'));
    EXPECT_EQ(s.ping.hundredths, std::string(9, 'Z'));
}

TEST(DecodeRecordHeader, RotationRoundTripAndDefault)
{
    for (double rotation : {0.0, 12.5, -90.0, 180.0, -180.0}) {
        Station live = LiveStation("IGX");
        live.settings.rotateImage = rotation;
        Station back;
        Decode(Encode(live), back);
        EXPECT_DOUBLE_EQ(back.settings.rotateImage, rotation);
    }
    std::vector<std::uint8_t> r(100, 0);
    r[95] = 0x7F;
    r[96] = 0xFF;
    Station s;
    s.settings.rotateImage = 33.0;
    Decode(r, s);
    EXPECT_DOUBLE_EQ(s.settings.rotateImage, 0.0);
}

TEST(DecodeRecordHeader, ModeChangeClearsTheRasterAndInvalidModeIsSector)
{
    Station live = LiveStation("IGX");
    live.settings.sectorMode = DisplayMode::SideScan;
    live.command[CommandMessage::kStep] = kStepNone;
    auto r = Encode(live);
    Station s;
    s.settings.sectorMode = DisplayMode::Polar;
    RecordHeaderEffects e = Decode(r, s);
    EXPECT_TRUE(e.clearRaster);
    EXPECT_TRUE(e.fullRedraw);
    EXPECT_EQ(s.settings.sectorMode, DisplayMode::SideScan);
    EXPECT_EQ(s.settings.trainSS, 110);
    EXPECT_EQ(s.command[CommandMessage::kStep], kStepSlow); // None comes back as Slow

    e = Decode(r, s);
    EXPECT_FALSE(e.clearRaster);
    EXPECT_FALSE(e.fullRedraw);

    r[37] = static_cast<std::uint8_t>((r[37] & ~0x38) | (6 << 3));
    e = Decode(r, s);
    EXPECT_EQ(s.settings.sectorMode, DisplayMode::Sector);
    EXPECT_TRUE(e.clearRaster);
}

TEST(DecodeRecordHeader, WidthOrTrainChangeMarksARedraw)
{
    Station live = LiveStation("IGX");
    live.settings.sectorMode = DisplayMode::Polar;
    auto r = Encode(live);
    Station s;
    s.settings.sectorMode = DisplayMode::Polar;
    EXPECT_TRUE(Decode(r, s).fullRedraw); // differs from the defaults
    EXPECT_FALSE(Decode(r, s).fullRedraw);
    EXPECT_EQ(s.settings.sectorWidthPolar, 40);
    EXPECT_EQ(s.settings.trainPolar, 110);

    r[39] = 41;
    RecordHeaderEffects e = Decode(r, s);
    EXPECT_TRUE(e.fullRedraw);
    EXPECT_FALSE(e.clearRaster);
    EXPECT_FALSE(Decode(r, s).fullRedraw);
    r[40] = 3;
    EXPECT_TRUE(Decode(r, s).fullRedraw);
    EXPECT_EQ(s.settings.trainAngleDegrees, 9);
}

TEST(DecodeRecordHeader, ByteTwentyCodesAndDataSizeIndex)
{
    std::vector<std::uint8_t> r(100, 0);
    Station s;
    s.ping.echoCount = 7;
    for (auto [code, value] : std::array<std::pair<int, int>, 3> {{{0, 4}, {1, 8}, {2, 16}}}) {
        r[43] = static_cast<std::uint8_t>(code << 3 | 0x07);
        Decode(r, s);
        EXPECT_EQ(s.command[CommandMessage::kParam20], value);
    }
    r[43] = 3 << 3;
    Decode(r, s);
    EXPECT_EQ(s.command[CommandMessage::kParam20], 16); // unchanged

    r[3] = 9;
    Decode(r, s);
    EXPECT_EQ(s.ping.echoCount, 4000);
    r[3] = 10;
    Decode(r, s);
    EXPECT_EQ(s.ping.echoCount, 4000); // unchanged
}

} // namespace
} // namespace velmaris
