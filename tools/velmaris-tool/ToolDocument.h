#pragma once
// The headless tool's document: the station's state, initialised as the
// station does, with only the display settings taken from an INI file.

#include "files/DataFile.h"
#include "files/RecordDecode.h"
#include "files/RecordReader.h"
#include "image/SonarState.h"

#include <memory>
#include <string>

namespace velmaris::tool {

struct ToolDocument {
    // Heap-held: the state carries the 16 MB raster and the painting tables.
    std::unique_ptr<SonarState> state = std::make_unique<SonarState>();
    SonarSettings& settings = state->settings;
    CommandMessage& command = state->command;
    PingRecord& ping = state->ping;

    // Reads "System Settings" of `iniPath` (zoom, colour table, profile mode
    // and point size, zero down ...); "" keeps the defaults. Prints a message
    // and returns false when a named file cannot be read.
    bool LoadDisplaySettings(const std::string& iniPath);

    // The display settings of `iniPath`, then the data file `path` opened for
    // reading; false (with the message printed) when either fails.
    bool Open(const std::string& iniPath, const std::string& path, DataFile& file, SonarType& fileType);

    // Decodes a record the way playback does (record header, reply header).
    RecordDecodeResult Decode(const RecordFrame& frame);
};

// Recognises and opens a data file for reading, printing the station's
// message on failure.
bool OpenDataFile(const std::string& path, DataFile& file, SonarType& fileType);

// The damage report both file subcommands print on standard error.
void ReportDamage(const char* command, std::int64_t offset, const RecordFrame& frame);

} // namespace velmaris::tool
