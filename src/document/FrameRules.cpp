#include "document/FrameRules.h"

#include <algorithm>

namespace velmaris {

std::string PlaybackTitle(std::string_view path)
{
    std::string title = "Velmaris - Playback File [";
    title += path;
    title += "] ";
    return title;
}

std::optional<std::string> RealTimeTitle(int sonarType)
{
    if (sonarType == 0)
        return "Velmaris -- Real Time (K52A)";
    if (sonarType == 1)
        return "Velmaris -- Real Time (K52L)";
    return std::nullopt;
}

std::optional<std::string> FrameTitle(const TitleState& state)
{
    if (!state.hasDocument)
        return std::nullopt;
    if (state.playingBack)
        return PlaybackTitle(state.playbackPath);
    if (state.udpMode != 0)
        return std::string(kUdpModeTitle);
    return RealTimeTitle(state.sonarType);
}

BarPicture BarsForMode(OperatingMode mode)
{
    switch (mode) {
    case OperatingMode::RealTime:
        return {BarChange::Show, BarChange::Show, BarChange::Hide};
    case OperatingMode::Udp:
        return {BarChange::Show, BarChange::Hide, BarChange::Hide};
    case OperatingMode::Playback:
        return {BarChange::Keep, BarChange::Hide, BarChange::Show};
    }
    return {BarChange::Keep, BarChange::Keep, BarChange::Keep};
}

CommandState MiniSettingsBarState(bool playingBack, bool barVisible)
{
    return {!playingBack, barVisible};
}

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
