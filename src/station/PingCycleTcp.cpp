// The K52L head over TCP: one command per ping from the send timer, one
// 513-byte reply per command, and the one-second watchdog that reconnects a
// lost link, resends to a head that stayed silent and gives up a connection
// whose head stayed silent for five seconds.
//
// A reverse request travels in exactly one command that the socket took.
// The watchdog's resend carries the live buffer as it stands, so it carries
// a request only if one is still pending (made since the last send, or
// whose send failed), never the one of the command it replaces: while the
// connection stands TCP delivers what it took, so a silent head has most
// likely acted on that command already and a second request would reverse
// it twice for one press.

#include "station/PingCycle.h"

namespace velmaris {

void PingCycle::SendCommand()
{
    acq_.awaitingReply = true;
    ++repliesOwed_;
    // A command the socket did not take keeps its request for the next one.
    if (links_.tcp.Send(state_.command.Bytes()))
        ClearOneShotRequests(state_.command, state_.command.Bytes());
    links_.timers.SetTimer(kWatchdogTimer, kWatchdogPeriodMs);
}

void PingCycle::SendTimerFired()
{
    links_.timers.KillTimer(kSendTimer);
    links_.timers.KillTimer(kWatchdogTimer);
    if (Playback() || SerialModel() || acq_.held)
        return;
    acq_.blink = !acq_.blink;
    // Armed with nothing owed, or the grace for an owed reply ran out.
    repliesOwed_ = 0;
    SendCommand();
}

void PingCycle::WatchdogFired()
{
    links_.timers.KillTimer(kWatchdogTimer);
    if (SerialModel()) {
        // Armed by the port opening: the first serial ping.
        if (!Playback())
            RequestSerialTransfer();
        return;
    }
    // A reply that has not come whole within a period never will: its
    // first part must not be completed by the next reply's bytes, and its
    // late tail must not be taken for the start of the next reply. Its
    // command was answered, if only in part.
    if (assembler_.Pending() > 0 && !assembler_.Resynchronising() && repliesOwed_ > 0)
        --repliesOwed_;
    assembler_.DropPartial();
    if (!Playback() && !acq_.held) {
        acq_.awaitingReply = true;
        acq_.blink = !acq_.blink;
        pipeline_.RunLive();
        if (acq_.linkState == LinkState::Down) {
            // A retry, not a new start: the status box goes on alternating
            // "No Connection" with the address instead of starting over.
            ConnectTcp(false);
        } else if (acq_.linkState == LinkState::Up) {
            if (++silentPeriods_ * kWatchdogPeriodMs >= kSilentHeadLimitMs) {
                // Silent for seconds on a connection that stands: a head
                // that lost its power never closes it. Made again, as lost.
                DropTcp();
                ConnectTcp(false);
                return;
            }
            // The head has not answered for a whole period: the command or
            // its reply was lost. Send it again so the cycle goes on.
            SendCommand();
        }
    }
    links_.timers.SetTimer(kWatchdogTimer, kWatchdogPeriodMs);
}

void PingCycle::ReconnectTcp()
{
    ConnectTcp(true);
}

void PingCycle::ConnectTcp(bool restartStatus)
{
    if (!headChosen_)
        return; // the default address is never contacted unasked
    KillAllTimers();
    ui_.HidePlaybackProgress();
    // The record file stays open across a reconnect, so recording resumes
    // with the next decoded ping; only a playback is ended.
    playbackFile_.Close();
    if (acq_.linkState == LinkState::Down) {
        acq_.linkState = LinkState::Connecting;
        links_.tcp.Close();
        assembler_.Clear();
        repliesOwed_ = 0;
        silentPeriods_ = 0;
        if (restartStatus)
            state_.flags.statusResetRequest = true;
        pipeline_.StampPing();
        if (!links_.tcp.Connect(state_.settings.ipAddress, config_.headTcpPort))
            acq_.linkState = LinkState::Down; // the watchdog retries
        state_.flags.playback = false;
        acq_.awaitingReply = false;
    }
    links_.timers.SetTimer(kWatchdogTimer, kWatchdogPeriodMs);
}

void PingCycle::OnTcpConnected(bool ok)
{
    assembler_.Clear();
    repliesOwed_ = 0;
    silentPeriods_ = 0;
    if (!ok || Playback()) {
        acq_.linkState = LinkState::Down;
        links_.timers.SetTimer(kWatchdogTimer, kWatchdogPeriodMs);
        return;
    }
    acq_.linkState = LinkState::Up;
    if (!SerialModel())
        links_.timers.SetTimer(kSendTimer, 0);
}

void PingCycle::OnTcpBytes(std::span<const std::uint8_t> bytes)
{
    acq_.awaitingReply = false;
    bool decoded = false;
    while (!bytes.empty()) {
        bytes = bytes.subspan(assembler_.Feed(bytes));
        if (!assembler_.Complete())
            break;
        const auto reply = assembler_.Reply();
        std::copy(reply.begin(), reply.end(), acq_.replyBuffer.begin());
        acq_.receivedByteCount = static_cast<int>(reply.size());
        assembler_.Clear();
        if (repliesOwed_ > 0)
            --repliesOwed_;
        silentPeriods_ = 0;
        decoded = pipeline_.RunLive() || decoded;
    }
    // One command per reply: while another reply is still owed (the
    // watchdog sent a command again), it is given a moment to come first.
    if (decoded)
        links_.timers.SetTimer(kSendTimer, repliesOwed_ == 0 ? 0 : kOwedReplyGraceMs);
}

void PingCycle::OnTcpClosed()
{
    acq_.linkState = LinkState::Down;
    assembler_.Clear();
    repliesOwed_ = 0;
    links_.timers.SetTimer(kWatchdogTimer, kWatchdogPeriodMs);
}

void PingCycle::OnUdpDatagram(std::span<const std::uint8_t> datagram, std::size_t trueSize)
{
    pipeline_.RunUdp(datagram, trueSize);
}

} // namespace velmaris
