#pragma once
// Where the points on the screen lie on the earth: the latitude and
// longitude under the cursor and of a measured target's ends and middle,
// from the navigation of the ping on screen. Live (and in UDP mode) that is
// the GPS input's sentences as they arrive, stamped with the host's clock
// as the pings are; in playback, the track beside the file played. A ping
// with no position or no heading places nothing, so a station without a GPS
// shows what it always showed.
//
// Bearings on the screen run clockwise from screen-up; the head's zero is
// turned from there by `Rotate Image` and half a turn for Zero Down, as
// the painters turn it. SideScan has no bearing and places nothing.
//
// Ownership: CursorPlaces owns its tracks and reads the track file of a
// playback once per file (at most kTrackReadCap bytes; a file that cannot
// be read is no track). User-interface thread only.

#include "image/MeasuredTargets.h"
#include "image/ViewReadouts.h"
#include "links/Navigation.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"
#include "protocol/TimeStamp.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmaris {

// "59°26.123'N" and "010°41.456'E": whole degrees (two digits of latitude,
// three of longitude), minutes rounded to thousandths (60.000 carries into
// the degrees), the hemisphere (N and E for zero). Empty when not finite.
std::string LatitudeText(double degrees);
std::string LongitudeText(double degrees);
// Both, a space between: "59°26.123'N 010°41.456'E".
std::string PositionText(const GeoPoint& point);

// The bearing from the head's zero of `screenBearing` (degrees clockwise
// from screen-up) under the display settings.
double HeadBearingOfScreen(double screenBearing, const SonarSettings& settings);

// The point `range` metres along `screenBearing` from the head; nullopt in
// SideScan or when the navigation places nothing.
std::optional<GeoPoint> ScreenPlace(
    const PingNavigation& navigation, const SonarSettings& settings, double range, double screenBearing);

// Fills `target.places` (anchor, middle, end) when the navigation places
// both ends; the middle is halfway between them on the screen.
void PlaceTarget(MeasuredTarget& target, const PingNavigation& navigation, const SonarSettings& settings);

class CursorPlaces {
public:
    // Live sentences older than this, counted from the newest, are let go.
    static constexpr double kLiveSeconds = 10.0;
    static constexpr std::size_t kLiveSentenceCap = 4096;

    // One sentence from the GPS input, stamped now.
    void OnSentence(std::string_view sentence);
    // The navigation of `ping`: from the track of `playbackFile` while
    // `playback`, otherwise from the sentences received lately.
    PingNavigation NavigationOf(const PingRecord& ping, bool playback, const std::string& playbackFile,
        const AntennaOffsets& offsets);

    // The clock of the live stamps (tests give a fixed one).
    void SetClock(LocalTime (*clock)(int& utcOffsetMinutes)) { clock_ = clock; }

private:
    std::deque<std::pair<double, std::string>> live_;
    NavigationTrack liveTrack_;
    bool liveChanged_ = false;
    std::string playedFile_;
    NavigationTrack playedTrack_;
    LocalTime (*clock_)(int&) = &CurrentLocalTime;
};

} // namespace velmaris
