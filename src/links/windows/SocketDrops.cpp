#include "links/SocketDrops.h"

namespace velmaris {

std::optional<std::uint32_t> ReceiveQueueDrops(SocketHandle)
{
    // Winsock keeps no per-socket count of datagrams lost on arrival.
    return std::nullopt;
}

} // namespace velmaris
