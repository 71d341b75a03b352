#include "sim/HeadSession.h"

#include "SimTestSupport.h"

#include <gtest/gtest.h>

namespace velmaris::sim {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::CommandBytes;

struct SessionFixture {
    explicit SessionFixture(const std::string& faults = "", SessionTiming timing = {})
        : session(model, *FaultPlan::Parse(faults, nullptr), timing)
    {
        session.onPing = [this](const PingEvent& e) { events.push_back(e); };
    }
    std::vector<OutChunk> Drain(Clock::time_point until)
    {
        std::vector<OutChunk> out;
        while (auto chunk = session.PopDue(until))
            out.push_back(std::move(*chunk));
        return out;
    }
    HeadModel model;
    HeadSession session;
    std::vector<PingEvent> events;
    Clock::time_point t0 = Clock::now();
};

TEST(HeadSession, RepliesAfterTheTwoWayTravelTimeOrAtOnceWhenFast)
{
    SessionFixture slow;
    slow.session.Receive(CommandBytes(150), slow.t0); // 200 ms at 1500 m/s
    EXPECT_TRUE(slow.Drain(slow.t0 + 199ms).empty());
    const std::vector<OutChunk> replies = slow.Drain(slow.t0 + 201ms);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].bytes.size(), 513u);

    SessionFixture serial("", {.serialPacing = true});
    serial.session.Receive(CommandBytes(30, 60, 120, 3, 25), serial.t0); // 40 ms + 265 bytes at 11.52/ms
    EXPECT_TRUE(serial.Drain(serial.t0 + 62ms).empty());
    EXPECT_EQ(serial.Drain(serial.t0 + 64ms).size(), 1u);

    SessionFixture fast("", {.fast = true});
    fast.session.Receive(CommandBytes(200), fast.t0);
    EXPECT_EQ(fast.Drain(fast.t0).size(), 1u);
}

TEST(HeadSession, AssemblesCommandsFromPiecesAndAnswersEachInTurn)
{
    SessionFixture f;
    Bytes stream = CommandBytes(30);
    const Bytes second = CommandBytes(60);
    stream.insert(stream.end(), second.begin(), second.end());
    f.session.Receive(std::span(stream).first(10), f.t0);
    f.session.Receive(std::span(stream).subspan(10, 30), f.t0);
    f.session.Receive(std::span(stream).subspan(40), f.t0);
    ASSERT_EQ(f.events.size(), 2u);
    // The head pings one after the other: 40 ms, then 80 ms more.
    EXPECT_EQ(f.Drain(f.t0 + 41ms).size(), 1u);
    EXPECT_TRUE(f.Drain(f.t0 + 119ms).empty());
    EXPECT_EQ(f.Drain(f.t0 + 121ms).size(), 1u);
}

TEST(HeadSession, LineNoiseIsCountedAndSkipped)
{
    SessionFixture f("", {.fast = true});
    Bytes bad = CommandBytes();
    bad[CommandMessage::kKind] = 0x45;
    Bytes stream {0x00, 0x13, 0x37}; // junk before a start byte
    stream.insert(stream.end(), bad.begin(), bad.end());
    const Bytes good = CommandBytes();
    stream.insert(stream.end(), good.begin(), good.end());
    f.session.Receive(stream, f.t0);
    EXPECT_EQ(f.Drain(f.t0).size(), 1u); // only the good command is answered
    EXPECT_GE(f.session.MalformedCount(), 1u);
    Bytes badEnd = CommandBytes();
    badEnd[CommandMessage::kTerminator] = 0x00;
    const std::uint64_t before = f.session.MalformedCount();
    f.session.Receive(badEnd, f.t0);
    f.session.Receive(good, f.t0);
    EXPECT_EQ(f.Drain(f.t0).size(), 1u);
    EXPECT_EQ(f.session.MalformedCount(), before + 1);
}

TEST(HeadSession, FaultsDropDelaySplitGarbleAndClose)
{
    SessionFixture f("drop=3,delay=4:250,split=5:3:20,garbage=2,close=6", {.fast = true});
    const Bytes command = CommandBytes();
    std::vector<std::vector<OutChunk>> perPing;
    for (int i = 1; i <= 6; ++i) {
        const Clock::time_point now = f.t0 + i * 1s;
        f.session.Receive(command, now);
        perPing.push_back(f.Drain(now + 500ms));
    }
    ASSERT_EQ(f.events.size(), 6u);
    EXPECT_EQ(perPing[0].size(), 1u);
    ASSERT_EQ(perPing[1].size(), 1u);
    EXPECT_NE(
        std::string(perPing[1][0].bytes.begin(), perPing[1][0].bytes.begin() + 3), "IGX"); // ping 2 garbled
    EXPECT_TRUE(f.events[1].garbled);
    EXPECT_TRUE(perPing[2].empty()); // ping 3 dropped
    ASSERT_EQ(perPing[3].size(), 1u); // ping 4 late by 250 ms
    EXPECT_EQ(perPing[3][0].due, f.t0 + 4s + 250ms);
    ASSERT_EQ(perPing[4].size(), 3u); // ping 5 in three pieces, 20 ms apart
    EXPECT_EQ(perPing[4][0].bytes.size() + perPing[4][1].bytes.size() + perPing[4][2].bytes.size(), 513u);
    EXPECT_EQ(perPing[4][2].due - perPing[4][0].due, 40ms);
    EXPECT_FALSE(perPing[4][2].closeAfter);
    ASSERT_FALSE(perPing[5].empty()); // ping 6 closes the connection after its reply
    EXPECT_TRUE(perPing[5].back().closeAfter);
    EXPECT_NE(FormatPingEvent("tcp", f.events[5]).find("CLOSE"), std::string::npos);
}

TEST(FaultPlan, ParsesTheFaultTextAndRefusesNonsense)
{
    std::string error;
    const auto plan
        = FaultPlan::Parse("drop=7,delay=5:300,split:,garbage,undersize=13,oversize=17,badlength=19", &error);
    EXPECT_FALSE(plan) << "a name with ':' but no '=' is not a fault";
    const auto good
        = FaultPlan::Parse("drop=7,delay=5:120,split=1:3:15,garbage,close=50,undersize=13,oversize=17,"
                           "badlength=19",
            &error);
    ASSERT_TRUE(good) << error;
    EXPECT_EQ(good->dropEvery, 7);
    EXPECT_EQ(good->delayEvery, 5);
    EXPECT_EQ(good->delayMs, 120);
    EXPECT_EQ(good->splitEvery, 1);
    EXPECT_EQ(good->splitParts, 3);
    EXPECT_EQ(good->splitPauseMs, 15);
    EXPECT_EQ(good->garbageEvery, 1);
    EXPECT_EQ(good->closeEvery, 50);
    EXPECT_EQ(good->badLengthEvery, 19);
    for (const char* bad : {"drop=0", "drop=x", "split=1:1", "delay=1:2:3", "melt=2", "drop=-1"}) {
        error.clear();
        EXPECT_FALSE(FaultPlan::Parse(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_TRUE(FaultPlan::Hits(3, 6));
    EXPECT_FALSE(FaultPlan::Hits(3, 7));
    EXPECT_FALSE(FaultPlan::Hits(0, 7));
}

} // namespace
} // namespace velmaris::sim
