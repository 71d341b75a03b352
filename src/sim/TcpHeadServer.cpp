#include "sim/TcpHeadServer.h"

#include "sim/HeadSession.h"
#include "sim/PosixIo.h"

#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmaris::sim {

struct TcpHeadServer::Io {
    UniqueFd listener;
    UniqueFd client;
    WakePipe wake;
    std::vector<std::uint8_t> pending; // reply bytes not yet taken by the socket
    bool closeWhenSent = false;
};

TcpHeadServer::TcpHeadServer(TcpHeadOptions options)
    : options_(std::move(options))
    , io_(std::make_unique<Io>())
{ }

TcpHeadServer::~TcpHeadServer()
{
    Stop();
}

bool TcpHeadServer::Start(std::string* error)
{
    auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    if (thread_.joinable())
        return fail("the TCP head is already running");
    if (!ParseLoopbackEndpoint(options_.address, 4040, endpoint_, error))
        return false;
    UniqueFd listener(::socket(endpoint_.family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listener.Valid())
        return fail(std::string("socket: ") + std::strerror(errno));
    const int on = 1;
    ::setsockopt(listener.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&endpoint_.address), endpoint_.length) != 0)
        return fail("cannot bind " + endpoint_.host + ":" + std::to_string(endpoint_.port) + ": "
            + std::strerror(errno));
    if (::listen(listener.Get(), 4) != 0)
        return fail(std::string("listen: ") + std::strerror(errno));
    sockaddr_storage bound {};
    socklen_t length = sizeof bound;
    ::getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&bound), &length);
    port_ = ntohs(endpoint_.family == AF_INET ? reinterpret_cast<sockaddr_in*>(&bound)->sin_port
                                              : reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
    if (!io_->wake.Open())
        return fail(std::string("pipe: ") + std::strerror(errno));
    io_->listener = std::move(listener);
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void TcpHeadServer::Stop()
{
    if (!thread_.joinable())
        return;
    stop_ = true;
    io_->wake.Signal();
    thread_.join();
    io_->client.Reset();
    io_->listener.Reset();
}

void TcpHeadServer::Run()
{
    HeadModel model(options_.head);
    HeadSession session(model, options_.faults, {options_.fast, false});
    if (options_.log)
        session.onPing = [this](const PingEvent& e) { options_.log(FormatPingEvent("tcp", e)); };
    Io& io = *io_;
    auto dropClient = [&] {
        if (io.client.Valid())
            ::shutdown(io.client.Get(), SHUT_RDWR);
        io.client.Reset();
        io.pending.clear();
        io.closeWhenSent = false;
        session.Reset();
    };

    while (!stop_) {
        const Clock::time_point now = Clock::now();
        // One chunk per send call, so the pieces of a split reply leave as
        // separate segments (TCP_NODELAY).
        if (io.pending.empty() && !io.closeWhenSent) {
            if (std::optional<OutChunk> chunk = session.PopDue(now)) {
                io.pending = std::move(chunk->bytes);
                io.closeWhenSent = chunk->closeAfter;
            }
        }
        if (io.client.Valid() && !io.pending.empty()) {
            const ssize_t n = ::send(io.client.Get(), io.pending.data(), io.pending.size(), MSG_NOSIGNAL);
            if (n > 0)
                io.pending.erase(io.pending.begin(), io.pending.begin() + n);
            else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                dropClient();
        }
        if (io.client.Valid() && io.pending.empty() && io.closeWhenSent)
            dropClient();
        pings_ = session.Pings();
        malformed_ = session.MalformedCount();

        pollfd fds[3] = {{io.wake.ReadFd(), POLLIN, 0}, {io.listener.Get(), POLLIN, 0}, {-1, 0, 0}};
        if (io.client.Valid())
            fds[2] = {io.client.Get(), static_cast<short>(POLLIN | (io.pending.empty() ? 0 : POLLOUT)), 0};
        const int timeout = PollTimeoutMs(session.NextDue(), Clock::now());
        if (::poll(fds, 3, timeout) < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            io.wake.Drain();
        if (fds[1].revents & POLLIN) {
            UniqueFd accepted(::accept4(io.listener.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
            if (accepted.Valid()) {
                dropClient(); // the newest station wins
                const int on = 1;
                ::setsockopt(accepted.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                io.client = std::move(accepted);
                ++connections_;
            }
        }
        if (io.client.Valid() && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
            std::uint8_t buffer[1024];
            const ssize_t n = ::recv(io.client.Get(), buffer, sizeof buffer, 0);
            if (n > 0)
                session.Receive(
                    std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), Clock::now());
            else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                dropClient();
        }
    }
    pings_ = session.Pings();
    malformed_ = session.MalformedCount();
}

} // namespace velmaris::sim
