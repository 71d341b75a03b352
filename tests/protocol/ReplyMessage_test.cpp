#include "protocol/ReplyMessage.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace velmaris {
namespace {

// A reply header for a kind, head position, direction, range, profile,
// status and data count.
std::array<std::uint8_t, 12> Header(const char* kind, int position = 600, int range = 30, int status = 0,
    int profile = 0, int dataCount = 0, int direction = 0)
{
    return {static_cast<std::uint8_t>(kind[0]), static_cast<std::uint8_t>(kind[1]),
        static_cast<std::uint8_t>(kind[2]), 0x10, static_cast<std::uint8_t>(status),
        static_cast<std::uint8_t>(position & 0x7F),
        static_cast<std::uint8_t>(((position >> 7) & 0x3F) | (direction << 6)),
        static_cast<std::uint8_t>(range), static_cast<std::uint8_t>(profile & 0x7F),
        static_cast<std::uint8_t>((profile >> 7) & 0x7F), static_cast<std::uint8_t>(dataCount & 0x7F),
        static_cast<std::uint8_t>(dataCount >> 7)};
}

struct Decoder {
    PingRecord ping;
    CommandMessage command;
    SonarSettings settings;
    ReplyContext context;

    bool Decode(const std::array<std::uint8_t, 12>& header)
    {
        ping.replyHeader = header;
        return DecodeReplyHeader(ping, command, settings, context);
    }
    double AngleAt(int position)
    {
        EXPECT_TRUE(Decode(Header("IGX", position)));
        return ping.headAngle;
    }
};

TEST(ReplyLength, ChosenFromTheKindWithExactUpperCaseCompare)
{
    auto length = [](const char* text) {
        return ReplyLengthForKind(std::span(reinterpret_cast<const std::uint8_t*>(text), 3));
    };
    EXPECT_EQ(length("IMX"), 265);
    EXPECT_EQ(length("IGX"), 513);
    EXPECT_EQ(length("IPX"), 13);
    EXPECT_EQ(length("imx"), 513);
    EXPECT_EQ(length("IQX"), 513);
    EXPECT_EQ(ReplyLengthForKind({}), 513);
}

TEST(StoreReply, HeaderAndEchoesLandInPlaceBoundedByWhatArrived)
{
    PingRecord ping;
    ScanLine l0;
    l0.fill(0xEE);
    std::vector<std::uint8_t> reply(265);
    for (std::size_t i = 0; i < reply.size(); ++i)
        reply[i] = static_cast<std::uint8_t>(i);
    reply[0] = 'I', reply[1] = 'M', reply[2] = 'X';

    EXPECT_EQ(StoreReply(reply, ping, l0), 265);
    EXPECT_EQ(ping.replyLength, 265);
    EXPECT_EQ(ping.replyHeader[11], 11);
    EXPECT_EQ(l0[0], 12);
    EXPECT_EQ(l0[252], static_cast<std::uint8_t>(264));
    EXPECT_EQ(l0[253], 0xEE); // past the reply: previous content kept

    // An 'IMX' delivered in a 513-byte buffer copies only up to its own length.
    reply.resize(513, 0x55);
    l0.fill(0xEE);
    StoreReply(reply, ping, l0);
    EXPECT_EQ(l0[253], 0xEE);

    // A short delivery: missing header bytes are zeroed, L0 is untouched.
    std::vector<std::uint8_t> shortReply {'I', 'G', 'X', 7};
    EXPECT_EQ(StoreReply(shortReply, ping, l0), 513);
    EXPECT_EQ(ping.replyHeader[3], 7);
    EXPECT_EQ(ping.replyHeader[4], 0);
    EXPECT_EQ(l0[0], 12);
}

TEST(StoreReply, UnknownKindCopiesUpTo513AndIpxCarriesOneByte)
{
    PingRecord ping;
    ScanLine l0 {};
    std::vector<std::uint8_t> reply(600, 0x77);
    EXPECT_EQ(StoreReply(reply, ping, l0), 513);
    EXPECT_EQ(l0[500], 0x77);
    EXPECT_EQ(l0[501], 0); // byte 513 of the reply is not part of it

    l0.fill(0);
    std::vector<std::uint8_t> ipx {'I', 'P', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x99, 0x99};
    EXPECT_EQ(StoreReply(ipx, ping, l0), 13);
    EXPECT_EQ(l0[0], 0x99);
    EXPECT_EQ(l0[1], 0);
}

TEST(CopyIntoEchoBuffer, StopsAtTheEndOfTheLine)
{
    ScanLine l0 {};
    std::vector<std::uint8_t> big(1000, 3);
    EXPECT_EQ(CopyIntoEchoBuffer(big, l0), 640u);
    EXPECT_EQ(l0[639], 3);
}

TEST(DecodeReplyHeader, HeadAngleWrapsOnceIntoAFullTurn)
{
    Decoder d;
    EXPECT_DOUBLE_EQ(d.AngleAt(600), 0.0);
    EXPECT_DOUBLE_EQ(d.AngleAt(0), 180.0);
    EXPECT_DOUBLE_EQ(d.AngleAt(1800), 0.0);
    EXPECT_DOUBLE_EQ(d.AngleAt(900), 90.0);
    EXPECT_EQ(d.ping.headPosition, 900);
    d.settings.sonarUpDown = 1;
    EXPECT_DOUBLE_EQ(d.AngleAt(700), 330.0);
    EXPECT_DOUBLE_EQ(d.AngleAt(500), 30.0);
}

TEST(DecodeReplyHeader, RotationAndZeroDownAreAddedWithoutWrapping)
{
    Decoder d;
    d.settings.rotateImage = 90.0;
    d.settings.zeroDown = 1;
    EXPECT_DOUBLE_EQ(d.AngleAt(1500), 270.0 + 90.0 + 180.0);
    d.settings.rotateImage = -45.5;
    d.settings.zeroDown = 0;
    EXPECT_DOUBLE_EQ(d.AngleAt(600), -45.5);
}

TEST(DecodeReplyHeader, PositionIgnoresTheTopBitsAndReadsDirection)
{
    Decoder d;
    auto h = Header("IGX", 8191, 30, 0, 0, 0, 1);
    h[5] |= 0x80;
    h[6] |= 0x80;
    ASSERT_TRUE(d.Decode(h));
    EXPECT_EQ(d.ping.headPosition, 8191);
    EXPECT_EQ(d.ping.directionFlag, 1);
    EXPECT_EQ(d.ping.previousDirectionFlag, 0);
    ASSERT_TRUE(d.Decode(Header("IGX")));
    EXPECT_EQ(d.ping.directionFlag, 0);
    EXPECT_EQ(d.ping.previousDirectionFlag, 1);
}

TEST(DecodeReplyHeader, PlaybackKeepsThePreviousDirectionFlag)
{
    Decoder d;
    d.context.playback = true;
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 30, 0, 0, 0, 1)));
    EXPECT_EQ(d.ping.directionFlag, 1);
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 30, 0, 0, 0, 0)));
    EXPECT_EQ(d.ping.directionFlag, 0);
    EXPECT_EQ(d.ping.previousDirectionFlag, 0); // the record header sets it during playback
}

