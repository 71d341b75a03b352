// Connect, UDP mode, hold and its resume rules, IP address and COM ports.

#include "CommandsFixture.h"

#include "station/CommandIds.h"

namespace velmaris {
namespace {

using namespace velmaris::testing;

TEST_F(CommandsTest, ConnectStartsRealTimeAndPlotUdpStartsUdpMode)
{
    commands.Execute(cmd::kConnect);
    EXPECT_EQ(serial.opens.size(), 1u);
    EXPECT_EQ(ui.title, "Velmaris -- Real Time (K52A)");
    commands.Execute(cmd::kPlotUdp);
    EXPECT_TRUE(Settings().udpMode);
    EXPECT_EQ(udp.opens, std::vector<int> {15040});
    EXPECT_EQ(ui.title, "Velmaris -- UDP Mode");
    EXPECT_EQ(ui.bars, ControlBars::Udp);
    EXPECT_TRUE(commands.IsEnabled(cmd::kConnect)); // UDP mode drops the link
}

TEST_F(CommandsTest, ReleasingHoldOnTheSerialHeadArmsThePingTimer)
{
    GoLiveSerial();
    commands.Execute(cmd::kHold);
    EXPECT_TRUE(Acq().held);
    timers.armed.clear();
    ui.viewUpdates = 0;
    commands.Execute(cmd::kHold);
    EXPECT_FALSE(Acq().held);
    EXPECT_EQ(timers.Armed(kPingTimer), 50);
    EXPECT_EQ(ui.viewUpdates, 1); // repainted
}

TEST_F(CommandsTest, ReleasingHoldInUdpModeRecreatesTheSocket)
{
    GoUdp();
    commands.Execute(cmd::kHold);
    udp.opens.clear();
    udp.closes = 0;
    commands.Execute(cmd::kHold);
    EXPECT_EQ(udp.closes, 1);
    EXPECT_EQ(udp.opens, std::vector<int> {15040});
}

TEST_F(CommandsTest, ReleasingHoldOnTheEthernetHeadReconnects)
{
    Settings().sonarType = SonarType::EthernetK52L;
    Settings().ipAddress = "127.0.0.1";
    doc.SaveSettings();
    doc.Cycle().StartRealTime();
    ASSERT_EQ(tcp.connects.size(), 1u);
    doc.Events().OnTcpConnected(false); // head not there: link down
    commands.Execute(cmd::kHold);
    commands.Execute(cmd::kHold);
    EXPECT_EQ(tcp.connects.size(), 2u);
    EXPECT_EQ(timers.Armed(kWatchdogTimer), 1000);
}

TEST_F(CommandsTest, ReleasingHoldDuringPlaybackArmsThePingTimer)
{
    Settings().sonarType = SonarType::EthernetK52L;
    GoPlayback();
    commands.Execute(cmd::kHold);
    commands.Execute(cmd::kHold);
    EXPECT_EQ(timers.Armed(kPingTimer), 50);
    EXPECT_TRUE(tcp.connects.empty());
}

TEST_F(CommandsTest, NewIpAddressIsSavedAndTheHeadReconnected)
{
    Settings().sonarType = SonarType::EthernetK52L;
    Settings().ipAddress = "127.0.0.1";
    doc.SaveSettings();
    doc.Cycle().StartRealTime();
    doc.Events().OnTcpConnected(true);
    ASSERT_EQ(Acq().linkState, LinkState::Up);
    tcp.connects.clear();
    tcp.closes = 0;
    hooks.ipAddress = "127.0.0.2";
    commands.Execute(cmd::kIpAddress);
    EXPECT_EQ(hooks.calls, std::vector<std::string> {"EditIpAddress 127.0.0.1"});
    EXPECT_EQ(Settings().ipAddress, "127.0.0.2");
    EXPECT_EQ(IniValue("System Settings", "IP Address"), "127.0.0.2");
    EXPECT_GE(tcp.closes, 1);
    ASSERT_EQ(tcp.connects.size(), 1u);
    EXPECT_EQ(tcp.connects[0].first, "127.0.0.2");
}

TEST_F(CommandsTest, CancelledIpDialogChangesNothing)
{
    Settings().sonarType = SonarType::EthernetK52L;
    Settings().ipAddress = "127.0.0.1";
    commands.Execute(cmd::kIpAddress);
    EXPECT_EQ(Settings().ipAddress, "127.0.0.1");
    EXPECT_EQ(IniValue("System Settings", "IP Address"), "(none)");
    EXPECT_TRUE(tcp.connects.empty());
}

TEST_F(CommandsTest, IpAddressInUdpModeIsSavedButDoesNotConnect)
{
    Settings().sonarType = SonarType::EthernetK52L;
    GoUdp();
    hooks.ipAddress = "127.0.0.3";
    commands.Execute(cmd::kIpAddress);
    EXPECT_EQ(Settings().ipAddress, "127.0.0.3");
    EXPECT_EQ(IniValue("System Settings", "IP Address"), "127.0.0.3");
    EXPECT_TRUE(tcp.connects.empty());
}

TEST_F(CommandsTest, PortDialogIsFilledFromTheSettings)
{
    Settings().sonarComPort = 4;
    Settings().rts = 1;
    Settings().gpsComPort = 7;
    Settings().gpsComPortBaud = 38400;
    commands.Execute(cmd::kChooseComPorts);
    EXPECT_EQ(hooks.offeredPorts.sonarPort, 4);
    EXPECT_TRUE(hooks.offeredPorts.rtsMode);
    EXPECT_EQ(hooks.offeredPorts.gpsPort, 7);
    EXPECT_EQ(hooks.offeredPorts.gpsBaudIndex, 3);
    EXPECT_EQ(hooks.offeredPorts.sonarType, SonarType::SerialK52A);
    // Cancel: nothing stored, nothing reopened.
    EXPECT_EQ(hooks.calls, std::vector<std::string> {"ChooseComPorts"});
    EXPECT_TRUE(serial.opens.empty());
    EXPECT_EQ(IniValue("System Settings", "SonarComPort"), "1"); // as the file had it
}

TEST_F(CommandsTest, ConfirmedPortDialogReopensTheSerialLinkOnTheNewPort)
{
    GoLiveSerial();
    serial.opens.clear();
    ComPortChoice answer;
    answer.sonarPort = 5;
    answer.rtsMode = true;
    answer.gpsPort = 6;
    answer.gpsBaudIndex = 1;
    hooks.portAnswer = answer;
    commands.Execute(cmd::kChooseComPorts);
    EXPECT_EQ(Settings().sonarComPort, 5);
    EXPECT_EQ(Settings().rts, 1);
    ASSERT_EQ(serial.opens.size(), 1u);
    EXPECT_EQ(serial.opens[0].port, 5);
    EXPECT_TRUE(serial.opens[0].rts);
    EXPECT_EQ(Settings().gpsComPort, 6);
    EXPECT_EQ(Settings().gpsComPortBaud, 9600);
    EXPECT_EQ(IniValue("System Settings", "SonarComPort"), "5");
    EXPECT_EQ(hooks.calls.back(), "RestartGpsInput");
}

TEST_F(CommandsTest, PortDialogReopensOnlyForANewPortOrRtsMode)
{
    GoLiveSerial();
    serial.opens.clear();
    ComPortChoice same;
    same.sonarPort = Settings().sonarComPort;
    same.rtsMode = Settings().rts != 0;
    hooks.portAnswer = same;
    commands.Execute(cmd::kChooseComPorts);
    EXPECT_TRUE(serial.opens.empty());
    EXPECT_EQ(IniValue("System Settings", "GPSComPortBaud"), "4800"); // saved all the same

    hooks.portAnswer->rtsMode = true;
    commands.Execute(cmd::kChooseComPorts);
    EXPECT_EQ(serial.opens.size(), 1u);
    EXPECT_EQ(Settings().rts, 1);

    hooks.portAnswer->sonarPort = 33; // outside COM1..COM32: ignored
    commands.Execute(cmd::kChooseComPorts);
    EXPECT_EQ(serial.opens.size(), 1u);
    EXPECT_EQ(Settings().sonarComPort, same.sonarPort);
}

} // namespace
} // namespace velmaris
