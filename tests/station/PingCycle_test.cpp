#include "station/PingCycle.h"

#include "support/CycleRig.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

using namespace velmaris::testing;

class PingCycleTest : public ::testing::Test {
protected:
    CycleRig rig;
    SonarState& state = rig.state;
};

TEST_F(PingCycleTest, StartRealTimeWithSerialHeadOpensThePortAndArmsTheWatchdog)
{
    rig.SaveIni(SonarType::SerialK52A);
    state.settings.udpMode = 1;
    state.flags.playback = true;
    rig.timers.SetTimer(kSendTimer, 0);
    rig.cycle.StartRealTime();

    EXPECT_EQ(rig.ui.title, "Velmaris -- Real Time (K52A)");
    EXPECT_EQ(rig.ui.bars, ControlBars::RealTime);
    EXPECT_EQ(rig.ui.settingsLoads, 1);
    EXPECT_EQ(rig.ui.diagnosticsResets, 1);
    EXPECT_EQ(rig.ui.panelRefreshes, 1);
    EXPECT_FALSE(state.settings.udpMode);
    EXPECT_FALSE(state.flags.playback);
    EXPECT_EQ(rig.udp.closes, 1);
    ASSERT_EQ(rig.serial.opens.size(), 1u);
    EXPECT_EQ(rig.serial.opens[0].port, 1);
    EXPECT_EQ(rig.serial.opens[0].baud, 115200);
    EXPECT_EQ(rig.Acq().linkState, LinkState::Up);
    EXPECT_TRUE(rig.reporter.messages.empty());
    EXPECT_EQ(rig.timers.armed, (std::map<int, int> {{kWatchdogTimer, 1000}}));
}

TEST_F(PingCycleTest, PortThatCannotBeOpenedIsReportedAndTheCycleRunsAtOneSecond)
{
    rig.SaveIni(SonarType::SerialK52A);
    rig.serial.openResult = SerialOpenResult::NotAvailable;
    rig.cycle.StartRealTime();
    ASSERT_EQ(rig.reporter.messages.size(), 1u);
    EXPECT_EQ(rig.reporter.messages[0],
        "COM1 is not available. \nPlease choose another COM Port for Sonar data input!   ");
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);

    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    EXPECT_EQ(rig.serial.transfers.size(), 1u);
    rig.cycle.OnSerialTransfer({}, false, {});
    EXPECT_TRUE(rig.Acq().awaitingReply);
    EXPECT_TRUE(rig.Acq().blink);
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 1000);
}

TEST_F(PingCycleTest, RejectedLineSettingsAreReportedAndThePortCountsAsNotOpened)
{
    rig.serial.openResult = SerialOpenResult::SetupFailed;
    state.settings.sonarComPort = 4;
    rig.cycle.ChangeSerialPort(7, 1);
    ASSERT_EQ(rig.reporter.messages.size(), 2u);
    EXPECT_EQ(rig.reporter.messages[0],
        "'OpenCommPort ()': 'SetCommState ()' for 7 failed! \nPlease check its settings.");
    EXPECT_EQ(rig.reporter.messages[1],
        "COM7 is not available. \nPlease choose another COM Port for Sonar data input!   ");
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);
    EXPECT_TRUE(rig.serial.opens[0].rts);
    EXPECT_EQ(state.settings.rts, 1);
    EXPECT_FALSE(rig.serial.suspended);
}

TEST_F(PingCycleTest, SerialCycleFirstCommandGoesOutWithoutAReplyThenPingsFollowThePeriod)
{
    rig.SaveIni(SonarType::SerialK52A);
    rig.cycle.StartRealTime();
    ASSERT_TRUE(rig.timers.Fire(kWatchdogTimer));
    ASSERT_EQ(rig.serial.transfers.size(), 1u);
    EXPECT_EQ(rig.serial.transfers[0], state.command.Bytes());

    rig.SerialHandOver(); // the first read finds nothing
    EXPECT_EQ(state.ping.pingCount, 0);
    EXPECT_TRUE(rig.Acq().awaitingReply);
    ASSERT_TRUE(rig.timers.Armed(kPingTimer));

    ASSERT_TRUE(rig.timers.Fire(kPingTimer));
    EXPECT_EQ(rig.serial.transfers.size(), 2u);
    const auto reply = MakeReply('G', 600, 30);
    rig.SerialHandOver(reply);
    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_FALSE(rig.Acq().awaitingReply);
    EXPECT_EQ(rig.Acq().receivedByteCount, 513);
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 85);
    EXPECT_GE(rig.ui.statusRefreshes, 2); // time stamp, then the read-out after the ping
}

