#pragma once
// One line of a recording's track file (the data file's name plus ".nmea"):
// the host's time stamp with hundredths and its offset from UTC
// ("2026-12-09T18:44:32.17+01:00"), a tab, and the sentence as received,
// without its CR LF; the line ends in LF. Plain functions.

#include "protocol/TimeStamp.h"

#include <string>
#include <string_view>

namespace velmaris::sim {

// `t` is the host's local time, `utcOffsetMinutes` its offset east of UTC.
std::string TrackTimeStamp(const LocalTime& t, int utcOffsetMinutes);

std::string TrackLine(const LocalTime& t, int utcOffsetMinutes, std::string_view sentence);

} // namespace velmaris::sim
