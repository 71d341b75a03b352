#include "ReplayPacing.h"

#include "files/TrackFile.h"

#include <algorithm>
#include <cmath>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace velmaris::tool {

namespace {

// The last stretch before a datagram is due is spun, not slept, to meet the
// moment to a few microseconds; a longer spin only gets the thread pre-empted
// on a busy machine.
constexpr Nanoseconds kSpinWindow = std::chrono::microseconds(200);
} // namespace

SteadyReplayClock::SteadyReplayClock(const volatile std::sig_atomic_t* stop)
    : stop_(stop)
{
#ifdef __linux__
    // Wake-ups as exact as the kernel gives them (the default slack is 50 us).
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

Nanoseconds SteadyReplayClock::Now()
{
    return std::chrono::duration_cast<Nanoseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyReplayClock::SleepUntil(Nanoseconds when)
{
    const auto stopped = [this] { return stop_ != nullptr && *stop_ != 0; };
    const Nanoseconds coarse = when - kSpinWindow;
    for (Nanoseconds now = Now(); now < coarse && !stopped(); now = Now()) {
        const Nanoseconds wake = stop_ != nullptr ? std::min(coarse, now + kStopCheck) : coarse;
        std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(wake)));
    }
    while (Now() < when && !stopped()) { }
}

std::optional<std::int64_t> StampCentiseconds(
    std::string_view date, std::string_view time, std::string_view hundredths)
{
    // Every record carries its hundredths (".42", ". 4").
    if (hundredths.empty())
        return std::nullopt;
    const std::optional<double> seconds = PingStampSeconds(date, time, hundredths);
    if (!seconds)
        return std::nullopt;
    return std::llround(*seconds * 100.0);
}

RecordTiming RecordTimingReader::Read(std::span<const std::uint8_t, kRecordHeaderSize> header)
{
    DecodeRecordHeader(header, ping_, command_, settings_);
    return RecordTiming {StampCentiseconds(ping_.date, ping_.time, ping_.hundredths), ping_.loopTimeRounded};
}

Nanoseconds RecordedGap(const RecordTiming& previous, const RecordTiming& next)
{
    if (previous.stampCs && next.stampCs) {
        const Nanoseconds gap = std::chrono::milliseconds(10 * (*next.stampCs - *previous.stampCs));
        if (gap >= Nanoseconds::zero() && gap <= kLongestRecordedGap)
            return gap;
    }
    const Nanoseconds loop = std::chrono::milliseconds(next.loopTimeMs);
    if (loop > Nanoseconds::zero() && loop <= kLongestRecordedGap)
        return loop;
    return Nanoseconds::zero();
}

ReplayPacer::ReplayPacer(ReplayClock& clock, double speed)
    : clock_(clock)
    , speed_(speed)
{ }

void ReplayPacer::Wrap()
{
    wrapPending_ = started_;
}

Nanoseconds ReplayPacer::WrapGap(const RecordTiming& record) const
{
    const Nanoseconds loop = std::chrono::milliseconds(record.loopTimeMs);
    if (loop > Nanoseconds::zero() && loop <= kLongestRecordedGap)
        return loop;
    if (passRecords_ > 1)
        return passElapsed_ / (passRecords_ - 1);
    return Nanoseconds::zero();
}

Nanoseconds ReplayPacer::Pace(const RecordTiming& record)
{
    if (!started_) {
        started_ = true;
        origin_ = clock_.Now();
        previous_ = record;
        passRecords_ = 1;
        return elapsed_;
    }
    Nanoseconds gap {};
    if (wrapPending_) {
        gap = WrapGap(record);
        wrapPending_ = false;
        passElapsed_ = {};
        passRecords_ = 0;
    } else {
        gap = RecordedGap(previous_, record);
        passElapsed_ += gap;
    }
    ++passRecords_;
    elapsed_ += gap;
    previous_ = record;
    if (speed_ <= 0.0)
        return elapsed_;

    const auto scaled = Nanoseconds(std::llround(static_cast<double>(elapsed_.count()) / speed_));
    Nanoseconds due = origin_ + scaled;
    const Nanoseconds now = clock_.Now();
    if (now - due > kLatenessLimit) {
        origin_ += now - due;
        due = now;
    }
    if (due > now)
        clock_.SleepUntil(due);
    return elapsed_;
}

} // namespace velmaris::tool