TEST(DecodeReplyHeader, KindIsComparedLowerCased)
{
    Decoder d;
    ASSERT_TRUE(d.Decode(Header("imx")));
    EXPECT_EQ(d.ping.replyKind, "imx");
    EXPECT_EQ(d.ping.echoCount, 250);
    ASSERT_TRUE(d.Decode(Header("iPx")));
    EXPECT_EQ(d.ping.echoCount, 0);
    ASSERT_TRUE(d.Decode(Header("IgX")));
    EXPECT_EQ(d.ping.echoCount, 500);
}

TEST(DecodeReplyHeader, InvalidKindsChangeNothing)
{
    for (const char* kind : {"JGX", "IQX", "IGY", "\0\0\0", "GX "}) {
        Decoder d;
        ASSERT_TRUE(d.Decode(Header("IMX", 700, 3, 1, 100, 300, 1)));
        const PingRecord before = d.ping;
        const auto commandBefore = d.command.Bytes();
        const int rangeIndexBefore = d.settings.rangeIndex;
        d.context.playback = true;
        EXPECT_FALSE(d.Decode(Header(kind, 1000, 80, 0, 5, 5, 0))) << kind;
        EXPECT_EQ(d.ping.replyKind, before.replyKind);
        EXPECT_EQ(d.ping.echoCount, before.echoCount);
        EXPECT_EQ(d.ping.headPosition, before.headPosition);
        EXPECT_EQ(d.ping.headAngle, before.headAngle);
        EXPECT_EQ(d.ping.directionFlag, before.directionFlag);
        EXPECT_EQ(d.ping.previousDirectionFlag, before.previousDirectionFlag);
        EXPECT_EQ(d.ping.replyRange, before.replyRange);
        EXPECT_EQ(d.ping.profileHistory[2].value, before.profileHistory[2].value);
        EXPECT_EQ(d.ping.statusOffset, before.statusOffset);
        EXPECT_EQ(d.ping.dataCount, before.dataCount);
        EXPECT_EQ(d.command.Bytes(), commandBefore);
        EXPECT_EQ(d.settings.rangeIndex, rangeIndexBefore);
    }
}

