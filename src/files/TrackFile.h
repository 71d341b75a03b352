#pragma once
// The track beside a recording: "<data file>.nmea", one line per NMEA
// sentence the station received while it recorded:
//
//   2026-12-09T18:44:32.17+01:00<TAB>$GPRMC,...*hh<CR><LF>
//
// The stamp is the host's clock when the sentence arrived, in the same local
// time as the record headers' date, time and hundredths, with its offset
// from UTC; the sentence follows exactly as received (its line end made CR
// LF), so any NMEA tool reads it after the first field.
//
// Reading a track (for a copy's span or for navigation) is bounded: at most
// kTrackReadCap bytes of a file are read, lines longer than kTrackLineCap
// and lines without a readable stamp are skipped.
//
// Plain functions and a plain value; one thread at a time.

#include "protocol/TimeStamp.h"
#include "protocol/TrackLine.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaris {

inline constexpr const char* kTrackExtension = ".nmea";
// Bytes of one track file read at most: about eighteen hours of a receiver
// sending ten sentences a second.
inline constexpr std::size_t kTrackReadCap = 64u << 20;
inline constexpr std::size_t kTrackLineCap = 256;
// A copy takes the track this far on each side of every copied ping, so the
// copy's pings find the same fixes around them as the source's did.
inline constexpr double kTrackCopyMarginSeconds = 2.0;

// "<dataPath>.nmea".
std::string TrackPathFor(const std::string& dataPath);

struct TrackLineView {
    double localSeconds = 0; // LocalSeconds() of the stamp (local wall clock)
    int utcOffsetMinutes = 0;
    std::string_view sentence; // after the tab, without line end
};

// Reads one line (line end optional); nullopt when the stamp is not one.
std::optional<TrackLineView> ParseTrackLine(std::string_view line);

// The host clock's offset from UTC (minutes east) that the track's stamps
// give: that of its first line that reads; nullopt when none does.
std::optional<int> TrackUtcOffset(std::string_view text);

// LocalSeconds() of a ping's time stamp texts ("07-DEC-2026", "14:30:05",
// ".42" or ". 4"); nullopt when they are not a time stamp.
std::optional<double> PingStampSeconds(
    std::string_view date, std::string_view time, std::string_view hundredths);

// Reads up to kTrackReadCap bytes of `path` into `text`; false with the
// cause in `error` when the file cannot be opened.
bool ReadTrackText(const std::string& path, std::string& text, std::string& error);

// The lines of a source track handed to a copy: for each copied ping, the
// lines within kTrackCopyMarginSeconds of its stamp that the copy has not
// had yet, in the source's order. Playback that jumps (end of file, the
// position slider) starts a new span, so lines may repeat as pings do.
class TrackSpan {
public:
    // Takes the track's text; lines that do not parse are left out.
    explicit TrackSpan(std::string text);
    bool Empty() const { return lines_.empty(); }

    // Appends to `out` the whole lines (with their line end) to copy for a
    // ping at `seconds` (LocalSeconds of its stamp).
    void LinesFor(double seconds, std::vector<std::string_view>& out);

private:
    struct Line {
        double seconds;
        std::string_view text; // with its line end
    };
    void Emit(
        double from, double to, bool includeFrom, bool includeTo, std::vector<std::string_view>& out) const;

    std::string text_;
    std::vector<Line> lines_; // sorted by time (stable: the source's order among equal stamps)
    bool covered_ = false;
    double coveredFrom_ = 0;
    double coveredTo_ = 0;
};

} // namespace velmaris
