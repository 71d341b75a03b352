#include "station/LinkCommands.h"

#include "station/CommandIds.h"
#include "station/CommandRules.h"

namespace velmaris {

namespace {

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 32;

} // namespace

void LinkCommands::Register(CommandTable& table)
{
    table.Register(
        cmd::kConnect,
        [this] {
            // Nothing to connect to yet: the head's port or address is asked for first.
            if (!doc_.Cycle().HeadChosen())
                Settings().sonarType == SonarType::EthernetK52L ? ChangeIpAddress() : ChooseComPorts();
            if (doc_.Cycle().HeadChosen())
                doc_.Cycle().StartRealTime();
        },
        [this] { return doc_.Cycle().Acquisition().linkState != LinkState::Up; });
    table.Register(cmd::kPlotUdp, [this] { doc_.Cycle().StartUdpMode(); });
    // Resumes the cycle and repaints.
    table.Register(
        cmd::kHold, [this] { doc_.Cycle().ToggleHold(); }, nullptr,
        [this] { return doc_.Cycle().Acquisition().held; });
    table.Register(
        cmd::kIpAddress, [this] { ChangeIpAddress(); },
        [this] { return Settings().sonarType == SonarType::EthernetK52L && !Playback(); });
    table.Register(
        cmd::kChooseComPorts, [this] { ChooseComPorts(); },
        [this] { return Settings().sonarType != SonarType::EthernetK52L && !Playback(); });
}

void LinkCommands::ChangeIpAddress()
{
    SonarSettings& s = doc_.State().settings;
    const std::optional<std::string> address = hooks_.EditIpAddress(s.ipAddress);
    if (!address)
        return;
    s.ipAddress = *address;
    if (Playback())
        return;
    doc_.Cycle().SetHeadChosen(true); // saved as the head's address
    doc_.SaveSettings();
    // In UDP mode the station only listens: a TCP head would paint into the
    // same image. The new address is used at the next connect.
    if (s.udpMode == 1)
        return;
    doc_.Cycle().Acquisition().linkState = LinkState::Down;
    doc_.Cycle().ReconnectTcp();
}

void LinkCommands::ChooseComPorts()
{
    SonarSettings& s = doc_.State().settings;
    ComPortChoice choice;
    choice.sonarPort = s.sonarComPort;
    choice.rtsMode = s.rts != 0;
    choice.gpsPort = s.gpsComPort;
    choice.gpsBaudIndex = GpsBaudIndexFor(s.gpsComPortBaud);
    choice.useGps = s.useGps;
    choice.sonarType = s.sonarType;
    if (!hooks_.ChooseComPorts(choice))
        return;
    const bool validPort = choice.sonarPort >= kFirstComPort && choice.sonarPort <= kLastComPort;
    const int rts = choice.rtsMode ? 1 : 0;
    // A new RTS mode on the same port is taken too: it only acts once the
    // port is opened again.
    // The first choice opens the port even when it is the default one.
    const bool firstChoice = !doc_.Cycle().HeadChosen();
    if (s.sonarType == SonarType::SerialK52A && validPort
        && (firstChoice || choice.sonarPort != s.sonarComPort || rts != s.rts))
        doc_.Cycle().ChangeSerialPort(choice.sonarPort, rts);
    s.gpsComPort = choice.gpsPort;
    s.useGps = choice.useGps != 0 ? 1 : 0;
    s.gpsComPortBaud = GpsBaudForIndex(choice.gpsBaudIndex);
    doc_.SaveSettings();
    hooks_.RestartGpsInput();
}

} // namespace velmaris
