#pragma once
// The smoothed time between pings, measured on the high-resolution counter.
// The station keeps two: one for live pings (serial or TCP head) and one for
// replayed pings (UDP datagrams and playback records).
//
// User-interface thread only; the clock must outlive the object.

#include "links/CTimer.h"

#include <optional>

namespace velmaris {

class LoopTime {
public:
    explicit LoopTime(const Clock& clock = SteadyClock::Instance())
        : clock_(clock)
    { }

    // First call: starts the counter and leaves the loop time alone. Later
    // calls take the milliseconds since the previous call: the full delta
    // while the loop time is still 0, otherwise half the delta plus half the
    // previous loop time.
    void Measure();

    double Milliseconds() const { return loopTime_; }
    // Integer part of (loop time + 0.5): what the status line shows and the
    // record header carries.
    int Rounded() const { return static_cast<int>(loopTime_ + 0.5); }
    bool Started() const { return timer_.has_value(); }

private:
    const Clock& clock_;
    std::optional<CTimer> timer_;
    double loopTime_ = 0.0;
};

} // namespace velmaris
