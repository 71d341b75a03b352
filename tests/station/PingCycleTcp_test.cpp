#include "station/PingCycle.h"

#include "support/CycleRig.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmaris {
namespace {

using namespace velmaris::testing;

class TcpCycleTest : public ::testing::Test {
protected:
    void Reply(std::span<const std::uint8_t> bytes) { rig.cycle.OnTcpBytes(bytes); }

    CycleRig rig;
    SonarState& state = rig.state;
    const std::vector<std::uint8_t> reply = MakeReply('G', 600, 30);
};

TEST_F(TcpCycleTest, StartRealTimeConnectsToTheHeadAndSendsOnConnection)
{
    rig.SaveIni(SonarType::EthernetK52L, "127.0.0.1");
    rig.cycle.StartRealTime();
    EXPECT_EQ(rig.ui.title, "Velmaris -- Real Time (K52L)");
    ASSERT_EQ(rig.tcp.connects.size(), 1u);
    EXPECT_EQ(rig.tcp.connects[0], (std::pair<std::string, int> {"127.0.0.1", 4040}));
    EXPECT_EQ(rig.Acq().linkState, LinkState::Connecting);
    EXPECT_EQ(rig.timers.armed, (std::map<int, int> {{kWatchdogTimer, 1000}}));
    EXPECT_EQ(state.ping.date, "07-DEC-2026"); // the time stamp is refreshed

    rig.cycle.OnTcpConnected(true);
    EXPECT_EQ(rig.Acq().linkState, LinkState::Up);
    EXPECT_EQ(rig.timers.Armed(kSendTimer), 0);
    rig.timers.Fire(kSendTimer);
    ASSERT_EQ(rig.tcp.sent.size(), 1u);
    EXPECT_EQ(rig.tcp.sent[0].size(), 27u);
    EXPECT_TRUE(rig.Acq().awaitingReply);
    EXPECT_EQ(rig.timers.Armed(kWatchdogTimer), 1000);
}

TEST_F(TcpCycleTest, HeadPortComesFromTheDocument)
{
    rig.cycle.Configure(CycleConfig {14040, 15040});
    rig.SaveIni(SonarType::EthernetK52L, "::1");
    rig.cycle.StartRealTime();
    EXPECT_EQ(rig.tcp.connects.at(0), (std::pair<std::string, int> {"::1", 14040}));
}

TEST_F(TcpCycleTest, EachDecodedReplyArmsTheNextCommandAtOnce)
{
    rig.ConnectTcp();
    for (int ping = 1; ping <= 3; ++ping) {
        Reply(reply);
        EXPECT_EQ(state.ping.pingCount, ping);
        EXPECT_EQ(rig.timers.Armed(kSendTimer), 0);
        ASSERT_TRUE(rig.timers.Fire(kSendTimer));
    }
    EXPECT_EQ(rig.tcp.sent.size(), 4u);

    auto bad = reply;
    bad[0] = 'X';
    Reply(bad); // not a reply: no next command until the watchdog
    EXPECT_FALSE(rig.timers.Armed(kSendTimer));
}

TEST_F(TcpCycleTest, SplitReplyIsDecodedOnceWhole)
{
    rig.ConnectTcp();
    Reply(std::span(reply).first(265));
    EXPECT_EQ(state.ping.pingCount, 0);
    EXPECT_FALSE(rig.timers.Armed(kSendTimer));
    EXPECT_FALSE(rig.Acq().awaitingReply);
    Reply(std::span(reply).subspan(265));
    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_EQ(rig.Acq().receivedByteCount, 513);
    EXPECT_EQ(rig.timers.Armed(kSendTimer), 0);
}

TEST_F(TcpCycleTest, BytesBeyondOneReplyAreKeptForTheNext)
{
    rig.ConnectTcp();
    const auto second = MakeReply('G', 700, 30);
    std::vector<std::uint8_t> stream(reply);
    stream.insert(stream.end(), second.begin(), second.end());
    Reply(std::span(stream).first(600));
    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_EQ(rig.cycle.Assembler().Pending(), 87u);
    Reply(std::span(stream).subspan(600));
    EXPECT_EQ(state.ping.pingCount, 2);
    EXPECT_EQ(state.ping.headPosition, 700);
}

TEST_F(TcpCycleTest, WatchdogResendsToASilentHeadOncePerPeriod)
{
    rig.ConnectTcp();
    const bool blink = rig.Acq().blink;
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer)); // one silent second
    EXPECT_EQ(rig.tcp.sent.size(), 2u);
    EXPECT_TRUE(rig.Acq().awaitingReply);
    EXPECT_NE(rig.Acq().blink, blink);
    EXPECT_EQ(rig.timers.Armed(kWatchdogTimer), 1000);
    EXPECT_TRUE(rig.tcp.connects.size() == 1u); // no reconnect while connected

    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    EXPECT_EQ(rig.tcp.sent.size(), 3u);

    Reply(reply); // the head answers again: the cycle goes on
    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_TRUE(rig.timers.Fire(kSendTimer));
    EXPECT_EQ(rig.tcp.sent.size(), 4u);
}

