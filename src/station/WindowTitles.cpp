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

std::string RealTimeTitle(SonarType sonarType)
{
    return sonarType == SonarType::SerialK52A ? "Velmaris -- Real Time (K52A)" : "Velmaris -- Real Time (K52L)";
}

std::string RecordStartTitle(const std::string& path, bool playback)
{
    return (playback ? "Velmaris - Copy to File [" : "Velmaris - Record to File [") + path + "] ";
}

std::string RecordStopTitle(bool playback, const std::string& playbackPath, SonarType sonarType)
{
    if (playback)
        return PlaybackTitle(playbackPath);
    return sonarType == SonarType::SerialK52A ? "Velmaris - Real Time (K52A)" : "Velmaris - Real Time (K52L)";
}

} // namespace velmaris
