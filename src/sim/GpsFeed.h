#pragma once
// What the simulated GPS sends at each of its epochs: RMC, GGA, VTG and HDT
// for the boat's pose, with the chosen talker, and the faults asked for:
// every Nth sentence with a wrong checksum, and drop-outs, a stretch at the
// end of every period in which the receiver says nothing (or, with
// `noFix`, goes on talking without a fix). Deterministic: the same options
// and epochs give the same sentences. Not thread-safe (it counts sentences).

#include "sim/Boat.h"
#include "sim/NmeaSentences.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaris::sim {

struct GpsDropouts {
    double every = 0.0; // seconds of the period, 0 for none
    double length = 0.0; // seconds without a fix at the end of each period
    bool noFix = false; // go on talking, without a fix, instead of falling silent
};

struct GpsFeedOptions {
    std::string talker = "GP"; // two capital letters
    double rateHz = 1.0; // epochs a second, 0.1..20
    int badChecksumEvery = 0; // every Nth sentence (from 1) has a wrong checksum; 0 none
    GpsDropouts dropouts {};
};

// "EVERY:LENGTH" or "EVERY:LENGTH:nofix" (seconds, LENGTH below EVERY), or
// nullopt with a message.
std::optional<GpsDropouts> ParseDropouts(std::string_view text, std::string* error);

// The talker is two capital letters.
bool IsTalker(std::string_view text);

class GpsFeed {
public:
    GpsFeed(const BoatOptions& boat, const GpsFeedOptions& options);

    // The sentences of the epoch at this boat clock time (Unix seconds, UTC),
    // in the order RMC, GGA, VTG, HDT; none in a silent drop-out.
    std::vector<std::string> Epoch(double clockSeconds);

    // The fix the receiver reports at that time (valid false in a drop-out).
    NavFix FixAt(double clockSeconds) const;
    bool InDropout(double clockSeconds) const;

    const Boat& GetBoat() const { return boat_; }
    const GpsFeedOptions& Options() const { return options_; }

private:
    Boat boat_;
    GpsFeedOptions options_;
    unsigned long long sentences_ = 0;
};

} // namespace velmaris::sim
