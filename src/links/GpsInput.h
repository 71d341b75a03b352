#pragma once
// What the rest of the station sees of the GPS input: whether it runs, the
// six texts and the recent sentences. The reader on the serial port
// implements it; a window that shows the texts only needs this.
//
// Thread: user-interface thread only.

#include "links/NmeaDecoder.h"

#include <string>
#include <utility>
#include <vector>

namespace velmaris {

inline constexpr int kGpsTickMs = 200;

class GpsSource {
public:
    virtual ~GpsSource() = default;
    virtual bool Running() const = 0;
    virtual GpsTexts Texts() const = 0;
    // Oldest first, at most kGpsRecentSentences.
    virtual std::vector<std::string> RecentSentences() const = 0;
};

// "COM<n> is not available. ..." for the GPS port.
std::string GpsNotAvailableMessage(int comPort);

// The six texts on one line for a status pane:
// "GPS 12:35:19 31-DEC-1999  48.07.038 N  011.31.000 E  22.40 Knots  84.40 Deg.".
std::string GpsStatusLine(const GpsTexts& texts);

// The six texts as labelled lines for the diagnostics window, in the order
// time, date, latitude, longitude, speed, course.
std::vector<std::pair<std::string, std::string>> GpsDiagnosticsLines(const GpsTexts& texts);

} // namespace velmaris
