#include "DatagramSender.h"

#include "sim/LoopbackAddress.h"

#include <cerrno>
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
    sim::LoopbackEndpoint endpoint;
    if (!sim::ParseNumericEndpoint(text, defaultPort, endpoint, error))
        return false;
    if (endpoint.port == 0) // nothing listens on port 0
        return Fail(error, "bad port in '" + std::string(text) + "' (1 to 65535)");
    out = {};
    out.host = endpoint.host;
    out.port = endpoint.port;
    out.address = endpoint.address;
    out.length = endpoint.length;
    out.family = endpoint.family;
    out.loopback = sim::IsLoopbackHost(endpoint.host);
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
