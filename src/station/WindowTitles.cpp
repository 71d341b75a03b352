#include "station/WindowTitles.h"

#include "protocol/SonarSettings.h"

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
    if (sonarType == kSonarSerialK52A)
        return "Velmaris -- Real Time (K52A)";
    if (sonarType == kSonarEthernetK52L)
        return "Velmaris -- Real Time (K52L)";
    return std::nullopt;
}

std::string RecordStartTitle(const std::string& path, bool playback)
{
    return (playback ? "Velmaris - Copy to File [" : "Velmaris - Record to File [") + path + "] ";
}

std::optional<std::string> RecordStopTitle(bool playback, const std::string& playbackPath, int sonarType)
{
    if (playback)
        return PlaybackTitle(playbackPath);
    if (sonarType == kSonarSerialK52A)
        return std::string("Velmaris - Real Time (K52A)");
    if (sonarType == kSonarEthernetK52L)
        return std::string("Velmaris - Real Time (K52L)");
    return std::nullopt;
}

} // namespace velmaris
