#include "protocol/TrackLine.h"

#include <cstdio>

namespace velmaris {

std::string FormatTrackStamp(const LocalTime& t, int utcOffsetMinutes)
{
    const int offset = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%02d%c%02d:%02d", t.year, t.month, t.day,
        t.hour, t.minute, t.second, t.millisecond / 10, utcOffsetMinutes < 0 ? '-' : '+', offset / 60,
        offset % 60);
    return text;
}

std::string TrackLine(const LocalTime& t, int utcOffsetMinutes, std::string_view sentence)
{
    while (!sentence.empty() && (sentence.back() == '\n' || sentence.back() == '\r'))
        sentence.remove_suffix(1);
    std::string line = FormatTrackStamp(t, utcOffsetMinutes);
    line += '\t';
    line += sentence;
    line += "\r\n";
    return line;
}

} // namespace velmaris
