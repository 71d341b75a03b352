#include "sim/TcpHeadServer.h"

#include "sim/HeadSession.h"
#include "sim/SocketIo.h"

#include <optional>

#if !defined(_WIN32)
#include <netinet/tcp.h>
#endif

namespace velmaris::sim {

struct TcpHeadServer::Io {
    UniqueFd listener;
    UniqueFd client;
    std::vector<std::uint8_t> pending; // reply bytes not yet taken by the socket
    bool closeWhenSent = false;
    // When the last reply's last piece was handed to the socket, until the
    // next command came (wall clock: the kernel stamps arrivals with it).
    std::optional<std::chrono::system_clock::time_point> replyOut;
    std::unique_ptr<HeadModel> model; // made on the server's thread
    std::unique_ptr<HeadSession> session;
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
    if (Running())
        return Fail(error, "the TCP head is already running");
    if (!ParseLoopbackEndpoint(options_.address, 4040, endpoint_, error))
        return false;
    if (!SocketsReady())
        return Fail(error, "sockets: " + LastSocketError());
    UniqueFd listener(OpenSocket(endpoint_.family, SOCK_STREAM, true));
    if (!listener.Valid())
        return Fail(error, "socket: " + LastSocketError());
#if !defined(_WIN32)
    // Lets a restarted head bind at once; Windows' SO_REUSEADDR would let
    // two heads share the port instead.
    const int on = 1;
    ::setsockopt(listener.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
    if (::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&endpoint_.address), endpoint_.length) != 0)
        return Fail(error,
            "cannot bind " + endpoint_.host + ":" + std::to_string(endpoint_.port) + ": "
                + LastSocketError());
    if (::listen(listener.Get(), 4) != 0)
        return Fail(error, "listen: " + LastSocketError());
    sockaddr_storage bound {};
    socklen_t length = sizeof bound;
    ::getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&bound), &length);
    port_ = ntohs(endpoint_.family == AF_INET ? reinterpret_cast<sockaddr_in*>(&bound)->sin_port
                                              : reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
    io_->listener = std::move(listener);
    if (!Launch(error)) {
        io_->listener.Reset();
        return false;
    }
    return true;
}

void TcpHeadServer::Stop()
{
    if (!StopThread())
        return;
    io_->client.Reset();
    io_->listener.Reset();
}

void TcpHeadServer::Begin()
{
    io_->model = std::make_unique<HeadModel>(options_.head);
    io_->session
        = std::make_unique<HeadSession>(*io_->model, options_.faults, SessionTiming {options_.fast, false});
    if (options_.log)
        io_->session->onPing = [this](const PingEvent& e) { options_.log(FormatPingEvent("tcp", e)); };
}

void TcpHeadServer::DropClient()
{
    Io& io = *io_;
    if (io.client.Valid())
        ShutdownBoth(io.client.Get());
    io.client.Reset();
    io.pending.clear();
    io.closeWhenSent = false;
    io.replyOut.reset();
    io.session->Reset();
}

int TcpHeadServer::Prepare(std::vector<pollfd>& fds)
{
    Io& io = *io_;
    HeadSession& session = *io.session;
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
        const auto handed = std::chrono::system_clock::now();
        const long n = SendSome(io.client.Get(), io.pending.data(), io.pending.size());
        if (n > 0)
            io.pending.erase(io.pending.begin(), io.pending.begin() + n);
        if (n > 0 && io.pending.empty() && turnaround_)
            io.replyOut = handed;
        else if (n < 0 && !LastCallWouldBlock())
            DropClient();
    }
    if (io.client.Valid() && io.pending.empty() && io.closeWhenSent)
        DropClient();
    pings_ = session.Pings();
    malformed_ = session.MalformedCount();

    fds.push_back({io.listener.Get(), POLLIN, 0});
    fds.push_back({kNoDescriptor, 0, 0});
    if (io.client.Valid())
        fds.back() = {io.client.Get(), static_cast<short>(POLLIN | (io.pending.empty() ? 0 : POLLOUT)), 0};
    return PollTimeoutMs(session.NextDue(), Clock::now());
}

void TcpHeadServer::Ready(std::span<const pollfd> fds)
{
    Io& io = *io_;
    if (fds[0].revents & POLLIN) {
        UniqueFd accepted(AcceptNonBlocking(io.listener.Get()));
        if (accepted.Valid()) {
            DropClient(); // the newest station wins
            const int on = 1;
            ::setsockopt(
                accepted.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
            if (turnaround_)
                EnableArrivalStamps(accepted.Get());
            io.client = std::move(accepted);
            ++connections_;
        }
    }
    if (io.client.Valid() && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
        std::uint8_t buffer[1024];
        std::chrono::system_clock::time_point arrived;
        const long n = ReceiveStamped(io.client.Get(), buffer, sizeof buffer, arrived);
        const Clock::time_point now = Clock::now();
        if (n > 0 && io.replyOut) {
            turnaround_(std::chrono::duration_cast<std::chrono::nanoseconds>(arrived - *io.replyOut));
            io.replyOut.reset();
        }
        if (n > 0)
            io.session->Receive(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), now);
        else if (n == 0 || !LastCallWouldBlock())
            DropClient();
    }
}

void TcpHeadServer::End()
{
    pings_ = io_->session->Pings();
    malformed_ = io_->session->MalformedCount();
}

} // namespace velmaris::sim
