#include "links/SocketDrops.h"

#include <sys/socket.h>

#if defined(__linux__)
#include <linux/sock_diag.h>
#endif

namespace velmaris {

std::optional<std::uint32_t> ReceiveQueueDrops(SocketHandle socket)
{
#if defined(__linux__) && defined(SO_MEMINFO)
    // The kernel's memory figures of the socket, the drop counter among them.
    std::uint32_t info[SK_MEMINFO_VARS] = {};
    socklen_t size = sizeof info;
    if (::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_MEMINFO, info, &size) != 0
        || size < sizeof(std::uint32_t) * (SK_MEMINFO_DROPS + 1))
        return std::nullopt;
    return info[SK_MEMINFO_DROPS];
#else
    (void)socket;
    return std::nullopt;
#endif
}

} // namespace velmaris
