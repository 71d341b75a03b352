#pragma once
// Addresses the simulated heads may use: loopback only (127.0.0.0/8, ::1,
// "localhost"). Anything else is refused with a message naming it.

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/SocketHeaders.h"

namespace velmaris::sim {

struct LoopbackEndpoint {
    std::string host; // numeric, as given ("localhost" becomes 127.0.0.1)
    std::uint16_t port = 0;
    sockaddr_storage address {};
    socklen_t length = 0;
    int family = AF_INET;
};

// Parses "HOST:PORT", "HOST", "[::1]:PORT" or ":PORT" (host 127.0.0.1), with
// defaultPort when no port is given. Returns false with a message in error
// for a malformed text or a host that is not loopback.
bool ParseLoopbackEndpoint(
    std::string_view text, std::uint16_t defaultPort, LoopbackEndpoint& out, std::string* error);

// The same forms for any numeric host, loopback or not, for a sender the
// operator may point at another machine; the caller decides what it allows.
bool ParseNumericEndpoint(
    std::string_view text, std::uint16_t defaultPort, LoopbackEndpoint& out, std::string* error);

bool IsLoopbackHost(std::string_view host);

} // namespace velmaris::sim
