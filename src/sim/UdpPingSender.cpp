#include "sim/UdpPingSender.h"

#include "protocol/RecordHeader.h"
#include "sim/LoopbackAddress.h"
#include "sim/SocketIo.h"

#include <cmath>
#include <cstdio>

namespace velmaris::sim {

namespace {

constexpr std::size_t kUndersize = 64; // below the 113 bytes a station accepts
constexpr std::size_t kOversize = 1100; // above the 1023 bytes a station accepts

} // namespace

struct UdpPingSender::Io {
    UniqueFd socket;
    LoopbackEndpoint target;
    // The sender's thread only:
    std::unique_ptr<SimRecordSource> source;
    Clock::duration period {};
    int loopMs = 0;
    Clock::time_point next;
    std::uint64_t n = 0;
};

void DamageDatagram(std::vector<std::uint8_t>& datagram, const FaultPlan& faults, std::uint64_t n)
{
    if (FaultPlan::Hits(faults.badLengthEvery, n) && datagram.size() >= 6) {
        const std::uint64_t turn = n / static_cast<std::uint64_t>(faults.badLengthEvery) % 4;
        const int lies[] = {65535, 0, 100, static_cast<int>(datagram.size()) + 256};
        const int lie = lies[turn];
        datagram[4] = static_cast<std::uint8_t>(lie >> 8);
        datagram[5] = static_cast<std::uint8_t>(lie & 0xFF);
    }
    if (FaultPlan::Hits(faults.undersizeEvery, n))
        datagram.resize(std::min(datagram.size(), kUndersize));
    else if (FaultPlan::Hits(faults.oversizeEvery, n))
        datagram.resize(std::max(datagram.size(), kOversize), 0);
}

UdpPingSender::UdpPingSender(UdpSenderOptions options)
    : options_(std::move(options))
    , io_(std::make_unique<Io>())
{ }

UdpPingSender::~UdpPingSender()
{
    Stop();
}

bool UdpPingSender::Start(std::string* error)
{
    auto fail = [error](std::string message) { return Fail(error, std::move(message)); };
    if (Running())
        return fail("the UDP sender is already running");
    if (!(options_.rateHz >= 0.1 && options_.rateHz <= 1000.0))
        return fail("rate must lie between 0.1 and 1000 datagrams per second");
    if (!ParseLoopbackEndpoint(options_.address, 4040, io_->target, error))
        return false;
    if (io_->target.port == 0)
        return fail("the UDP sender needs a destination port");
    io_->socket.Reset(OpenSocket(io_->target.family, SOCK_DGRAM, false));
    if (!io_->socket.Valid())
        return fail("socket: " + LastSocketError());
    finished_ = false;
    return Launch(error);
}

void UdpPingSender::Stop()
{
    StopThread();
}

void UdpPingSender::Begin()
{
    Io& io = *io_;
    io.source = std::make_unique<SimRecordSource>(options_.source);
    io.period
        = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / options_.rateHz));
    io.loopMs = static_cast<int>(std::lround(1000.0 / options_.rateHz));
    io.next = Clock::now();
    io.n = 0;
}

int UdpPingSender::Prepare(std::vector<pollfd>&)
{
    Io& io = *io_;
    const Clock::time_point now = Clock::now();
    if (now < io.next)
        return PollTimeoutMs(io.next, now);
    SendOne();
    if (options_.count && io.n >= options_.count) {
        finished_ = true;
        return kEndLoop;
    }
    io.next += io.period;
    if (io.next < now)
        io.next = now; // never burst to catch up
    return PollTimeoutMs(io.next, Clock::now());
}

void UdpPingSender::SendOne()
{
    Io& io = *io_;
    const std::uint64_t n = ++io.n;
    std::vector<std::uint8_t> datagram = io.source->NextRecord(CurrentLocalTime(), io.loopMs);
    DamageDatagram(datagram, options_.faults, n);
    ::sendto(io.socket.Get(), reinterpret_cast<const char*>(datagram.data()),
        static_cast<int>(datagram.size()), 0, reinterpret_cast<const sockaddr*>(&io.target.address),
        io.target.length);
    sent_ = n;
    if (options_.log) {
        const HeadPingInfo& info = io.source->Head().LastPing();
        char line[160];
        std::snprintf(line, sizeof line, "udp datagram %llu %.3s pos %4d dir %d range %3d %zu bytes",
            static_cast<unsigned long long>(n), info.kind.data(), info.position, info.directionFlag,
            info.rangeMetres, datagram.size());
        options_.log(line);
    }
}

} // namespace velmaris::sim
