#pragma once
// Helpers shared by the simulator tests: command bytes and blocking reads
// with a deadline.

#include "protocol/CommandMessage.h"
#include "sim/SimCommand.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace velmaris::sim::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes CommandBytes(int range = 30, int train = 60, int width = 120, int step = 3, int dataPoints = 50)
{
    SimCommandSettings s;
    s.rangeMetres = range;
    s.dataPoints = dataPoints;
    CommandMessage c = BuildSimCommand(s);
    c[CommandMessage::kTrain] = static_cast<std::uint8_t>(train);
    c[CommandMessage::kSectorWidth] = static_cast<std::uint8_t>(width);
    c[CommandMessage::kStep] = static_cast<std::uint8_t>(step);
    return Bytes(c.Bytes().begin(), c.Bytes().end());
}

// Position as the station decodes it from reply bytes 5 and 6.
inline int DecodedPosition(const Bytes& reply)
{
    return (reply[6] & 0x3F) * 128 + (reply[5] & 0x7F);
}
inline int DecodedDirection(const Bytes& reply)
{
    return (reply[6] >> 6) & 1;
}

// Reads until `want` bytes arrived or the deadline passed; returns what came.
inline Bytes ReadFor(int fd, std::size_t want, int timeoutMs)
{
    Bytes out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < want) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            break;
        pollfd p {fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            break;
        std::uint8_t buffer[2048];
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, want - out.size()));
        if (n <= 0)
            break;
        out.insert(out.end(), buffer, buffer + n);
    }
    return out;
}

} // namespace velmaris::sim::test
