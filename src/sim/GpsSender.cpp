#include "sim/GpsSender.h"

#include "sim/LoopbackAddress.h"
#include "sim/SocketIo.h"

#include <cmath>

namespace velmaris::sim {

namespace {
// Sentences a station does not read pile up; keep only the newest.
constexpr std::size_t kMaxPending = 8 * 1024;
} // namespace

struct GpsSender::Io {
    UniqueFd socket;
    LoopbackEndpoint target;
    // The sender's thread only:
    std::unique_ptr<GpsFeed> feed;
    double period = 1.0;
    double next = 0.0; // boat clock of the next epoch
    std::string pending; // for the pty
};

GpsSender::GpsSender(GpsSenderOptions options)
    : options_(std::move(options))
    , io_(std::make_unique<Io>())
{ }

GpsSender::~GpsSender()
{
    Stop();
}

bool GpsSender::Start(std::string* error)
{
    auto fail = [error](std::string message) { return Fail(error, std::move(message)); };
    if (Running())
        return fail("the simulated GPS is already running");
    if (!options_.pty && options_.udp.empty())
        return fail("the simulated GPS needs a pseudo-terminal or a UDP address");
    if (!(options_.feed.rateHz >= 0.1 && options_.feed.rateHz <= 20.0))
        return fail("the GPS rate must lie between 0.1 and 20 fixes a second");
    if (!IsTalker(options_.feed.talker))
        return fail("the talker must be two capital letters, such as GP or GN");
    if (!options_.udp.empty()) {
        if (!SocketsReady())
            return fail("sockets are not available");
        if (!ParseLoopbackEndpoint(options_.udp, 10110, io_->target, error))
            return false;
        if (io_->target.port == 0)
            return fail("the simulated GPS needs a destination port");
        io_->socket.Reset(OpenSocket(io_->target.family, SOCK_DGRAM, false));
        if (!io_->socket.Valid())
            return fail("socket: " + LastSocketError());
    }
    if (options_.pty && !pty_.Open(options_.ptyLink, error))
        return false;
    return Launch(error);
}

void GpsSender::Stop()
{
    StopThread();
    pty_.Close();
}

void GpsSender::Begin()
{
    Io& io = *io_;
    io.feed = std::make_unique<GpsFeed>(options_.boat, options_.feed);
    io.period = 1.0 / options_.feed.rateHz;
    io.next = std::ceil(BoatClockNow() / io.period) * io.period;
}

int GpsSender::Prepare(std::vector<pollfd>&)
{
    Io& io = *io_;
    double now = BoatClockNow();
    if (now >= io.next) {
        Send(io.next);
        io.next += io.period;
        if (io.next < now) // never burst to catch up
            io.next = std::ceil(now / io.period) * io.period;
    }
    if (!io.pending.empty()) {
        const long n = pty_.Write(io.pending.data(), io.pending.size());
        if (n > 0)
            io.pending.erase(0, static_cast<std::size_t>(n));
    }
    now = BoatClockNow();
    const int waitMs = static_cast<int>(std::ceil(std::max(0.0, io.next - now) * 1000.0));
    // With bytes stuck on a full line, retry now and then.
    return std::min(io.pending.empty() ? 200 : 20, waitMs);
}

void GpsSender::Send(double clockSeconds)
{
    Io& io = *io_;
    const std::vector<std::string> sentences = io.feed->Epoch(clockSeconds);
    for (const std::string& sentence : sentences) {
        if (io.socket.Valid())
            ::sendto(io.socket.Get(), sentence.data(), static_cast<int>(sentence.size()), 0,
                reinterpret_cast<const sockaddr*>(&io.target.address), io.target.length);
        if (pty_.IsOpen())
            io.pending += sentence;
        if (options_.log)
            options_.log("gps " + sentence.substr(0, sentence.size() - 2));
    }
    if (io.pending.size() > kMaxPending)
        io.pending.erase(0, io.pending.size() - kMaxPending);
    sentences_ += sentences.size();
    ++epochs_;
}

} // namespace velmaris::sim
