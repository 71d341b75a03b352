#pragma once
// The main window's titles as the station sets them: playback, real time,
// UDP mode and recording. The record titles have one hyphen and a trailing
// blank after the bracket, like the playback title; the two titles recording
// falls back to when it stops have one hyphen too.

#include "protocol/SonarSettings.h"

#include <string>
#include <string_view>

namespace velmaris {

inline constexpr std::string_view kUdpModeTitle = "Velmaris -- UDP Mode";

// "Velmaris - Playback File [path] " (one hyphen, trailing blank).
std::string PlaybackTitle(std::string_view path);
// "Velmaris -- Real Time (K52A)" / "(K52L)".
std::string RealTimeTitle(SonarType sonarType);

// "Velmaris - Record to File [" path "] " live, "Velmaris - Copy to File ["
// path "] " during playback.
std::string RecordStartTitle(const std::string& path, bool playback);
// After recording stopped: the playback title during playback, otherwise
// "Velmaris - Real Time (K52A)" or "(K52L)" by `Sonar Type`.
std::string RecordStopTitle(bool playback, const std::string& playbackPath, SonarType sonarType);

} // namespace velmaris
