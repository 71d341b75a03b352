#include "sim/PtyHead.h"

#include "sim/HeadSession.h"
#include "sim/PseudoTerminal.h"
#include "sim/SocketIo.h"

#include <poll.h>
#include <unistd.h>

namespace velmaris::sim {

namespace {
// Output a station does not read piles up on the line; keep only the newest.
constexpr std::size_t kMaxPending = 64 * 1024;
} // namespace

struct PtyHead::Io {
    PseudoTerminal terminal;
    std::vector<std::uint8_t> pending;
    std::unique_ptr<HeadModel> model; // made on the head's thread
    std::unique_ptr<HeadSession> session;
};

PtyHead::PtyHead(PtyHeadOptions options)
    : options_(std::move(options))
    , io_(std::make_unique<Io>())
{ }

PtyHead::~PtyHead()
{
    Stop();
}

bool PtyHead::Start(std::string* error)
{
    auto fail = [error](std::string message) { return Fail(error, std::move(message)); };
    if (Running())
        return fail("the serial head is already running");
    if (!io_->terminal.Open(options_.linkPath, error, true))
        return false;
    devicePath_ = io_->terminal.DevicePath();
    return Launch(error);
}

void PtyHead::Stop()
{
    StopThread();
    io_->terminal.Close();
}

void PtyHead::Begin()
{
    io_->model = std::make_unique<HeadModel>(options_.head);
    io_->session
        = std::make_unique<HeadSession>(*io_->model, options_.faults, SessionTiming {options_.fast, true});
    if (options_.log)
        io_->session->onPing = [this](const PingEvent& e) { options_.log(FormatPingEvent("serial", e)); };
}

int PtyHead::Prepare(std::vector<pollfd>& fds)
{
    Io& io = *io_;
    HeadSession& session = *io.session;
    const Clock::time_point now = Clock::now();
    while (std::optional<OutChunk> chunk = session.PopDue(now))
        io.pending.insert(io.pending.end(), chunk->bytes.begin(), chunk->bytes.end());
    if (io.pending.size() > kMaxPending)
        io.pending.erase(io.pending.begin(), io.pending.end() - static_cast<std::ptrdiff_t>(kMaxPending));
    if (!io.pending.empty()) {
        const ssize_t n = ::write(io.terminal.MasterFd(), io.pending.data(), io.pending.size());
        if (n > 0)
            io.pending.erase(io.pending.begin(), io.pending.begin() + n);
    }
    pings_ = session.Pings();
    malformed_ = session.MalformedCount();

    fds.push_back(
        {io.terminal.MasterFd(), static_cast<short>(POLLIN | (io.pending.empty() ? 0 : POLLOUT)), 0});
    // With output stuck on a full line, retry now and then rather than spin.
    return io.pending.empty() ? PollTimeoutMs(session.NextDue(), Clock::now()) : 20;
}

void PtyHead::Ready(std::span<const pollfd> fds)
{
    if (fds[0].revents & POLLIN) {
        std::uint8_t buffer[512];
        const ssize_t n = ::read(io_->terminal.MasterFd(), buffer, sizeof buffer);
        if (n > 0)
            io_->session->Receive(
                std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), Clock::now());
    }
}

void PtyHead::End()
{
    pings_ = io_->session->Pings();
    malformed_ = io_->session->MalformedCount();
}

} // namespace velmaris::sim
