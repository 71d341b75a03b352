#pragma once
// The 100-byte record header that begins every recorded ping and every UDP
// datagram, and the whole record around it: record header, the 12 reply
// header bytes, the echo bytes (252 'IMX', 500 'IGX', none 'IPX') and padding
// (0xFC then zeros) to 384, 640 or 128 bytes. Numbers are big-endian.
//
// Pure functions on the user-interface thread; file and socket handling stay
// with the callers. Any byte pattern decodes without fault.

#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velmaris {

inline constexpr std::size_t kRecordHeaderSize = 100;
inline constexpr std::size_t kRecordPrefixSize = 112; // record header + reply header
inline constexpr int kRecordLengthIMX = 384;
inline constexpr int kRecordLengthIGX = 640;
inline constexpr int kRecordLengthIPX = 128;
inline constexpr std::uint8_t kRecordPaddingMark = 0xFC;

// What the caller must do after a record header was decoded.
struct RecordHeaderEffects {
    bool clearRaster = false; // `Sector Mode` changed: clear the image raster to 0
    bool fullRedraw = false; // mode, sector width or train changed: redraw the whole image
};

// Step code in bits 0..2 of byte 37 for a command step (1,2,3,4,8,6 -> 0..5;
// anything else, "None" included, -> 0) and back (code + 1, 5 becoming 8).
// The pair is not a bijection: None (0) comes back as Slow (1), and codes 6
// and 7, never written, come back as 7 and 8.
std::uint8_t StepCodeForCommandStep(std::uint8_t commandStep);
std::uint8_t CommandStepForStepCode(int code);

// Decodes a record header into the ping (record and reply length, date, time,
// hundredths, direction flags, loop time), the command message (bytes 3 are
// left alone; 8, 10, 11, 12, 13, 14, 20, 22, 25 set) and the settings (saved
// copies, `Sonar Up/Down`, `Sector Mode`, `Speed of Sound`, `Rotate Image`,
// train angle in degrees). A `Sector Mode` outside 0..2 is taken as Sector.
RecordHeaderEffects DecodeRecordHeader(std::span<const std::uint8_t, kRecordHeaderSize> header,
    PingRecord& ping, CommandMessage& command, SonarSettings& settings);

// Tag of a written record: "52A" when the serial model is selected and no
// playback runs, or when the file played back is a serial-model file
// (`playbackFileType` serial); "52L" otherwise.
std::string_view RecordTag(SonarType sonarType, bool playback, SonarType playbackFileType);

// Encodes the whole record of the current ping. `echo` is the echo buffer
// (L0); echo bytes it does not hold are written as 0. `tag` is cut or
// zero-padded to 3 bytes; date, time and hundredths to 11, 8 and 3.
// The record is 384, 640 or 128 bytes ('IMX', 'IGX', 'IPX'); any other kind
// is written like 'IGX' with data size index 0.
std::vector<std::uint8_t> EncodeRecord(const PingRecord& ping, const CommandMessage& command,
    const SonarSettings& settings, std::span<const std::uint8_t> echo, std::string_view tag);

} // namespace velmaris
