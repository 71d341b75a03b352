#pragma once
// One conversation between a station and a simulated head over a byte
// stream (TCP connection or pseudo-terminal), without the stream itself:
// bytes received go in with the time they arrived; the replies come out as
// timed chunks the transport writes when they fall due. Ping timing and the
// reply faults live here so both transports behave alike and tests can
// drive them with a made-up clock.
//
// Not thread-safe: owned by the transport's thread.

#include "sim/CommandFramer.h"
#include "sim/FaultPlan.h"
#include "sim/HeadModel.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velmaris::sim {

using Clock = std::chrono::steady_clock;

struct OutChunk {
    Clock::time_point due;
    std::vector<std::uint8_t> bytes; // may be empty (a dropped reply that still closes)
    bool closeAfter = false; // end the connection once these bytes are out
};

// What happened to one ping, for the per-ping log line.
struct PingEvent {
    std::uint64_t ping = 0; // answered commands since the transport started, from 1
    HeadPingInfo info;
    double delayMs = 0.0;
    bool dropped = false;
    bool garbled = false;
    int pieces = 1;
    bool closing = false;
};

std::string FormatPingEvent(const char* transport, const PingEvent& event);

struct SessionTiming {
    bool fast = false; // answer at once instead of after the ping time
    bool serialPacing = false; // add the reply's time on a 115200 baud line
};

class HeadSession {
public:
    // The model outlives the session; it carries the head's position from
    // one connection to the next.
    HeadSession(HeadModel& model, const FaultPlan& faults, SessionTiming timing);

    void Receive(std::span<const std::uint8_t> bytes, Clock::time_point now);

    std::optional<Clock::time_point> NextDue() const;
    // Takes the next chunk due at or before now, if any.
    std::optional<OutChunk> PopDue(Clock::time_point now);

    // The connection ended: forget queued replies and partial input.
    void Reset();

    std::uint64_t MalformedCount() const { return framer_.MalformedCount() + model_.MalformedCount(); }
    std::uint64_t Pings() const { return pings_; }

    std::function<void(const PingEvent&)> onPing; // called for every answered command

private:
    void Answer(std::span<const std::uint8_t> command, Clock::time_point now);

    HeadModel& model_;
    FaultPlan faults_;
    SessionTiming timing_;
    CommandFramer framer_;
    std::deque<OutChunk> queue_;
    Clock::time_point busyUntil_ {};
    std::uint64_t pings_ = 0; // over the session's life
    std::uint64_t connectionPings_ = 0; // since the last Reset
    std::vector<std::uint8_t> reply_;
};

} // namespace velmaris::sim
