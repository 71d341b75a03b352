#pragma once
// Writes a recording of a simulated dive without any network: pings of a
// seeded head, stamped from a fixed start time at the station's ping period,
// encoded with the station's record encoder. The same options give the same
// file. The synthetic clock runs on UTC: its stamps are UTC times.
//
// With a boat the head rides it from its start at the first ping; with a
// track, the GPS's sentences for the same boat go beside the recording in
// `<recording>.nmea` (TrackLine), one fix a period of the GPS rate from a
// second before the first ping to a second after the last.

#include "sim/GpsFeed.h"
#include "sim/SimCommand.h"

#include <cstdint>
#include <string>

namespace velmaris::sim {

struct SynthOptions {
    int pings = 400;
    SimCommandSettings command;
    std::uint64_t seed = 1;
    bool boat = false; // the head rides the boat (a track implies it)
    BoatOptions boatOptions; // its epoch is set to the first ping
    bool track = false;
    GpsFeedOptions gps;
};

// When the synthetic recordings start (UTC).
inline constexpr LocalTime kSynthStart {2026, 12, 7, 12, 0, 0, 0};

// The track file's name for a recording.
std::string TrackPathFor(const std::string& recordingPath);

// Writes the track of `pings` pings `periodMs` apart from kSynthStart.
bool WriteSyntheticTrack(
    const std::string& path, const SynthOptions& options, int periodMs, std::string* error);

// The tag for a file name: "52A" for ".52a", "52L" for ".52l" (case ignored),
// or "" for any other name.
std::string TagForFileName(const std::string& path);

// Writes the file (replacing it). False with a message on any failure,
// including a name without a .52a or .52l extension.
bool WriteSyntheticRecording(const std::string& path, const SynthOptions& options, std::string* error);

} // namespace velmaris::sim
