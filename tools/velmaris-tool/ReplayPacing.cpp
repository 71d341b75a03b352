#include "ReplayPacing.h"

#include <algorithm>
#include <array>
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
constexpr std::array<std::string_view, 12> kMonths {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// A run of exactly `count` decimal digits at `at`; -1 when it is not one.
int Digits(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

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
    // "07-DEC-2026"
    if (date.size() != 11 || date[2] != '-' || date[6] != '-')
        return std::nullopt;
    const int day = Digits(date, 0, 2);
    const int year = Digits(date, 7, 4);
    int month = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (date.substr(3, 3) == kMonths[i])
            month = static_cast<int>(i) + 1;
    if (day < 1 || day > 31 || year < 0 || month == 0)
        return std::nullopt;
    // "14:30:05"
    if (time.size() != 8 || time[2] != ':' || time[5] != ':')
        return std::nullopt;
    const int hour = Digits(time, 0, 2);
    const int minute = Digits(time, 3, 2);
    const int second = Digits(time, 6, 2);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    // ".42", ". 4" (written as ".%2d")
    if (hundredths.size() != 3 || hundredths[0] != '.')
        return std::nullopt;
    const int cs = hundredths[1] == ' ' ? Digits(hundredths, 2, 1) : Digits(hundredths, 1, 2);
    if (cs < 0)
        return std::nullopt;
    const std::int64_t seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return seconds * 100 + cs;
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
