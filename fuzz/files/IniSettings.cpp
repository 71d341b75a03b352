// Any bytes as the settings file: read, loaded into fresh settings (live,
// or as during playback: the input's length picks, odd for playback, so
// each input costs one pass), stored back and loaded again. Whatever the file
// holds, the keys that keep a limit lie inside it and the command built from
// the settings is one the head can take. Most values are used as stored, so
// the loaded settings also go through what reads them: a ping decoded and
// painted, the view's overlays and clip, and the settings panel's fields.
#include "HeadLimits.h"
#include "controls/ControlTexts.h"
#include "files/PlaybackInput.h"
#include "files/SettingsFile.h"
#include "image/SectorClip.h"
#include "image/ViewGeometry.h"
#include "image/ViewScene.h"
#include "image/ViewSource.h"
#include "protocol/PingRecord.h"
#include "protocol/ReplyMessage.h"

#include <array>
#include <climits>
#include <cmath>
#include <memory>
#include <variant>

namespace {

using namespace velmaris;

void CheckLoaded(const SonarSettings& s, const CommandMessage& command)
{
    if (!(s.zoom >= 0.01 && s.zoom <= kMaxPaintZoom) || !(std::fabs(s.rotateImage) <= 1.0e6)
        || !(s.speedOfSound >= 1400.0 && s.speedOfSound <= 1600.0))
        __builtin_trap();
    if (s.colorTable < 0 || s.colorTable > 8 || s.rangeIndex < 0 || s.rangeIndex >= kRangeCount
        || !DisplayModeForCode(CodeOf(s.sectorMode)) || s.playbackSpeed < 0 || s.playbackSpeed > 12 || s.gain > 40
        || s.useGps != 0)
        __builtin_trap();
    if (!fuzz::StepCode(s.stepSize) && s.stepSize != 5) // a saved 5 is sent as 8
        __builtin_trap();
    fuzz::CheckCommand(command);
}

// The view draws an arc's angles in whole sixteenths of a degree.
bool ArcAngleFits(float degrees)
{
    return std::fabs(double(degrees) * 16) < double(INT_MAX);
}

// One ping straight ahead with its bottom at half the range, decoded and
// painted with the loaded settings; then the view and the panel read them.
void UseLoaded(const SonarSettings& settings, const CommandMessage& command)
{
    static auto state = std::make_unique<SonarState>();
    state->settings = settings;
    state->command = command;
    fuzz::RestoreRowOrder(*state);

    const int range = command[CommandMessage::kRange];
    const int position = 600;
    const int profile = range * 50; // centimetres
    const int echoes = 500;
    std::array<std::uint8_t, kReplyLengthIGX> reply {};
    const std::array<std::uint8_t, 12> header {'I', 'G', 'X', 0x10, 1, std::uint8_t(position & 0x7F),
        std::uint8_t(position >> 7 | 0x40), std::uint8_t(range), std::uint8_t(profile & 0x7F),
        std::uint8_t(profile >> 7 & 0x7F), std::uint8_t(echoes & 0x7F), std::uint8_t(echoes >> 7)};
    std::copy(header.begin(), header.end(), reply.begin());
    std::fill(reply.begin() + 12, reply.end(), std::uint8_t(200));
    StoreReply(reply, state->ping, state->history.l0);
    if (DecodeReplyHeader(state->ping, state->command, state->settings, ReplyContext {}))
        PaintCurrentPing(*state);

    const ViewGeometry geo = ComputeViewGeometry(800, 600, settings.zoom, settings.sectorMode, 0, 0);
    ViewInteraction view;
    ViewStatus status;
    status.sonarType = settings.sonarType;
    status.udpMode = settings.udpMode;
    status.sonarComPort = settings.sonarComPort;
    for (const ViewItem& item : BuildViewScene(*state, status, view, geo))
        if (const auto* arc = std::get_if<ViewArc>(&item))
            if (!ArcAngleFits(arc->startDeg) || !ArcAngleFits(arc->sweepDeg))
                __builtin_trap();
    const SectorClip clip = MakeViewClip(geo, state->settings, state->command);
    for (int y = 0; y < 600; y += 7) {
        PixelSpan spans[2];
        const int count = clip.RowSpans(y, spans);
        for (int i = 0; i < count; ++i)
            if (spans[i].begin < 0 || spans[i].end > 800 || spans[i].begin >= spans[i].end)
                __builtin_trap();
    }
    SharedFieldViews(state->settings, state->command);
    ManualSetupViewOf(state->settings, state->command);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchPath(".ini");
    if (!fuzz::WriteScratch(path, data, size))
        return 0;

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
    UseLoaded(settings, command);

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
