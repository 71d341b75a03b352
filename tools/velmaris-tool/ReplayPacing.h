#pragma once
// When `velmaris-tool replay` sends each record: the recorded time stamps
// (date, time and hundredths of each record header) give the gaps between
// pings, scaled by the replay speed and kept against one origin, so the
// sending never drifts from the recording. Plain logic over a clock the
// caller provides; the tests drive it with a clock of their own.

#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/RecordHeader.h"
#include "protocol/SonarSettings.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace velmaris::tool {

using Nanoseconds = std::chrono::nanoseconds;

class ReplayClock {
public:
    virtual ~ReplayClock() = default;
    virtual Nanoseconds Now() = 0; // monotonic
    virtual void SleepUntil(Nanoseconds when) = 0; // returns at `when` or soon after
};

// The machine's steady clock. SleepUntil sleeps to shortly before the
// moment and spins the rest, so a datagram leaves within microseconds of it.
// Given `stop` (a flag a signal handler sets), a sleep also ends within
// kStopCheck of the flag being set: a sleep is not ended by the signal
// itself.
class SteadyReplayClock final : public ReplayClock {
public:
    explicit SteadyReplayClock(const volatile std::sig_atomic_t* stop = nullptr);
    Nanoseconds Now() override;
    void SleepUntil(Nanoseconds when) override;

    static constexpr Nanoseconds kStopCheck = std::chrono::milliseconds(20);

private:
    const volatile std::sig_atomic_t* stop_;
};

// A record's time stamp as centiseconds since 1 January 1970 (the texts
// "07-DEC-2026", "14:30:05", ".42" or ". 4"); nullopt when a text is not a
// date, a time or hundredths.
std::optional<std::int64_t> StampCentiseconds(
    std::string_view date, std::string_view time, std::string_view hundredths);

struct RecordTiming {
    std::optional<std::int64_t> stampCs; // StampCentiseconds of the record
    int loopTimeMs = 0; // record header bytes 93..94: the time since the ping before
};

// Reads the timing of record headers, decoding each into scratch state of
// its own (the replay decodes nothing else).
class RecordTimingReader {
public:
    RecordTiming Read(std::span<const std::uint8_t, kRecordHeaderSize> header);

private:
    PingRecord ping_;
    CommandMessage command_ {};
    SonarSettings settings_;
};

// Gaps longer than this, and steps back in the stamps (a copy made from a
// playback that wrapped, or a day's clock change), are not waited out: the
// record's loop time stands in for them.
inline constexpr Nanoseconds kLongestRecordedGap = std::chrono::seconds(10);
// A sender held up for longer than this (the machine was busy, the process
// was stopped) picks the pacing up from now instead of sending the backlog
// in a burst.
inline constexpr Nanoseconds kLatenessLimit = std::chrono::milliseconds(250);

// The recorded time between two consecutive records.
Nanoseconds RecordedGap(const RecordTiming& previous, const RecordTiming& next);

class ReplayPacer {
public:
    // `speed` scales the recorded time (2: twice as fast); 0 sends at once.
    ReplayPacer(ReplayClock& clock, double speed);

    // Waits until the record is due and returns the recorded time from the
    // first record sent to this one (summed over the passes of a loop).
    Nanoseconds Pace(const RecordTiming& record);

    // The next record begins a new pass over the file (--loop). The gap
    // before it is its own loop time, or else the mean gap of the pass that
    // ended, so the dive goes round at the pace it was recorded.
    void Wrap();

    Nanoseconds RecordedElapsed() const { return elapsed_; }

private:
    Nanoseconds WrapGap(const RecordTiming& record) const;

    ReplayClock& clock_;
    double speed_;
    bool started_ = false;
    bool wrapPending_ = false;
    Nanoseconds origin_ {};
    Nanoseconds elapsed_ {};
    Nanoseconds passElapsed_ {};
    std::int64_t passRecords_ = 0;
    RecordTiming previous_;
};

} // namespace velmaris::tool
