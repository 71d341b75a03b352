#include "station/PingCycle.h"

#include "protocol/ReplyMessage.h"

#include <algorithm>

namespace velmaris {

std::string HeadNotChosenStatus(SonarType sonarType)
{
    return sonarType == SonarType::EthernetK52L
        ? "No head chosen yet: give the head's address (System > IP Address) to connect"
        : "No head chosen yet: choose the head's COM port (System > Choose COM Ports) to connect";
}

std::string SerialNotAvailableMessage(int comPort)
{
    return "COM" + std::to_string(comPort)
        + " is not available. \nPlease choose another COM Port for Sonar data input!   ";
}

std::string UdpNotAvailableMessage(int port)
{
    return "UDP port " + std::to_string(port) + " is not available. \nNo data can be received!   ";
}

std::string SerialSetupFailedMessage(int comPort)
{
    return "'OpenCommPort ()': 'SetCommState ()' for " + std::to_string(comPort)
        + " failed! \nPlease check its settings.";
}

PingCycle::PingCycle(SonarState& state, CycleLinks links, const Clock& clock, Reporter& reporter, CycleUi& ui,
    RecordWriter& recorder, DataFile& playbackFile)
    : state_(state)
    , links_(links)
    , reporter_(reporter)
    , ui_(ui)
    , recorder_(recorder)
    , playbackFile_(playbackFile)
    , acq_(clock)
    , pipeline_(state, acq_, ui, recorder, links.timers)
{ }

void PingCycle::OnTimer(int id)
{
    switch (id) {
    case kPingTimer:
        PingTimerFired();
        break;
    case kWatchdogTimer:
        WatchdogFired();
        break;
    case kSendTimer:
        SendTimerFired();
        break;
    case kGpsTimer:
        links_.timers.KillTimer(kGpsTimer);
        if (gpsTicker_)
            gpsTicker_->GpsTick();
        break;
    default:
        break;
    }
}

void PingCycle::KillAllTimers()
{
    links_.timers.KillTimer(kWatchdogTimer);
    links_.timers.KillTimer(kPingTimer);
    links_.timers.KillTimer(kSendTimer);
    links_.timers.KillTimer(kGpsTimer);
}

void PingCycle::CloseFiles()
{
    playbackFile_.Close();
    recorder_.Close();
}

void PingCycle::DropTcp()
{
    links_.tcp.Close();
    assembler_.Clear();
    repliesOwed_ = 0;
    silentPeriods_ = 0;
    acq_.linkState = LinkState::Down;
}

// --- Serial head ---------------------------------------------------------

void PingCycle::PingTimerFired()
{
    links_.timers.KillTimer(kPingTimer);
    if (Playback()) {
        if (!acq_.held && playbackTicker_)
            playbackTicker_->PlaybackTick();
        return;
    }
    if (SerialModel()) {
        if (serialPortLost_)
            ReopenLostSerialPort();
        RequestSerialTransfer();
    }
}

void PingCycle::OnSerialPortLost()
{
    // A fault of the line, not a head that stays silent: no message, and
    // the cycle goes on at the one-second pace of a link that is down.
    serialPortLost_ = true;
    acq_.linkState = LinkState::Down;
}

void PingCycle::ReopenLostSerialPort()
{
    const SonarSettings& s = state_.settings;
    if (links_.serial.Open(s.sonarComPort, s.sonarComPortBaud, s.rts != 0) != SerialOpenResult::Ok)
        return; // still gone: the next ping request tries again
    serialPortLost_ = false;
    acq_.linkState = LinkState::Up;
    state_.flags.statusResetRequest = true;
    links_.serial.SetSuspended(false);
}

void PingCycle::RequestSerialTransfer()
{
    links_.serial.RequestTransfer(std::span<const std::uint8_t, kCommandSize>(state_.command.Bytes()));
}

void PingCycle::OnSerialTransfer(
    std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent)
{
    // Only what this transfer wrote is done. A reverse request made during
    // its read (after the command was copied) goes with the next command;
    // one whose command did not go out (no port, a short write) stays too.
    // Cleared whether or not the cycle is held, so a resumed cycle never
    // sends a request a second time.
    ClearOneShotRequests(state_.command, sent);
    if (!portOpen) {
        if (!SerialModel())
            return;
        acq_.awaitingReply = true;
        acq_.blink = !acq_.blink;
    } else {
        // The reply to the previous command; the first transfer after the
        // port opened reads nothing and only sends the first command.
        const std::size_t count = std::min(reply.size(), acq_.replyBuffer.size());
        std::copy_n(reply.begin(), count, acq_.replyBuffer.begin());
        acq_.receivedByteCount = static_cast<int>(count);
        if (count < static_cast<std::size_t>(kReplyLengthIMX)) { // shorter than the shortest echo reply
            acq_.awaitingReply = true;
            acq_.blink = !acq_.blink;
        } else {
            acq_.awaitingReply = false;
        }
    }
    pipeline_.RunLive();
    ui_.RefreshStatusLine();
}

void PingCycle::OpenSerialLink()
{
    const int port = state_.settings.sonarComPort;
    state_.flags.statusResetRequest = true;
    serialPortLost_ = false;
    switch (links_.serial.Open(port, state_.settings.sonarComPortBaud, state_.settings.rts != 0)) {
    case SerialOpenResult::Ok:
        acq_.linkState = LinkState::Up;
        acq_.workerSuspended = false;
        links_.serial.SetSuspended(false);
        break;
    case SerialOpenResult::SetupFailed:
        reporter_.ShowMessage(SerialSetupFailedMessage(port));
        [[fallthrough]]; // the port counts as not opened
    case SerialOpenResult::NotAvailable:
        acq_.linkState = LinkState::Down;
        reporter_.ShowMessage(SerialNotAvailableMessage(port));
        break;
    }
    links_.timers.SetTimer(kWatchdogTimer, kWatchdogPeriodMs);
}

void PingCycle::ChangeSerialPort(int comPort, int rtsMode)
{
    headChosen_ = true;
    acq_.workerSuspended = true;
    links_.serial.SetSuspended(true);
    state_.settings.rts = rtsMode;
    links_.serial.SetRtsMode(rtsMode != 0);
    acq_.awaitingReply = false;
    state_.settings.sonarComPort = comPort;
    OpenSerialLink();
    acq_.workerSuspended = false;
    links_.serial.SetSuspended(false);
}

// --- Modes -------------------------------------------------------------------

void PingCycle::StartRealTime()
{
    state_.flags.playback = false;
    acq_.held = false;
    serialPortLost_ = false;
    if (settingsReloader_)
        settingsReloader_->ReloadSettings();
    ui_.SettingsLoaded();
    links_.udp.Close();
    state_.settings.udpMode = 0;
    KillAllTimers();
    CloseFiles();
    DropTcp();
    ResetImage(state_);
    ui_.RefreshSettingsPanel();
    ui_.ResetDiagnostics();
    ui_.SetControlBars(ControlBars::RealTime);
    if (SerialModel())
        ui_.SetWindowTitle(kTitleRealTimeK52A);
    else if (state_.settings.sonarType == SonarType::EthernetK52L)
        ui_.SetWindowTitle(kTitleRealTimeK52L);
    acq_.awaitingReply = false;
    if (!headChosen_) {
        links_.serial.Close();
        acq_.linkState = LinkState::Down;
        ui_.RefreshStatusLine(); // says which dialog chooses the head
        return;
    }
    if (SerialModel()) {
        OpenSerialLink();
    } else {
        // A serial head used before (Sonar Type switched from K52A) gives up its port.
        links_.serial.Close();
        ReconnectTcp();
    }
}

bool PingCycle::StartUdpMode()
{
    state_.settings.udpMode = 1;
    state_.settings.settingsDlgVisible = 0; // the window hides the panel with the UDP bars
    state_.flags.playback = false;
    acq_.held = false;
    KillAllTimers();
    links_.udp.Close();
    acq_.droppedDatagrams = 0;
    CloseFiles();
    DropTcp();
    ResetImage(state_);
    ui_.SetControlBars(ControlBars::Udp);
    ui_.SetWindowTitle(kTitleUdpMode);
    return OpenUdpListener();
}

bool PingCycle::OpenUdpListener()
{
    if (links_.udp.Open(config_.udpPort))
        return true;
    reporter_.ShowMessage(UdpNotAvailableMessage(config_.udpPort));
    return false;
}

void PingCycle::ToggleHold()
{
    acq_.held = !acq_.held;
    if (!acq_.held) {
        if (state_.settings.udpMode != 0) {
            links_.udp.Close();
            OpenUdpListener(); // a port it cannot take is reported
        } else if (!SerialModel() && !Playback()) {
            ReconnectTcp();
        } else {
            links_.timers.SetTimer(kPingTimer, kResumePingDelayMs);
        }
    }
    ui_.UpdateAllViews();
}

void PingCycle::CloseHeadLinks()
{
    serialPortLost_ = false;
    DropTcp();
    links_.serial.Close();
}

void PingCycle::CloseUdp()
{
    links_.udp.Close();
    state_.settings.udpMode = 0;
}

void PingCycle::Shutdown()
{
    KillAllTimers();
    links_.serial.Quit();
    CloseFiles();
    DropTcp();
    links_.serial.Close();
    links_.udp.Close();
}

} // namespace velmaris