TEST(DecodeReplyHeader, RangeGoesToTheCommandOnlyInPlaybackOrUdp)
{
    Decoder d;
    d.command[CommandMessage::kRange] = 30;
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 7)));
    EXPECT_EQ(d.ping.replyRange, 7);
    EXPECT_EQ(d.command[CommandMessage::kRange], 30);
    EXPECT_EQ(d.settings.rangeIndex, 7);

    d.context.udpMode = true;
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 7)));
    EXPECT_EQ(d.command[CommandMessage::kRange], 7);
    EXPECT_EQ(d.settings.rangeIndex, 4);

    d.context = {true, false};
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 250)));
    EXPECT_EQ(d.settings.rangeIndex, 14);
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 0)));
    EXPECT_EQ(d.settings.rangeIndex, 7);
}

TEST(DecodeReplyHeader, ProfileHistoryShiftsAndDividesBelowFiveMetres)
{
    Decoder d;
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 5, 0, 1000)));
    ASSERT_TRUE(d.Decode(Header("IGX", 900, 4, 0, 1000)));
    ASSERT_TRUE(d.Decode(Header("IGX", 1500, 30, 0, 16383)));
    EXPECT_EQ(d.ping.profileValue, 16383);
    EXPECT_DOUBLE_EQ(d.ping.profileHistory[0].value, 1000.0);
    EXPECT_DOUBLE_EQ(d.ping.profileHistory[0].angle, 0.0);
    EXPECT_DOUBLE_EQ(d.ping.profileHistory[1].value, 200.0);
    EXPECT_DOUBLE_EQ(d.ping.profileHistory[1].angle, 90.0);
    EXPECT_DOUBLE_EQ(d.ping.profileHistory[2].value, 16383.0);
    EXPECT_DOUBLE_EQ(d.ping.profileHistory[2].angle, 270.0);
}

TEST(DecodeReplyHeader, StatusOffsetDependsOnStatusBitAndShortRange)
{
    Decoder d;
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 30, 0x03)));
    EXPECT_EQ(d.ping.statusBit, 1);
    EXPECT_EQ(d.ping.statusByte, 0x03);
    EXPECT_EQ(d.ping.statusOffset, -41);
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 4, 0x01)));
    EXPECT_EQ(d.ping.statusOffset, -18);
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 5, 0xFE)));
    EXPECT_EQ(d.ping.statusBit, 0);
    EXPECT_EQ(d.ping.statusOffset, 202);
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 1, 0x00)));
    EXPECT_EQ(d.ping.statusOffset, 112);
}

TEST(DecodeReplyHeader, DataCountUsesAllOfByte11)
{
    Decoder d;
    auto h = Header("IGX");
    h[10] = 0xFF;
    h[11] = 0xFF;
    ASSERT_TRUE(d.Decode(h));
    EXPECT_EQ(d.ping.dataCount, 255 * 128 + 127);
    EXPECT_EQ(d.ping.headId, 0x10);
}

TEST(DecodeReplyHeader, DataPointsByteFollowsModeAndDataCount)
{
    Decoder d;
    d.command[CommandMessage::kDataPoints] = 0;
    ASSERT_TRUE(d.Decode(Header("IMX", 600, 30, 0, 0, 100)));
    EXPECT_EQ(d.command[CommandMessage::kDataPoints], 50); // live: always 50

    d.context.playback = true;
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 30, 0, 0, 253)));
    EXPECT_EQ(d.command[CommandMessage::kDataPoints], 50);
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 30, 0, 0, 252)));
    EXPECT_EQ(d.command[CommandMessage::kDataPoints], 25);

    d.context = {false, true};
    ASSERT_TRUE(d.Decode(Header("IGX", 600, 30, 0, 0, 100)));
    EXPECT_EQ(d.command[CommandMessage::kDataPoints], 50);
    ASSERT_TRUE(d.Decode(Header("imx", 600, 30, 0, 0, 500)));
    EXPECT_EQ(d.command[CommandMessage::kDataPoints], 25);

    d.context = {true, true};
    ASSERT_TRUE(d.Decode(Header("IMX", 600, 30, 0, 0, 500)));
    EXPECT_EQ(d.command[CommandMessage::kDataPoints], 25);
}

} // namespace
} // namespace velmaris
