#include "station/CursorPlaces.h"

#include "files/TrackFile.h"

#include <cmath>
#include <cstdio>

namespace velmaris {
namespace {

constexpr double kRadians = 3.14159265358979323846 / 180.0;
constexpr long long kThousandthsPerDegree = 60'000;

std::string AngleText(double degrees, int degreeDigits, char positive, char negative)
{
    if (!std::isfinite(degrees))
        return {};
    // Rounded as a whole number of thousandths of a minute, so 59.9995' is
    // the next degree's 00.000' and a value rounding to zero has no sign.
    const long long total = std::llround(std::fabs(degrees) * double(kThousandthsPerDegree));
    const long long whole = total / kThousandthsPerDegree;
    const long long rest = total % kThousandthsPerDegree;
    char text[48];
    std::snprintf(text, sizeof text, "%0*lld\u00b0%02lld.%03lld'%c", degreeDigits, whole, rest / 1000,
        rest % 1000, degrees < 0 && total != 0 ? negative : positive);
    return text;
}

std::optional<TargetPlace> PlaceOf(const std::optional<GeoPoint>& point)
{
    if (!point)
        return std::nullopt;
    return TargetPlace {point->latitude, point->longitude};
}

} // namespace

std::string LatitudeText(double degrees)
{
    return AngleText(degrees, 2, 'N', 'S');
}

std::string LongitudeText(double degrees)
{
    return AngleText(degrees, 3, 'E', 'W');
}

std::string PositionText(const GeoPoint& point)
{
    const std::string latitude = LatitudeText(point.latitude);
    const std::string longitude = LongitudeText(point.longitude);
    return latitude.empty() || longitude.empty() ? std::string() : latitude + " " + longitude;
}

double HeadBearingOfScreen(double screenBearing, const SonarSettings& settings)
{
    return NormalisedDegrees(screenBearing - settings.rotateImage - (settings.zeroDown != 0 ? 180.0 : 0.0));
}

std::optional<GeoPoint> ScreenPlace(
    const PingNavigation& navigation, const SonarSettings& settings, double range, double screenBearing)
{
    if (settings.sectorMode == DisplayMode::SideScan || !std::isfinite(range)
        || !std::isfinite(screenBearing))
        return std::nullopt;
    return PointFromHead(
        navigation, AntennaOffsetsOf(settings), range, HeadBearingOfScreen(screenBearing, settings));
}

void PlaceTarget(MeasuredTarget& target, const PingNavigation& navigation, const SonarSettings& settings)
{
    target.places.reset();
    if (!target.anchorBearing || !target.endBearing)
        return;
    const auto anchor = PlaceOf(ScreenPlace(navigation, settings, target.anchorRange, *target.anchorBearing));
    const auto end = PlaceOf(ScreenPlace(navigation, settings, target.endRange, *target.endBearing));
    if (!anchor || !end)
        return;
    // Halfway on the screen: the mean of both ends as east and north of the head.
    const double ax = target.anchorRange * std::sin(*target.anchorBearing * kRadians);
    const double ay = target.anchorRange * std::cos(*target.anchorBearing * kRadians);
    const double ex = target.endRange * std::sin(*target.endBearing * kRadians);
    const double ey = target.endRange * std::cos(*target.endBearing * kRadians);
    const double mx = 0.5 * (ax + ex);
    const double my = 0.5 * (ay + ey);
    const double bearing = (mx == 0 && my == 0) ? 0.0 : NormalisedDegrees(std::atan2(mx, my) / kRadians);
    const auto middle = PlaceOf(ScreenPlace(navigation, settings, std::hypot(mx, my), bearing));
    if (middle)
        target.places = TargetPlaces {*anchor, *middle, *end};
}

void CursorPlaces::OnSentence(std::string_view sentence)
{
    int offset = 0;
    const double now = LocalSeconds(clock_(offset));
    live_.emplace_back(now, std::string(sentence));
    while (!live_.empty() && (live_.size() > kLiveSentenceCap || now - live_.front().first > kLiveSeconds))
        live_.pop_front();
    liveChanged_ = true;
}

PingNavigation CursorPlaces::NavigationOf(
    const PingRecord& ping, bool playback, const std::string& playbackFile, const AntennaOffsets& offsets)
{
    const auto seconds = PingStampSeconds(ping.date, ping.time, ping.hundredths);
    if (!seconds)
        return {};
    if (playback) {
        if (playbackFile != playedFile_) {
            playedFile_ = playbackFile;
            std::string error;
            if (playbackFile.empty() || !playedTrack_.Load(TrackPathFor(playbackFile), error))
                playedTrack_ = NavigationTrack();
        }
        return playedTrack_.At(*seconds, offsets);
    }
    if (liveChanged_) {
        // A few seconds of sentences: read again whole, which costs less
        // than the mouse move that asks.
        liveTrack_ = NavigationTrack();
        for (const auto& [stamp, sentence] : live_)
            liveTrack_.AddSentence(stamp, sentence);
        liveChanged_ = false;
    }
    return liveTrack_.At(*seconds, offsets);
}

} // namespace velmaris
