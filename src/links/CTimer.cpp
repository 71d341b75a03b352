#include "links/CTimer.h"

#include <chrono>

namespace velmaris {

std::int64_t SteadyClock::Ticks() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const SteadyClock& SteadyClock::Instance()
{
    static const SteadyClock clock;
    return clock;
}

CTimer::CTimer(const Clock& clock)
    : clock_(clock)
    , last_(clock.Ticks())
    , current_(last_)
    , frequency_(clock.TicksPerSecond() > 0 ? clock.TicksPerSecond() : 1)
{ }

double CTimer::Elapsed()
{
    current_ = clock_.Ticks();
    const double seconds = static_cast<double>(current_ - last_) / static_cast<double>(frequency_);
    last_ = current_;
    return seconds;
}

void BusyWaitMicroseconds(double microseconds, const Clock& clock)
{
    const std::int64_t start = clock.Ticks();
    const double perMicrosecond = static_cast<double>(clock.TicksPerSecond()) / 1e6;
    while (static_cast<double>(clock.Ticks() - start) / perMicrosecond <= microseconds) { }
}

} // namespace velmaris
