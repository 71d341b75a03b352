#pragma once
// Calendar arithmetic for the simulated GPS and its tracks: UTC as
// milliseconds since 1970-01-01 and as a broken-down time (LocalTime's
// fields, which here hold UTC). Proleptic Gregorian calendar, no leap
// seconds, like every GPS receiver's UTC output. Plain functions.

#include "protocol/TimeStamp.h"

namespace velmaris::sim {

long long UnixMsFromUtc(const LocalTime& utc);
LocalTime UtcFromUnixMs(long long unixMs);

// The system clock now, as Unix milliseconds.
long long UnixMsNow();

} // namespace velmaris::sim
