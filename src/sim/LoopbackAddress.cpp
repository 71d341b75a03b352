#include "sim/LoopbackAddress.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace velmaris::sim {

namespace {

bool Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

bool ParseNumericHost(const std::string& host, LoopbackEndpoint& out)
{
    in_addr v4 {};
    in6_addr v6 {};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        sockaddr_in sa {};
        sa.sin_family = AF_INET;
        sa.sin_addr = v4;
        std::memcpy(&out.address, &sa, sizeof sa);
        out.length = sizeof sa;
        out.family = AF_INET;
        return true;
    }
    if (inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        sockaddr_in6 sa {};
        sa.sin6_family = AF_INET6;
        sa.sin6_addr = v6;
        std::memcpy(&out.address, &sa, sizeof sa);
        out.length = sizeof sa;
        out.family = AF_INET6;
        return true;
    }
    return false;
}

} // namespace

bool IsLoopbackHost(std::string_view host)
{
    if (host == "localhost")
        return true;
    const std::string text(host);
    in_addr v4 {};
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6 {};
    if (inet_pton(AF_INET6, text.c_str(), &v6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&v6);
    return false;
}

bool ParseNumericEndpoint(
    std::string_view text, std::uint16_t defaultPort, LoopbackEndpoint& out, std::string* error)
{
    std::string_view host = text;
    std::string_view port;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            return Fail(error, "malformed address '" + std::string(text) + "'");
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return Fail(error, "malformed address '" + std::string(text) + "'");
            port = rest.substr(1);
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const std::size_t colon = text.find(':');
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (host.empty())
        host = "127.0.0.1";
    if (host == "localhost")
        host = "127.0.0.1";

    int portNumber = defaultPort;
    if (!port.empty() || (text.size() && text.back() == ':')) {
        const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), portNumber);
        if (port.empty() || ec != std::errc() || end != port.data() + port.size() || portNumber < 0
            || portNumber > 65535)
            return Fail(error, "bad port in '" + std::string(text) + "' (0 to 65535)");
    }
    out = {};
    out.host = std::string(host);
    if (!ParseNumericHost(out.host, out))
        return Fail(error, "'" + out.host + "' is not a numeric address (use 127.0.0.1, ::1 or localhost)");
    out.port = static_cast<std::uint16_t>(portNumber);
    if (out.family == AF_INET)
        reinterpret_cast<sockaddr_in*>(&out.address)->sin_port = htons(out.port);
    else
        reinterpret_cast<sockaddr_in6*>(&out.address)->sin6_port = htons(out.port);
    return true;
}

bool ParseLoopbackEndpoint(
    std::string_view text, std::uint16_t defaultPort, LoopbackEndpoint& out, std::string* error)
{
    if (!ParseNumericEndpoint(text, defaultPort, out, error))
        return false;
    if (!IsLoopbackHost(out.host))
        return Fail(error,
            "refusing non-loopback address '" + out.host
                + "': the simulated head only binds and sends to loopback (127.0.0.0/8 or ::1)");
    return true;
}

} // namespace velmaris::sim
