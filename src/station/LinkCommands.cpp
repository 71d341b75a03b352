// Commands that start, hold and re-aim the acquisition: connect, UDP mode,
// hold, and the head's address and COM port.

#include "station/CommandIds.h"
#include "station/CommandRules.h"
#include "station/DocumentCommands.h"

namespace velmaris {

namespace {

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 32;

} // namespace

bool DocumentCommands::ExecuteLink(int id)
{
    switch (id) {
    case cmd::kConnect:
        doc_.Cycle().StartRealTime();
        return true;
    case cmd::kPlotUdp:
        doc_.Cycle().StartUdpMode();
        return true;
    case cmd::kHold:
        doc_.Cycle().ToggleHold(); // resumes the cycle and repaints
        return true;
    case cmd::kIpAddress:
        ChangeIpAddress();
        return true;
    case cmd::kChooseComPorts:
        ChooseComPorts();
        return true;
    default:
        return false;
    }
}

void DocumentCommands::ChangeIpAddress()
{
    SonarSettings& s = doc_.State().settings;
    const std::optional<std::string> address = hooks_.EditIpAddress(s.ipAddress);
    if (!address)
        return;
    s.ipAddress = *address;
    if (Playback())
        return;
    doc_.SaveSettings();
    // In UDP mode the station only listens: a TCP head would paint into the
    // same image. The new address is used at the next connect.
    if (s.udpMode == 1)
        return;
    doc_.Cycle().Acquisition().linkState = kLinkDown;
    doc_.Cycle().ReconnectTcp();
}

void DocumentCommands::ChooseComPorts()
{
    SonarSettings& s = doc_.State().settings;
    ComPortChoice choice;
    choice.sonarPort = s.sonarComPort;
    choice.rtsMode = s.rts;
    choice.gpsPort = s.gpsComPort;
    choice.gpsBaudIndex = GpsBaudIndexFor(s.gpsComPortBaud);
    choice.useGps = s.useGps;
    choice.sonarType = s.sonarType;
    if (!hooks_.ChooseComPorts(choice))
        return;
    const bool validPort = choice.sonarPort >= kFirstComPort && choice.sonarPort <= kLastComPort;
    const int rts = choice.rtsMode != 0 ? 1 : 0;
    // A new RTS mode on the same port is taken too: it only acts once the
    // port is opened again.
    if (s.sonarType == kSonarSerialK52A && validPort && (choice.sonarPort != s.sonarComPort || rts != s.rts))
        doc_.Cycle().ChangeSerialPort(choice.sonarPort, rts);
    s.gpsComPort = choice.gpsPort;
    s.useGps = choice.useGps != 0 ? 1 : 0;
    s.gpsComPortBaud = GpsBaudForIndex(choice.gpsBaudIndex);
    doc_.SaveSettings();
    hooks_.RestartGpsInput();
}

} // namespace velmaris
