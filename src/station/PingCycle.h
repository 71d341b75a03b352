#pragma once
// The ping cycle: decides when the next command goes to the head, takes each
// reply (or its absence) through the live pipeline, plots UDP datagrams,
// hands playback ticks on, and starts, holds and stops acquisition. It is
// driven entirely by LinkEvents: the timers of the main frame, the serial
// worker's finished transfers and the socket notifications.
//
// Ownership: holds references only; the document owns the state, the links,
// the windows' interface, the record writer and the playback file, and
// outlives the cycle. Thread: user-interface thread only. Failure: operator
// messages go through the Reporter; a lost connection or a silent head is
// retried by the one-second watchdog for ever (a head silent for five
// seconds on an open connection counts as lost).

#include "files/DataFile.h"
#include "files/RecordWriter.h"
#include "files/Reporter.h"
#include "image/SonarState.h"
#include "links/Links.h"
#include "links/ReplyAssembler.h"
#include "station/AcquisitionState.h"
#include "station/CycleUi.h"
#include "station/PingPipeline.h"

#include <string>

namespace velmaris {

inline constexpr const char* kTitleRealTimeK52A = "Velmaris -- Real Time (K52A)";
inline constexpr const char* kTitleRealTimeK52L = "Velmaris -- Real Time (K52L)";
inline constexpr const char* kTitleUdpMode = "Velmaris -- UDP Mode";
inline constexpr int kWatchdogPeriodMs = 1000;
inline constexpr int kResumePingDelayMs = 50;
// After the watchdog sent a command again, a late reply may be followed by
// the reply to the command sent again: the next command waits that long for
// it, so the head never gets a second command in flight for good.
inline constexpr int kOwedReplyGraceMs = 50;
// A connection whose head has not answered for this long is given up and
// made again: after a power cut of the head no close ever arrives.
inline constexpr int kSilentHeadLimitMs = 5000;

// The status line while no head has been chosen (first run without
// settings): which dialog chooses it for the head type.
std::string HeadNotChosenStatus(SonarType sonarType);

// "COM<n> is not available. ..." and "'OpenCommPort ()': 'SetCommState ()' for <n> failed! ...".
std::string SerialNotAvailableMessage(int comPort);
std::string SerialSetupFailedMessage(int comPort);
// The UDP listener could not take its port (another program holds it).
std::string UdpNotAvailableMessage(int port);

struct CycleLinks {
    TimerHost& timers;
    SerialLink& serial;
    TcpLink& tcp;
    UdpLink& udp;
};

struct CycleConfig {
    int headTcpPort = kHeadTcpPort;
    int udpPort = kUdpListenPort;
};

class PingCycle final : public LinkEvents {
public:
    PingCycle(SonarState& state, CycleLinks links, const Clock& clock, Reporter& reporter, CycleUi& ui,
        RecordWriter& recorder, DataFile& playbackFile);

    void Configure(const CycleConfig& config) { config_ = config; }
    const CycleConfig& Config() const { return config_; }
    // Either hook may be null (the timer then does nothing).
    void SetPlaybackTicker(PlaybackTicker* ticker) { playbackTicker_ = ticker; }
    void SetGpsTicker(GpsTicker* ticker) { gpsTicker_ = ticker; }
    // Whether the operator has chosen the head's COM port or address. Until
    // then (a first run without settings) the cycle opens no serial port and
    // contacts no address: the defaults may name a console or a stranger's
    // machine. Choosing either in its dialog sets it.
    void SetHeadChosen(bool chosen) { headChosen_ = chosen; }
    bool HeadChosen() const { return headChosen_; }
    // Asked to reload the settings at every start of real-time work (null: no reload).
    void SetSettingsReloader(SettingsReloader* reloader) { settingsReloader_ = reloader; }
    void SetLocalTimeSource(LocalTimeSource source) { pipeline_.SetLocalTimeSource(source); }

