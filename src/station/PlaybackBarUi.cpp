#include "station/PlaybackBarUi.h"

#include <algorithm>

namespace velmaris {

std::int64_t PlaybackFileStep(std::int64_t fileLength)
{
    return fileLength > 0 ? fileLength / 100 : 0;
}

std::int64_t SliderSeekOffset(int position, int sliderMin, int sliderMax, std::int64_t fileStep)
{
    if (position >= sliderMax)
        position = sliderMin;
    // A slider never reports a position below its minimum; keep the offset
    // inside the file all the same.
    position = std::max(position, 0);
    return static_cast<std::int64_t>(position) * fileStep;
}

std::optional<int> PlaybackSpeedAfterStep(
    int speed, int delta, bool realTimePlay, std::int64_t recordedInterval)
{
    if (realTimePlay && recordedInterval != 0)
        return std::nullopt;
    const long long next = static_cast<long long>(speed) + delta;
    return static_cast<int>(std::clamp<long long>(next, kPlaybackSpeedMin, kPlaybackSpeedMax));
}

} // namespace velmaris
