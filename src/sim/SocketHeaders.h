#pragma once
// The system's socket headers and its name for a socket, on each platform:
// the one place under the simulated heads that tells them apart at compile
// time (their code sits in posix/ and windows/).

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#endif

namespace velmaris::sim {

// A socket (or, on POSIX, any file descriptor) as the system knows it.
#if defined(_WIN32)
using Descriptor = SOCKET;
inline constexpr Descriptor kNoDescriptor = INVALID_SOCKET;
#else
using Descriptor = int;
inline constexpr Descriptor kNoDescriptor = -1;
#endif

} // namespace velmaris::sim
