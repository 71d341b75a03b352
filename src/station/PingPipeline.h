#pragma once
// The per-ping pipelines: the live one (a reply from the serial or TCP head,
// or its absence) and the UDP one (a datagram in record layout). Each takes
// one ping from the raw bytes to a painted raster, records it when recording
// is on, measures the loop time and refreshes the windows.
//
// Holds references only; the document owns everything referred to. User-
// interface thread only. Untrusted bytes (replies, datagrams) are bounded by
// their real length and by the echo buffer.

#include "files/RecordWriter.h"
#include "image/SonarState.h"
#include "protocol/ReplyMessage.h"
#include "protocol/TimeStamp.h"
#include "station/AcquisitionState.h"
#include "station/CycleUi.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmaris {

inline constexpr std::size_t kMinUdpDatagram = 113;
inline constexpr std::size_t kMaxUdpDatagram = 1023;
inline constexpr int kLinkDownPeriodMs = 1000;

// Milliseconds until the next serial ping: two-way travel at 1500 m/s, the
// reply's transfer at 11.52 bytes per ms and the head's switch delay, rounded;
// 1000 while the link is not connected.
int NextPingPeriodMs(LinkState linkState, int rangeMetres, int replyLength, int switchDelayMs);

using LocalTimeSource = LocalTime (*)();

class PingPipeline {
public:
    PingPipeline(
        SonarState& state, AcquisitionState& acq, CycleUi& ui, RecordWriter& recorder, TimerHost& timers)
        : state_(state)
        , acq_(acq)
        , ui_(ui)
        , recorder_(recorder)
        , timers_(timers)
    { }

    // The live pipeline on the reply in the acquisition state's buffer
    // (skipped while a reply is awaited). Returns whether a ping was decoded.
    // With the serial model and the cycle not held it arms the ping timer
    // with the next-ping period.
    bool RunLive();

    // The UDP pipeline on one datagram (`datagram` holds at most its first
    // 4096 bytes, `trueSize` is its real size). A datagram that would clear
    // the raster (a mode or range change) while the picture of an earlier
    // clear still waits for its frame is dropped and counted: a burst of
    // changes clears the raster at most once per painted frame.
    void RunUdp(std::span<const std::uint8_t> datagram, std::size_t trueSize);

    // Writes the local time into the ping's date, time and hundredths.
    void StampPing();
    void SetLocalTimeSource(LocalTimeSource source) { localTime_ = source; }

private:
    ReplyContext Context() const; // how the head's replies are read in the current mode
    bool DecodeLiveReply();
    bool DecodeDatagram(std::span<const std::uint8_t> datagram);
    bool DatagramWouldClear(std::span<const std::uint8_t> datagram) const;

    SonarState& state_;
    AcquisitionState& acq_;
    CycleUi& ui_;
    RecordWriter& recorder_;
    TimerHost& timers_;
    LocalTimeSource localTime_ = &CurrentLocalTime;
    bool clearedForFrame_ = false; // a datagram cleared the raster; its frame may be awaited
};

} // namespace velmaris
