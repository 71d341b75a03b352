#pragma once
// NMEA 0183 sentences of the simulated GPS: RMC, GGA, VTG and HDT for one
// fix, each "$" + talker + type + fields + "*" + two hex digits of checksum +
// CR LF. Positions carry five decimals of minutes (about 2 cm). Plain
// functions, any thread.

#include "protocol/TimeStamp.h"
#include "sim/Geodesy.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmaris::sim {

// What one fix of the receiver says. `utc` holds UTC in LocalTime's fields.
struct NavFix {
    LocalTime utc;
    bool valid = true; // false: no fix (RMC status V, GGA quality 0, no position or motion)
    GeoPoint position;
    double speedKnots = 0.0;
    double courseDegrees = 0.0; // over the ground, true
    double headingDegrees = 0.0; // of the bow, true
    int satellites = 9;
    double hdop = 0.9;
};

// XOR of every character of `body` (the text between "$" and "*"), as two
// upper-case hex digits.
std::string NmeaChecksum(std::string_view body);

// Sentences with the talker given ("GP", "GN", ...).
std::string RmcSentence(const NavFix& fix, std::string_view talker);
std::string GgaSentence(const NavFix& fix, std::string_view talker);
std::string VtgSentence(const NavFix& fix, std::string_view talker);
std::string HdtSentence(const NavFix& fix, std::string_view talker);

// The same sentence with a checksum that is certainly wrong.
std::string SpoilChecksum(std::string sentence);

} // namespace velmaris::sim
