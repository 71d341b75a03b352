#pragma once
// One NMEA 0183 sentence taken apart: where a sentence starts, its talker
// and type, its checksum, its fields, and the fixes and headings it carries
// as numbers. The texts of the GPS pane (NmeaDecoder) and the navigation of
// a recording (Navigation) both read sentences through here, so both take
// the same talkers and refuse the same damaged sentences.
//
// Receivers with several constellations talk as "GN" (or "GL", "GA", "GB")
// instead of "GP"; gyros and compasses talk as "HE", "HC", "HN", "IN" or
// "II". A sentence with a checksum that does not match, or holding bytes
// outside printable ASCII, carries nothing. Every function reads only inside
// the text it is given; plain functions, any thread.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace velmaris {

// True when `text` holds a sentence start at `at`: "$" and two upper-case
// letters (a talker, or "P" and the maker's first letter).
bool IsNmeaSentenceStart(std::string_view text, std::size_t at);

// Talkers whose GGA, GLL, RMC and VTG sentences are read.
bool IsGnssTalker(std::string_view talker);
// Talkers whose HDT, HDG and THS sentences are read (the GNSS talkers too:
// receivers with two antennas send headings).
bool IsHeadingTalker(std::string_view talker);

enum class NmeaChecksum {
    Absent, // no "*": accepted as NMEA allows
    Good,
    Bad, // "*" not followed by two hex digits matching the XOR of the body
};

// The checksum of `sentence` ("$" ... optionally "*hh", line end optional).
NmeaChecksum CheckNmeaChecksum(std::string_view sentence);

// "*hh" as two upper-case hex digits for `body` (the characters between "$"
// and "*"), for those who write sentences.
std::array<char, 2> NmeaChecksumDigits(std::string_view body);

// The comma-separated fields of a sentence body ([0] is "$GPRMC"), without
// allocating; fields past the first kKept are not kept.
class NmeaFields {
public:
    explicit NmeaFields(std::string_view body);
    bool Has(std::size_t index) const { return index < count_; }
    // "" for a field past the end.
    std::string_view operator[](std::size_t index) const { return Has(index) ? fields_[index] : ""; }
    std::size_t Count() const { return count_; }

    static constexpr std::size_t kKept = 24;

private:
    std::array<std::string_view, kKept> fields_ {};
    std::size_t count_ = 0;
};

// A sentence ready to decode: the body between "$" and its end, cut before
// a second "$" (a new sentence that began before this one ended), without
// line end or checksum; talker and type. Nullopt when the sentence is too
// short, holds non-printable bytes or fails its checksum.
struct NmeaBody {
    std::string_view body; // "$GPRMC,..." without "*hh" and line end
    std::string_view talker; // "GP"
    std::string_view type; // "RMC"
};
std::optional<NmeaBody> NmeaSentenceBody(std::string_view sentence);

// A leading decimal number ("12.5", "-3", "000.06702"); what follows it is
// ignored. Nine integer digits at most.
std::optional<double> NmeaLeadingNumber(std::string_view field);

// "ddmm.mmmm" (latitude) or "dddmm.mmmm" (longitude) and its hemisphere
// letter in signed degrees (south and west negative); nullopt when either is
// not a position (minutes 60 or more, beyond 90 or 180 degrees).
std::optional<double> NmeaDegrees(std::string_view field, std::string_view hemisphere, bool latitude);

// What one sentence says about where the boat is and where it heads. Angles
// in degrees, 0 to 360 clockwise from true north; speeds in knots.
struct NmeaReading {
    enum class Kind {
        None, // not a sentence navigation reads, or damaged
        Fix, // GGA, GLL, RMC: a position (when valid) and the receiver's time of day
        Motion, // VTG: course and speed over ground only
        Heading, // HDT, THS, HDG
    };
    Kind kind = Kind::None;
    // Fix.
    bool valid = false; // status A / quality above 0, and a readable position
    double latitude = 0;
    double longitude = 0;
    std::optional<double> secondsOfDay; // the receiver's UTC time of the fix
    std::optional<long long> utcDay; // RMC's date, days from 1970-01-01
    // Fix (RMC) and Motion.
    std::optional<double> speedKnots;
    std::optional<double> courseTrue;
    std::optional<double> variation; // RMC's magnetic variation, east positive
    // Heading.
    double heading = 0;
    bool magnetic = false; // HDG without variation: magnetic heading (deviation applied)
};

// Reads one sentence (line end optional). Untrusted text: anything damaged
// gives Kind::None.
NmeaReading ReadNmeaSentence(std::string_view sentence);

} // namespace velmaris
