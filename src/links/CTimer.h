#pragma once
// The high-resolution counter: a monotonic clock read in ticks, the
// reusable elapsed-time measurement `CTimer`, and the busy-wait delay the
// serial link's RTS timing uses. `Clock` is an interface so tests can run
// the ping cycle on a fake clock.

#include <cstdint>

namespace velmaris {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t Ticks() const = 0; // monotonic
    virtual std::int64_t TicksPerSecond() const = 0;
};

// std::chrono::steady_clock in nanoseconds.
class SteadyClock final : public Clock {
public:
    std::int64_t Ticks() const override;
    std::int64_t TicksPerSecond() const override { return 1'000'000'000; }
    static const SteadyClock& Instance();
};

// Holds the last count, the current count and the frequency; Elapsed()
// returns the seconds since the last call (or construction) and makes now
// the last count.
class CTimer {
public:
    explicit CTimer(const Clock& clock = SteadyClock::Instance());
    double Elapsed();

private:
    const Clock& clock_;
    std::int64_t last_ = 0;
    std::int64_t current_ = 0;
    std::int64_t frequency_ = 1;
};

// Spins until more than `microseconds` have passed on `clock`.
void BusyWaitMicroseconds(double microseconds, const Clock& clock = SteadyClock::Instance());

} // namespace velmaris
