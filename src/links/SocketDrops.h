#pragma once
// Datagrams the operating system threw away for a socket because its receive
// queue was full: they never reached the station, so only the system can
// say how many there were. One implementation per platform (posix/,
// windows/), chosen by the build.

#include <cstdint>
#include <optional>

namespace velmaris {

// An open socket as the operating system knows it: a descriptor on POSIX, a
// SOCKET on Windows. The caller keeps it open.
using SocketHandle = std::intptr_t;

// The socket's count of datagrams dropped on arrival since it was made, as
// a counter that wraps at 2^32 (take differences modulo 2^32). Nothing where
// the system does not keep one per socket.
std::optional<std::uint32_t> ReceiveQueueDrops(SocketHandle socket);

} // namespace velmaris
