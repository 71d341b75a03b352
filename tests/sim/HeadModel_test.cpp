#include "sim/HeadModel.h"

#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace velmaris::sim {
namespace {

using test::Bytes;
using test::CommandBytes;
using test::DecodedDirection;
using test::DecodedPosition;

Bytes Answer(HeadModel& head, const Bytes& command)
{
    Bytes reply;
    EXPECT_TRUE(head.Answer(command, reply));
    return reply;
}

TEST(HeadModel, AnswersWithKindAndLengthFromDataPoints)
{
    HeadModel head;
    struct Case {
        int dataPoints;
        const char* kind;
        std::size_t length;
        int dataCount;
    };
    for (const Case c : {Case {50, "IGX", 513, 500}, Case {25, "IMX", 265, 250}, Case {0, "IPX", 13, 0}}) {
        Bytes command = CommandBytes(40, 60, 120, 3, c.dataPoints);
        command[CommandMessage::kHeadId] = 0x23;
        const Bytes reply = Answer(head, command);
        ASSERT_EQ(reply.size(), c.length) << c.kind;
        EXPECT_EQ(std::string(reply.begin(), reply.begin() + 3), c.kind);
        EXPECT_EQ(reply[3], 0x23); // head id echoed
        EXPECT_EQ(reply[7], 40); // commanded range
        EXPECT_EQ(reply[11] * 128 + (reply[10] & 0x7F), c.dataCount);
        EXPECT_EQ(reply.back(), HeadModel::kReplyEnd);
        EXPECT_EQ(reply[4] & 1, 1); // status bit
    }
    EXPECT_EQ(head.PingCount(), 3u);
}

TEST(HeadModel, MalformedCommandsAreCountedAndNeverAnswered)
{
    HeadModel head;
    const int before = head.Position();
    Bytes reply {1, 2, 3};
    for (std::size_t offset : {CommandMessage::kStart, CommandMessage::kKind, CommandMessage::kTerminator}) {
        Bytes command = CommandBytes();
        command[offset] ^= 0x01;
        EXPECT_FALSE(head.Answer(command, reply));
        EXPECT_TRUE(reply.empty());
    }
    Bytes shortCommand = CommandBytes();
    shortCommand.pop_back();
    EXPECT_FALSE(head.Answer(shortCommand, reply));
    EXPECT_EQ(head.MalformedCount(), 4u);
    EXPECT_EQ(head.PingCount(), 0u);
    EXPECT_EQ(head.Position(), before); // the head did not move
}

TEST(HeadModel, WalksTheSectorAndTurnsAtItsEdges)
{
    HeadModel head;
    // Train code 90 (90 degrees to starboard): centre 900; width 10 is +-50 units.
    const Bytes command = CommandBytes(30, 90, 10, 8);
    int previous = -1, turns = 0, lastDirection = -1;
    std::set<int> seen;
    for (int i = 0; i < 60; ++i) {
        const Bytes reply = Answer(head, command);
        const int position = DecodedPosition(reply);
        const int direction = DecodedDirection(reply);
        ASSERT_GE(position, 850);
        ASSERT_LE(position, 950);
        if (previous >= 0 && position != previous) { // the flag tells which way the head moved
            EXPECT_EQ(direction, position > previous ? 1 : 0) << "ping " << i;
        }
        if (lastDirection >= 0 && direction != lastDirection) {
            ++turns;
            EXPECT_TRUE(previous == 850 || previous == 950) << "turned inside the sector at " << previous;
        }
        seen.insert(position);
        previous = position;
        lastDirection = direction;
    }
    EXPECT_GE(turns, 4);
    EXPECT_TRUE(seen.count(850) && seen.count(950));
}

TEST(HeadModel, ReverseRequestTurnsTheHeadAtOnce)
{
    HeadModel head;
    const Bytes command = CommandBytes(30, 60, 60, 2);
    const Bytes first = Answer(head, command);
    const Bytes second = Answer(head, command);
    ASSERT_EQ(DecodedDirection(first), DecodedDirection(second));
    Bytes reverse = command;
    reverse[CommandMessage::kFlags] |= CommandMessage::kReverseRequestBit;
    const Bytes third = Answer(head, reverse);
    EXPECT_NE(DecodedDirection(third), DecodedDirection(second));
    EXPECT_EQ(DecodedPosition(third), DecodedPosition(first)); // stepped back
}

TEST(HeadModel, FullCircleKeepsTurningAndSideScanStaysPut)
{
    HeadModel head;
    const Bytes circle = CommandBytes(30, 60, 120, 8);
    int unwrapped = 0, previous = head.Position();
    for (int i = 0; i < 400; ++i) {
        const Bytes reply = Answer(head, circle);
        const int position = DecodedPosition(reply);
        ASSERT_LT(position, HeadModel::kPositionsPerTurn);
        EXPECT_EQ(DecodedDirection(reply), 1);
        unwrapped += (position - previous + HeadModel::kPositionsPerTurn) % HeadModel::kPositionsPerTurn;
        previous = position;
    }
    EXPECT_EQ(unwrapped, 400 * 8); // more than two and a half turns, never reversed

    const double y0 = head.GetScene().VesselY();
    for (const Bytes& sideScan : {CommandBytes(30, 30, 0, 0), CommandBytes(30, 30, 40, 0)}) {
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(DecodedPosition(Answer(head, sideScan)), 300); // train 30: 90 degrees to port
    }
    EXPECT_GT(head.GetScene().VesselY(), y0); // the vessel steams on while side-scanning
}

TEST(HeadModel, SameSeedSameBytesAndOtherSeedOtherBytes)
{
    HeadModel a({.seed = 42}), b({.seed = 42}), c({.seed = 43});
    Bytes ra, rb, rc;
    bool differs = false;
    for (int i = 0; i < 50; ++i) {
        const Bytes command = CommandBytes(20 + i % 3 * 10, 60, 120, 4);
        a.Answer(command, ra);
        b.Answer(command, rb);
        c.Answer(command, rc);
        ASSERT_EQ(ra, rb) << "ping " << i;
        differs = differs || ra != rc;
    }
    EXPECT_TRUE(differs);
}

TEST(HeadModel, ReportsTheBottomOnlyWithinRange)
{
    HeadModel head;
    const Bytes farReply = Answer(head, CommandBytes(100, 60, 0, 0)); // straight ahead, held
    const int profile = farReply[9] * 128 + farReply[8];
    EXPECT_GT(profile, 500); // the floor, some metres off
    EXPECT_LT(profile, 100 * 100);
    const Bytes nearReply = Answer(head, CommandBytes(2, 60, 0, 0));
    EXPECT_EQ(nearReply[9] * 128 + nearReply[8], 0);
}

} // namespace
} // namespace velmaris::sim
