#pragma once
// The one part of reading the clock that differs between the platforms:
// breaking seconds since the epoch down into the local calendar time. One
// implementation per platform (posix/, windows/), chosen by the build.

#include <ctime>

namespace velmaris {

// Local calendar time of `seconds` into `out` (thread-safe); false when the
// time cannot be represented.
bool BreakDownLocalTime(std::time_t seconds, std::tm& out);

} // namespace velmaris
