#pragma once
// The head answers each command with one reply: a 12-byte reply header
// ('IMX', 'IGX' or 'IPX', head id, status, position, range, profile, data
// count) followed by the echo bytes. These functions take a raw reply apart
// into the current PingRecord and the echo buffer (L0) and decode its header.
//
// All functions run on the user-interface thread with the rest of the ping
// pipeline; none of them allocates, throws or reads past the bytes given.

#include "protocol/CommandMessage.h"
#include "protocol/EchoLine.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmaris {

inline constexpr int kReplyLengthIMX = 265; // 12 + 250 echo bytes + 3 trailing
inline constexpr int kReplyLengthIGX = 513; // 12 + 500 echo bytes + 1 trailing
inline constexpr int kReplyLengthIPX = 13; // 12 + 1 trailing, no echoes
inline constexpr int kReplyLengthUnknown = 513;

// The acquisition modes the decoding depends on.
struct ReplyContext {
    bool playback = false; // a data file is being played back
    bool udpMode = false; // pings arrive as UDP datagrams
};

// Total reply length for the kind in bytes 0..2 (exact upper-case compare):
// 265, 513, 13, or 513 for anything else (also when fewer than 3 bytes).
int ReplyLengthForKind(std::span<const std::uint8_t> reply);

// Copies bytes to the start of the echo buffer, at most its 640 bytes; the
// rest of L0 keeps its previous content. Returns the number copied.
std::size_t CopyIntoEchoBuffer(std::span<const std::uint8_t> bytes, ScanLine& l0);

// Places a received reply: bytes 0..11 into the reply header of `ping`, bytes
// 12..(reply length - 1) at the start of `l0`. `received` is what the link
// actually delivered; a header byte that did not arrive is zeroed (so a short
// reply never decodes as the previous one), echo bytes that did not arrive
// leave L0 as it was. Sets and returns the ping's reply length (from the kind).
int StoreReply(std::span<const std::uint8_t> received, PingRecord& ping, ScanLine& l0);

// Decodes the reply header already placed in `ping.replyHeader`. Returns
// false when bytes 0..2 are not a reply kind (compared lower-cased); then
// nothing in `ping`, `command` or `settings` changes. On success updates the
// ping's decoded fields, `settings.rangeIndex`, command byte 19 and, during
// playback or in UDP mode, command byte 3. Reads `settings.sonarUpDown`,
// `rotateImage` and `zeroDown`.
bool DecodeReplyHeader(
    PingRecord& ping, CommandMessage& command, SonarSettings& settings, const ReplyContext& context);

} // namespace velmaris