    // LinkEvents.
    void OnTimer(int id) override;
    void OnSerialTransfer(
        std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent) override;
    // The head is shown without connection and its port is opened again,
    // silently, once a second (with each ping request) until it is back.
    void OnSerialPortLost() override;
    void OnTcpConnected(bool ok) override;
    void OnTcpBytes(std::span<const std::uint8_t> bytes) override;
    void OnTcpClosed() override;
    void OnUdpDatagram(std::span<const std::uint8_t> datagram, std::size_t trueSize) override;
    void OnUdpDropped(std::size_t count) override { acq_.droppedDatagrams += count; }

    // "Connect to Sonar Head": reloads the settings, leaves UDP mode and
    // playback (closing the playback and record files), resets the image and
    // opens the serial link or connects to the K52L head.
    void StartRealTime();
    // "Plot Data from UDP". False when the UDP port could not be opened (the
    // operator has been told).
    bool StartUdpMode();
    // "Hold": stops or resumes the cycle.
    void ToggleHold();
    // Opens the sonar COM port (the link is Up on success) and arms the
    // watchdog, whose expiry starts the first serial ping.
    void OpenSerialLink();
    // The COM port dialog's change: suspends the worker, takes the RTS mode,
    // reopens the link on `comPort`, resumes the worker.
    void ChangeSerialPort(int comPort, int rtsMode);
    // Starts a TCP connect when the link is down (not while one is pending)
    // and arms the watchdog. The record file stays open: recording goes on
    // with the next decoded ping.
    void ReconnectTcp();
    // Document close: timers, worker, files, sockets.
    void Shutdown();
    void KillAllTimers();
    // A playback takes over: shuts the TCP connection down and closes the
    // sonar COM port (the worker stays, idle); link state 0.
    void CloseHeadLinks();
    // Closes the UDP socket and clears `UDP Mode`.
    void CloseUdp();
    // The main frame's timers, for the pieces the cycle drives (playback).
    TimerHost& Timers() { return links_.timers; }
    // (Re)arms the ping timer: a modal window that stopped the timers
    // during playback lets the playback go on after it closes.
    void ArmPingTimer(int ms) { links_.timers.SetTimer(kPingTimer, ms); }

    // The live pipeline on the reply buffer; whether a ping was decoded.
    bool RunLivePipeline() { return pipeline_.RunLive(); }

    AcquisitionState& Acquisition() { return acq_; }
    const AcquisitionState& Acquisition() const { return acq_; }
    const ReplyAssembler& Assembler() const { return assembler_; }

private:
    // Opens the UDP listener; reports a port it cannot take and returns false.
    bool OpenUdpListener();
    bool SerialModel() const { return state_.settings.sonarType == SonarType::SerialK52A; }
    bool Playback() const { return state_.flags.playback; }
    void PingTimerFired();
    void WatchdogFired();
    void SendTimerFired();
    void RequestSerialTransfer();
    // Tries the lost port's device again; the link is Up when it opened.
    void ReopenLostSerialPort();
    void SendCommand();
    // ReconnectTcp; `restartStatus` also restarts the view's status blink.
    void ConnectTcp(bool restartStatus);
    void CloseFiles();
    void DropTcp();

    SonarState& state_;
    CycleLinks links_;
    Reporter& reporter_;
    CycleUi& ui_;
    RecordWriter& recorder_;
    DataFile& playbackFile_;
    AcquisitionState acq_;
    PingPipeline pipeline_;
    ReplyAssembler assembler_;
    CycleConfig config_;
    PlaybackTicker* playbackTicker_ = nullptr;
    GpsTicker* gpsTicker_ = nullptr;
    SettingsReloader* settingsReloader_ = nullptr;
    int repliesOwed_ = 0; // TCP commands sent whose reply has not come
    int silentPeriods_ = 0; // watchdog periods since the TCP head last answered
    bool serialPortLost_ = false; // the open serial port went away; reopened by the ping timer
    bool headChosen_ = true;
};

} // namespace velmaris
