#include "links/SerialExchange.h"

namespace velmaris {

std::size_t ReadReply(SerialPortIo& port, std::span<std::uint8_t, kReplyBufferSize> reply)
{
    const std::size_t count = port.Read(reply, SerialTimeoutMs(reply.size()));
    port.PurgeReceive();
    port.PurgeTransmit();
    return count < reply.size() ? count : reply.size();
}

std::size_t WriteCommand(
    SerialPortIo& port, std::span<const std::uint8_t, kCommandSize> command, bool rtsMode, const Clock& clock)
{
    port.PurgeTransmit();
    if (rtsMode) {
        port.SetRts(true);
        BusyWaitMicroseconds(kRtsLeadMicroseconds, clock);
    }
    const std::size_t written = port.Write(command, SerialTimeoutMs(command.size()));
    if (rtsMode) {
        BusyWaitMicroseconds(kRtsTrailMicroseconds, clock);
        // After a short write RTS stays raised until the next complete one.
        if (written == command.size())
            port.SetRts(false);
        BusyWaitMicroseconds(kRtsTrailMicroseconds, clock);
        port.ClearErrors();
        port.PurgeReceive();
    }
    return written;
}

} // namespace velmaris
