#pragma once
// The byte-level steps of one serial exchange with the K52A head, on an
// abstract open port so the order of reads, purges, RTS changes and writes
// can be checked without a device. The serial worker runs these on its own
// thread with the real port.

#include "links/CTimer.h"
#include "links/Links.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmaris {

// What an exchange needs of an open port. Calls block; the worker thread
// owns the port.
class SerialPortIo {
public:
    virtual ~SerialPortIo() = default;
    // Reads until `buffer` is full or `timeoutMs` have passed since the
    // call; returns the count read.
    virtual std::size_t Read(std::span<std::uint8_t> buffer, int timeoutMs) = 0;
    // Writes `bytes`, waiting at most `timeoutMs` for them to leave; returns
    // the count written.
    virtual std::size_t Write(std::span<const std::uint8_t> bytes, int timeoutMs) = 0;
    virtual void PurgeReceive() = 0; // drops everything received and not read
    virtual void PurgeTransmit() = 0; // drops everything not yet sent
    virtual void SetRts(bool raised) = 0;
    virtual void ClearErrors() = 0;
};

// Total read or write time-out for `bytes` bytes: 50 ms plus 1 ms per byte.
constexpr int SerialTimeoutMs(std::size_t bytes)
{
    return 50 + static_cast<int>(bytes);
}

// RTS timing around the command write, in microseconds.
inline constexpr double kRtsLeadMicroseconds = 200;
inline constexpr double kRtsTrailMicroseconds = 1500;

// Reads the reply to the previous command (up to 513 bytes or the time-out),
// then purges the receive side and the transmit side. Returns the count.
std::size_t ReadReply(SerialPortIo& port, std::span<std::uint8_t, kReplyBufferSize> reply);

// Writes the 27 command bytes. In RTS mode RTS is raised 200 us before the
// write and dropped 1500 us after it (only when all bytes went out), then,
// after another 1500 us, the line errors are cleared and whatever was
// received while the host transmitted is purged. Without RTS mode nothing
// touches RTS and nothing waits. Returns the count written.
std::size_t WriteCommand(SerialPortIo& port, std::span<const std::uint8_t, kCommandSize> command,
    bool rtsMode, const Clock& clock = SteadyClock::Instance());

} // namespace velmaris
