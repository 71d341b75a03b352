#pragma once
// Window titles of recording. The record titles have one hyphen and a
// trailing blank after the bracket, like the playback title (FrameRules.h);
// the two titles recording falls back to when it stops have one hyphen too.

#include <optional>
#include <string>

namespace velmaris {
// "Velmaris - Record to File [" path "] " live, "Velmaris - Copy to File ["
// path "] " during playback.
std::string RecordStartTitle(const std::string& path, bool playback);
// After recording stopped: the playback title during playback, otherwise
// "Velmaris - Real Time (K52A)" or "(K52L)" by `Sonar Type`; nullopt (title
// unchanged) for any other type.
std::optional<std::string> RecordStopTitle(bool playback, const std::string& playbackPath, int sonarType);

} // namespace velmaris