// After the watchdog sent the command again, either reply may come: a late
// one and the answer to the command sent again, or only the latter.
TEST_F(TcpCycleTest, AfterAResendOneCommandStaysInFlight)
{
    struct Case {
        const char* name;
        int repliesAfterResend;
        std::vector<int> sendDelays; // the send timer armed after each reply
    };
    for (const Case& c : std::vector<Case> {
             {"LateReplyThenTheAnswer", 2, {kOwedReplyGraceMs, 0}},
             {"CommandWasLost", 1, {kOwedReplyGraceMs}},
         }) {
        CycleRig fresh;
        fresh.ConnectTcp();
        ASSERT_TRUE(fresh.timers.Fire(kWatchdogTimer)) << c.name; // sent again
        ASSERT_EQ(fresh.tcp.sent.size(), 2u);
        for (int i = 0; i < c.repliesAfterResend; ++i) {
            fresh.cycle.OnTcpBytes(reply);
            EXPECT_EQ(fresh.timers.Armed(kSendTimer), c.sendDelays[static_cast<std::size_t>(i)])
                << c.name << " reply " << i;
        }
        ASSERT_TRUE(fresh.timers.Fire(kSendTimer));
        EXPECT_EQ(fresh.tcp.sent.size(), 3u) << c.name;
        // From here on each reply releases the next command at once.
        fresh.cycle.OnTcpBytes(reply);
        EXPECT_EQ(fresh.timers.Armed(kSendTimer), 0) << c.name;
    }
}

// The watchdog dropped part of a reply: that command was answered, so the
// reply to the command sent again releases the next one at once.
TEST_F(TcpCycleTest, DroppedPartialReplyCountsAsAnswered)
{
    rig.ConnectTcp();
    Reply(std::span(reply).first(300));
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    Reply(reply);
    EXPECT_EQ(rig.timers.Armed(kSendTimer), 0);
}

TEST_F(TcpCycleTest, WatchdogDropsAPartialReply)
{
    rig.ConnectTcp();
    Reply(std::span(reply).first(300));
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    EXPECT_EQ(rig.cycle.Assembler().Pending(), 0u);
    Reply(MakeReply('G', 750, 30)); // the reply to the resent command
    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_EQ(state.ping.headPosition, 750);
}

TEST_F(TcpCycleTest, CloseDropsThePartialReplyAndTheWatchdogReconnects)
{
    rig.ConnectTcp();
    Reply(std::span(reply).first(300));
    rig.cycle.OnTcpClosed();
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);
    EXPECT_EQ(rig.cycle.Assembler().Pending(), 0u);
    EXPECT_EQ(rig.timers.Armed(kWatchdogTimer), 1000);

    const std::size_t sent = rig.tcp.sent.size();
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    EXPECT_EQ(rig.tcp.connects.size(), 2u);
    EXPECT_EQ(rig.Acq().linkState, LinkState::Connecting);
    EXPECT_EQ(rig.tcp.sent.size(), sent); // nothing is sent to a closed link
    EXPECT_EQ(rig.timers.Armed(kWatchdogTimer), 1000);
}

TEST_F(TcpCycleTest, NoSecondConnectWhileOneIsPending)
{
    rig.SaveIni(SonarType::EthernetK52L);
    rig.cycle.StartRealTime();
    ASSERT_EQ(rig.Acq().linkState, LinkState::Connecting);
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    EXPECT_EQ(rig.tcp.connects.size(), 1u);
    EXPECT_TRUE(rig.tcp.sent.empty());

    rig.cycle.OnTcpConnected(false); // refused
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    EXPECT_EQ(rig.tcp.connects.size(), 2u);
}

TEST_F(TcpCycleTest, ConnectFailingAtOnceLeavesTheLinkDownForTheWatchdog)
{
    rig.tcp.connectResult = false;
    rig.SaveIni(SonarType::EthernetK52L);
    rig.cycle.StartRealTime();
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);
    EXPECT_EQ(rig.timers.Armed(kWatchdogTimer), 1000);
    rig.timers.Fire(kWatchdogTimer);
    EXPECT_EQ(rig.tcp.connects.size(), 2u);
}

TEST_F(TcpCycleTest, RecordingGoesOnAcrossAWatchdogReconnect)
{
    rig.ConnectTcp();
    const std::string path = rig.folder / "rec.52l";
    ASSERT_TRUE(rig.recorder.Open(path));
    Reply(reply);
    rig.timers.Fire(kSendTimer);
    rig.cycle.OnTcpClosed(); // a network glitch
    rig.timers.Fire(kWatchdogTimer);
    EXPECT_TRUE(rig.recorder.IsRecording());

    rig.cycle.OnTcpConnected(true);
    rig.timers.Fire(kSendTimer);
    Reply(reply);
    EXPECT_EQ(std::filesystem::file_size(path), 2u * 640u);
    EXPECT_EQ(rig.recorder.Length(), 2 * 640);
}

TEST_F(TcpCycleTest, ResumeFromHoldKeepsRecordingAndRestartsTheCycle)
{
    rig.ConnectTcp();
    ASSERT_TRUE(rig.recorder.Open(rig.folder / "rec.52l"));
    rig.cycle.ToggleHold();
    Reply(reply);
    ASSERT_TRUE(rig.timers.Fire(kSendTimer)); // held: nothing sent, the cycle stops
    EXPECT_EQ(rig.tcp.sent.size(), 1u);
    EXPECT_TRUE(rig.timers.armed.empty());

    const int hides = rig.ui.progressHides;
    rig.cycle.ToggleHold();
    EXPECT_TRUE(rig.recorder.IsRecording());
    EXPECT_EQ(rig.ui.progressHides, hides + 1);
    EXPECT_EQ(rig.tcp.connects.size(), 1u); // still connected
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    EXPECT_EQ(rig.tcp.sent.size(), 2u);
    Reply(reply);
    EXPECT_EQ(rig.recorder.Length(), 2 * 640);
}

TEST_F(TcpCycleTest, ConnectionDuringPlaybackIsRefused)
{
    rig.SaveIni(SonarType::EthernetK52L);
    rig.cycle.StartRealTime();
    state.flags.playback = true;
    rig.cycle.OnTcpConnected(true);
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);
    EXPECT_FALSE(rig.timers.Armed(kSendTimer));
}

} // namespace
} // namespace velmaris