TEST_F(PingCycleTest, SerialReplyOf265BytesCountsAnd264DoNot)
{
    rig.OpenSerial();
    const bool blink = rig.Acq().blink;
    auto reply = MakeReply('M');
    rig.SerialHandOver(std::span(reply).first(264));
    EXPECT_EQ(state.ping.pingCount, 0);
    EXPECT_TRUE(rig.Acq().awaitingReply);
    EXPECT_NE(rig.Acq().blink, blink);
    EXPECT_EQ(rig.Acq().receivedByteCount, 264);

    rig.SerialHandOver(reply);
    EXPECT_EQ(state.ping.pingCount, 1);
    EXPECT_FALSE(rig.Acq().awaitingReply);
}

TEST_F(PingCycleTest, LostSerialPortIsReopenedOnceASecondWhileRecordingGoesOn)
{
    rig.OpenSerial();
    ASSERT_TRUE(rig.recorder.Open(rig.folder / "dive.52a"));
    const auto reply = MakeReply('G');
    ASSERT_TRUE(rig.timers.Fire(kPingTimer));
    rig.SerialHandOver(reply);
    ASSERT_EQ(state.ping.pingCount, 1);

    // Unplugged during a transfer: no message, the head shown without
    // connection, one-second pace.
    rig.serial.openResult = SerialOpenResult::NotAvailable;
    ASSERT_TRUE(rig.timers.Fire(kPingTimer));
    rig.cycle.OnSerialPortLost();
    rig.cycle.OnSerialTransfer({}, false, {});
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 1000);
    EXPECT_TRUE(rig.reporter.messages.empty());

    // Each second the same device is tried again, silently, until it is back.
    for (int second = 1; second <= 2; ++second) {
        const std::size_t opens = rig.serial.opens.size();
        ASSERT_TRUE(rig.timers.Fire(kPingTimer));
        ASSERT_EQ(rig.serial.opens.size(), opens + 1);
        EXPECT_EQ(rig.serial.opens.back().port, state.settings.sonarComPort);
        rig.cycle.OnSerialTransfer({}, false, {});
        EXPECT_EQ(rig.timers.Armed(kPingTimer), 1000);
    }
    EXPECT_TRUE(rig.reporter.messages.empty());
    rig.serial.openResult = SerialOpenResult::Ok;
    ASSERT_TRUE(rig.timers.Fire(kPingTimer));
    EXPECT_EQ(rig.Acq().linkState, LinkState::Up);
    rig.SerialHandOver(); // the first read on the new port finds nothing
    ASSERT_TRUE(rig.timers.Fire(kPingTimer));
    const std::size_t opens = rig.serial.opens.size();
    rig.SerialHandOver(reply);
    EXPECT_EQ(rig.serial.opens.size(), opens) << "an open port is not opened again";
    EXPECT_EQ(state.ping.pingCount, 2);
    EXPECT_TRUE(rig.recorder.IsRecording());
    EXPECT_EQ(rig.recorder.Length(), 2 * 640);
}

TEST_F(PingCycleTest, HoldStopsTheSerialCycleAndResumeRestartsItAt50Ms)
{
    rig.OpenSerial();
    rig.cycle.ToggleHold();
    EXPECT_TRUE(rig.Acq().held);
    ASSERT_TRUE(rig.timers.Fire(kPingTimer)); // was already armed
    rig.SerialHandOver(MakeReply('G'));
    EXPECT_FALSE(rig.timers.Armed(kPingTimer));

    const int updates = rig.ui.viewUpdates;
    rig.cycle.ToggleHold();
    EXPECT_FALSE(rig.Acq().held);
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 50);
    EXPECT_EQ(rig.ui.viewUpdates, updates + 1);
}

struct CountingTicker : PlaybackTicker {
    void PlaybackTick() override { ++ticks; }
    int ticks = 0;
};

