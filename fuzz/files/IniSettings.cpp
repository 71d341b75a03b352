// Any bytes as the settings file: read, loaded into fresh settings (live,
// or as during playback: the input's length picks, odd for playback, so
// each input costs one pass), stored back and loaded again. Whatever the file
// holds, the loaded settings are ones the station can use and the command
// built from them is one the head can take.
#include "HeadLimits.h"
#include "files/PlaybackInput.h"
#include "files/SettingsFile.h"
#include "protocol/PingRecord.h"

#include <cmath>

namespace {

using namespace velmaris;

void CheckLoaded(const SonarSettings& s, const CommandMessage& command)
{
    if (!(s.zoom > 0.0) || !std::isfinite(s.zoom) || !std::isfinite(s.rotateImage)
        || !std::isfinite(s.speedOfSound))
        __builtin_trap();
    if (s.colorTable < 0 || s.colorTable > 8 || (s.sonarType != 0 && s.sonarType != 1) || s.rangeIndex < 0
        || s.rangeIndex >= kRangeCount || s.sectorMode < 0 || s.sectorMode > 2 || s.playbackSpeed < 0
        || s.playbackSpeed > 12 || s.gain > 40)
        __builtin_trap();
    if (!fuzz::StepCode(s.stepSize) && s.stepSize != 5) // a saved 5 is sent as 8
        __builtin_trap();
    fuzz::CheckCommand(command);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchPath(".ini");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, out);
    std::fclose(out);

    const bool playback = size % 2 == 1;
    SettingsFile file(path);
    file.Read();
    SonarSettings settings;
    CommandMessage command;
    PingRecord ping;
    InitialiseCommandMessage(command, settings);
    const SettingsFileContext context {playback};
    file.Load(settings, command, ping, context);
    CheckLoaded(settings, command);

    // What the station would write back loads as the same usable settings.
    file.Store(settings, command, context);
    SonarSettings again;
    CommandMessage againCommand;
    PingRecord againPing;
    InitialiseCommandMessage(againCommand, again);
    file.Load(again, againCommand, againPing, context);
    CheckLoaded(again, againCommand);
    std::remove(path.c_str());
    return 0;
}
