#pragma once
// One line of a recording's track file (the data file's name plus ".nmea"):
// the host's time stamp with hundredths and its offset from UTC
// ("2026-12-09T18:44:32.17+01:00"), a tab, and the sentence as received
// without its line end; the line ends in CR LF, as the sentence did. The
// station's track writer and the simulated recordings write the same lines.
// Plain functions.

#include "protocol/TimeStamp.h"

#include <string>
#include <string_view>

namespace velmaris {

// `t` is the host's local time, `utcOffsetMinutes` its offset east of UTC;
// the hundredths are truncated from the milliseconds.
std::string FormatTrackStamp(const LocalTime& t, int utcOffsetMinutes);

// One whole line: stamp, tab, `sentence` without its line end, CR LF.
std::string TrackLine(const LocalTime& t, int utcOffsetMinutes, std::string_view sentence);

} // namespace velmaris