TEST_F(PingCycleTest, PingTimerDuringPlaybackRunsATickUnlessHeld)
{
    CountingTicker ticker;
    state.flags.playback = true;
    rig.timers.SetTimer(kPingTimer, 0);
    rig.timers.Fire(kPingTimer); // no ticker yet: nothing happens
    rig.cycle.SetPlaybackTicker(&ticker);
    rig.timers.SetTimer(kPingTimer, 0);
    rig.timers.Fire(kPingTimer);
    EXPECT_EQ(ticker.ticks, 1);
    EXPECT_TRUE(rig.serial.transfers.empty());

    rig.cycle.ToggleHold();
    rig.timers.SetTimer(kPingTimer, 0);
    rig.timers.Fire(kPingTimer);
    EXPECT_EQ(ticker.ticks, 1);
    rig.cycle.ToggleHold(); // resume during playback: ping timer at 50 ms
    EXPECT_EQ(rig.timers.Armed(kPingTimer), 50);
    rig.timers.Fire(kPingTimer);
    EXPECT_EQ(ticker.ticks, 2);
}

TEST_F(PingCycleTest, StartUdpModeClosesEverythingAndListens)
{
    rig.ConnectTcp();
    ASSERT_TRUE(rig.recorder.Open(rig.folder / "rec.52l"));
    const int tcpCloses = rig.tcp.closes;
    rig.cycle.OnTcpBytes(std::vector<std::uint8_t>(100, 1));
    state.settings.settingsDlgVisible = 1;
    EXPECT_TRUE(rig.cycle.StartUdpMode());

    EXPECT_TRUE(state.settings.udpMode);
    EXPECT_EQ(state.settings.settingsDlgVisible, 0); // the panel goes with the UDP bars
    EXPECT_EQ(rig.ui.title, "Velmaris -- UDP Mode");
    EXPECT_EQ(rig.ui.bars, ControlBars::Udp);
    EXPECT_TRUE(rig.timers.armed.empty());
    EXPECT_EQ(rig.tcp.closes, tcpCloses + 1);
    EXPECT_EQ(rig.Acq().linkState, LinkState::Down);
    EXPECT_EQ(rig.cycle.Assembler().Pending(), 0u);
    EXPECT_FALSE(rig.recorder.IsRecording());
    EXPECT_EQ(rig.udp.opens, std::vector<int> {4040});

    rig.cycle.ToggleHold();
    rig.cycle.ToggleHold(); // resuming re-creates the listener
    EXPECT_EQ(rig.udp.opens, (std::vector<int> {4040, 4040}));
    EXPECT_TRUE(rig.timers.armed.empty());
}

TEST_F(PingCycleTest, UdpPortComesFromTheDocument)
{
    rig.cycle.Configure(CycleConfig {14040, 15040});
    rig.udp.openResult = false;
    EXPECT_FALSE(rig.cycle.StartUdpMode());
    EXPECT_EQ(rig.udp.opens, std::vector<int> {15040});
}

// A port the listener cannot take is told to the operator, on starting UDP
// mode and on resuming it from "Hold".
TEST_F(PingCycleTest, AUdpPortThatCannotBeOpenedIsReported)
{
    rig.cycle.Configure(CycleConfig {14040, 15040});
    rig.udp.openResult = false;
    EXPECT_FALSE(rig.cycle.StartUdpMode());
    rig.cycle.ToggleHold();
    rig.cycle.ToggleHold();
    EXPECT_EQ(rig.reporter.messages,
        std::vector<std::string>(2, "UDP port 15040 is not available. \nNo data can be received!   "));
}

TEST_F(PingCycleTest, ConnectClosesTheRecordFileAndRecordingStops)
{
    rig.OpenSerial();
    ASSERT_TRUE(rig.recorder.Open(rig.folder / "rec.52a"));
    rig.cycle.StartRealTime();
    EXPECT_FALSE(rig.recorder.IsRecording());
}

TEST_F(PingCycleTest, ShutdownStopsTimersWorkerFilesAndSockets)
{
    rig.OpenSerial();
    ASSERT_TRUE(rig.recorder.Open(rig.folder / "rec.52a"));
    rig.cycle.Shutdown();
    EXPECT_TRUE(rig.timers.armed.empty());
    EXPECT_EQ(rig.serial.quits, 1);
    EXPECT_GE(rig.serial.closes, 1);
    EXPECT_GE(rig.tcp.closes, 1);
    EXPECT_GE(rig.udp.closes, 1);
    EXPECT_FALSE(rig.recorder.IsRecording());
}

} // namespace
} // namespace velmaris
