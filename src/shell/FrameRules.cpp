#include "shell/FrameRules.h"

#include <algorithm>

namespace velmaris {

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

} // namespace velmaris
