#include "DatagramSender.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace velmaris::tool {

namespace {

bool Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

// A full send queue is waited out this many times, 100 microseconds each.
constexpr int kBusyRetries = 2000;

} // namespace

std::string DatagramTarget::Text() const
{
    const std::string port = std::to_string(this->port);
    return family == AF_INET6 ? "[" + host + "]:" + port : host + ":" + port;
}

bool ParseDatagramTarget(
    std::string_view text, std::uint16_t defaultPort, DatagramTarget& out, std::string* error)
{
    const std::string whole(text);
    std::string_view host = text;
    std::string_view port;
    bool portGiven = false;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        const std::string_view rest = close == std::string_view::npos ? "" : text.substr(close + 1);
        if (close == std::string_view::npos || (!rest.empty() && rest.front() != ':'))
            return Fail(error, "malformed address '" + whole + "'");
        host = text.substr(1, close - 1);
        portGiven = !rest.empty();
        port = portGiven ? rest.substr(1) : rest;
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const std::size_t colon = text.find(':');
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        portGiven = true;
    }
    if (host.empty() || host == "localhost")
        host = "127.0.0.1";

    int portNumber = defaultPort;
    if (portGiven) {
        const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), portNumber);
        if (port.empty() || ec != std::errc() || end != port.data() + port.size())
            portNumber = -1;
    }
    if (portNumber < 1 || portNumber > 65535)
        return Fail(error, "bad port in '" + whole + "' (1 to 65535)");

    out = {};
    out.host = std::string(host);
    out.port = static_cast<std::uint16_t>(portNumber);
    in_addr v4 {};
    in6_addr v6 {};
    if (inet_pton(AF_INET, out.host.c_str(), &v4) == 1) {
        sockaddr_in sa {};
        sa.sin_family = AF_INET;
        sa.sin_addr = v4;
        sa.sin_port = htons(out.port);
        std::memcpy(&out.address, &sa, sizeof sa);
        out.length = sizeof sa;
        out.family = AF_INET;
        out.loopback = (ntohl(v4.s_addr) >> 24) == 127;
    } else if (inet_pton(AF_INET6, out.host.c_str(), &v6) == 1) {
        sockaddr_in6 sa {};
        sa.sin6_family = AF_INET6;
        sa.sin6_addr = v6;
        sa.sin6_port = htons(out.port);
        std::memcpy(&out.address, &sa, sizeof sa);
        out.length = sizeof sa;
        out.family = AF_INET6;
        out.loopback = IN6_IS_ADDR_LOOPBACK(&v6);
    } else {
        return Fail(error, "'" + out.host + "' is not a numeric address (for example 127.0.0.1 or ::1)");
    }
    return true;
}

DatagramSender::~DatagramSender()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool DatagramSender::Open(const DatagramTarget& target, std::string* error)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = ::socket(target.family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return Fail(error, std::string("socket: ") + std::strerror(errno));
    // Connected: each send names no address, and a closed port on this
    // machine is reported instead of passing silently.
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&target.address), target.length) != 0)
        return Fail(error, "cannot send to " + target.Text() + ": " + std::strerror(errno));
    return true;
}

DatagramSender::Result DatagramSender::Send(std::span<const std::uint8_t> datagram, std::string* error)
{
    for (int attempt = 0;; ++attempt) {
        if (::send(fd_, datagram.data(), datagram.size(), 0) == static_cast<ssize_t>(datagram.size()))
            return Result::Sent;
        const int cause = errno;
        if (cause == EINTR)
            continue;
        if (cause == ECONNREFUSED)
            return Result::NoListener;
        if (cause == EMSGSIZE)
            return Result::TooLong;
        if ((cause == ENOBUFS || cause == EAGAIN) && attempt < kBusyRetries) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            continue;
        }
        Fail(error, std::string("send: ") + std::strerror(cause));
        return Result::Failed;
    }
}

} // namespace velmaris::tool
