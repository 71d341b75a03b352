#pragma once
// Faults the simulated heads can inject, chosen by a short text such as
//   "drop=7,delay=5:300,split=1:3:20,garbage=11,close=50"
// Each item is name[=every[:a[:b]]]: the fault hits every Nth ping (counted
// from 1; a bare name means every ping).
//   drop=N            the reply is not sent
//   delay=N:MS        the reply comes MS milliseconds late (default 300)
//   split=N:K:MS      the reply goes in K pieces (default 2) MS ms apart (default 20)
//   garbage=N         the reply kind bytes are garbled ("IQX", "JGX", "IGY" in turn)
//   close=N           TCP: the connection is closed after the reply
//   undersize=N       UDP: the datagram is cut to 64 bytes
//   oversize=N        UDP: the datagram is padded to 1100 bytes
//   badlength=N       UDP: the record length field lies (65535, 0, 100, real + 256 in turn)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmaris::sim {

struct FaultPlan {
    int dropEvery = 0;
    int delayEvery = 0;
    int delayMs = 300;
    int splitEvery = 0;
    int splitParts = 2;
    int splitPauseMs = 20;
    int garbageEvery = 0;
    int closeEvery = 0;
    int undersizeEvery = 0;
    int oversizeEvery = 0;
    int badLengthEvery = 0;

    // Parses the text above; on failure returns nothing and sets error.
    static std::optional<FaultPlan> Parse(std::string_view text, std::string* error);

    // Whether a fault with this period hits ping number n (from 1).
    static bool Hits(int every, std::uint64_t n)
    {
        return every > 0 && n > 0 && n % static_cast<unsigned>(every) == 0;
    }

    bool Any() const;
};

} // namespace velmaris::sim
