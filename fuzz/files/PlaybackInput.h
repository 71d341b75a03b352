#pragma once
// Any bytes as a data file with the given name ending: written to a file in
// memory (/dev/shm where there is one), opened, settled on its type the way
// the station settles it, walked and painted the way playback does it. The
// state and its raster live for the whole process; between inputs the state
// is set to what the file's first record says, so only a change of mode or
// range inside the file clears the raster. Nothing may hang, read or write
// out of bounds, or divide by zero.

#include "files/DataFile.h"
#include "files/PlaybackDecode.h"
#include "files/RecordDecode.h"
#include "files/RecordReader.h"
#include "image/ScanLinePainter.h"
#include "image/SonarState.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace velmaris::fuzz {

inline std::string ScratchPath(const char* ending)
{
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/velmaris-fuzz-" + std::to_string(getpid()) + ending;
}

// The input as the whole file at `path`; false when it cannot be written.
inline bool WriteScratch(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    if (size > 0)
        std::fwrite(data, 1, size, out);
    return std::fclose(out) == 0;
}

// A side-scan waterfall leaves the raster's rows rotated; in the station the
// change to another mode clears the raster, which also puts the rows back.
// When the state was set to a record's mode without that change, do the same
// here (a memset), so the sector painter never has to rotate 16 MB itself.
inline void RestoreRowOrder(SonarState& state)
{
    if (state.settings.sectorMode != DisplayMode::SideScan && state.raster.RowOrigin() != 0)
        ClearImage(state.raster);
}

inline void RunPlaybackInput(const std::uint8_t* data, std::size_t size, SonarType typeFromName, const char* ending)
{
    static auto state = std::make_unique<SonarState>();
    static const SonarSettings freshSettings = state->settings;
    static const CommandMessage freshCommand = state->command;
    static const std::string path = ScratchPath(ending);
    if (!WriteScratch(path, data, size))
        return;

    state->settings = freshSettings;
    state->settings.zoom = 0.5; // a quarter of the pixels per ping, the same code
    state->command = freshCommand;
    state->ping = PingRecord {};
    state->flags = DocumentFlags {};

    DataFile file;
    if (file.Open(path) == DataFile::OpenResult::Ok) {
        const SonarType fileType = SettleFileType(typeFromName, std::span(data, std::min<std::size_t>(size, 3)));
        RecordFrame first;
        if (ReadRecordFrame(file, 0, first) == RecordStatus::Ok)
            DecodeRecordedPing(AsRecordedPing(first), state->ping, state->command, state->settings,
                ReplyContext {true, false});
        RestoreRowOrder(*state);
        WalkRecords(
            file, fileType,
            [](const RecordFrame& frame) {
                if (DecodePlaybackRecord(*state, frame).valid)
                    PaintCurrentPing(*state);
            },
            [](std::int64_t, const RecordFrame&) {});
    }
    std::remove(path.c_str());
}

} // namespace velmaris::fuzz
