#pragma once
// XTF, the exchange format survey software opens, written for one sonar
// channel: a 1024-byte file header (its first 128-byte channel description
// filled, the other five zero), then packets back to back:
//
// - a sonar packet per ping: the 256-byte ping header, one 64-byte channel
//   header, the samples (one byte each, in time order), zeros to a multiple
//   of 64 bytes; its size field holds the whole packet, padding included;
// - a 256-byte notes packet per note (at most 199 characters of text).
//
// Every number is little-endian and placed byte by byte at its offset, so
// the layout is the same on every compiler and host; every field not named
// here is zero. Positions are latitude and longitude in signed decimal
// degrees; the sound velocity is stored as half the speed of sound, the
// convention of the format's own recorder; times carry hundredths.
//
// Plain functions on plain values, any thread. Nothing fails: texts longer
// than their field are cut (one NUL always kept), numbers out of a field's
// range are clamped.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velmaris {

inline constexpr std::size_t kXtfFileHeaderSize = 1024;
inline constexpr std::size_t kXtfChannelInfoOffset = 256; // the first of six 128-byte descriptions
inline constexpr std::size_t kXtfPingHeaderSize = 256;
inline constexpr std::size_t kXtfChannelHeaderSize = 64;
inline constexpr std::size_t kXtfNotesSize = 256;
inline constexpr std::size_t kXtfPacketAlignment = 64;
inline constexpr std::size_t kXtfNotesTextMax = 199;
inline constexpr std::uint16_t kXtfMagic = 0xFACE;
inline constexpr std::uint8_t kXtfSonarPacket = 0;
inline constexpr std::uint8_t kXtfNotesPacket = 1;
// Readers take the sample count from the channel header only from this
// recorder version on.
inline constexpr std::string_view kXtfRecorderVersion = "223";

enum class XtfChannel : std::uint8_t { Port = 1, Starboard = 2 };

// A broken-down time; hundredths 0..99.
struct XtfTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredths = 0;
};

// Seconds from 1970-01-01 00:00 (as LocalSeconds counts them) broken down,
// rounded to the nearest hundredth.
XtfTime XtfTimeOfSeconds(double seconds);

struct XtfFileInfo {
    std::string_view programName; // at most 7 characters kept
    std::string_view sonarName; // 15
    std::string_view note; // 63: what the ping times are (UTC or local)
    std::string_view fileName; // 63: the base name of the file
    XtfChannel channel = XtfChannel::Port;
    float frequencyKhz = 0;
};

// One ping. Navigation the track does not give stays 0.
struct XtfPing {
    XtfTime time;
    std::uint32_t pingNumber = 0;
    double soundVelocity = 1500.0; // m/s; written halved
    double slantRange = 0; // metres
    double secondsPerPing = 0;
    std::uint16_t frequencyKhz = 0;
    std::uint16_t gainCode = 0;
    double headBearing = 0; // degrees from the head's zero, kept as the first user value
    double sensorLatitude = 0; // the head
    double sensorLongitude = 0;
    double shipLatitude = 0; // the GPS antenna
    double shipLongitude = 0;
    double heading = 0; // degrees clockwise from true north
    double speedKnots = 0;
    XtfTime fixTime; // of the fix used; only hours to hundredths are written
    bool hasFixTime = false;
    std::span<const std::uint8_t> samples; // at least one
};

// The file header for one sonar channel.
std::array<std::uint8_t, kXtfFileHeaderSize> XtfFileHeader(const XtfFileInfo& info);

// The size of a one-channel sonar packet of `sampleCount` samples, padding
// included.
std::size_t XtfPingPacketSize(std::size_t sampleCount);

// Appends the ping's packet to `out`; false, with nothing appended, for a
// ping without samples (readers would take the count from elsewhere).
bool AppendXtfPing(const XtfPing& ping, std::vector<std::uint8_t>& out);

// Appends a notes packet: `text` (the first kXtfNotesTextMax bytes) at `time`
// (no hundredths).
void AppendXtfNote(const XtfTime& time, std::string_view text, std::vector<std::uint8_t>& out);

} // namespace velmaris
