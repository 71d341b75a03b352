#include "sim/UdpPingSender.h"

#include "protocol/RecordHeader.h"
#include "sim/LoopbackAddress.h"
#include "sim/PosixIo.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>

namespace velmaris::sim {

namespace {

constexpr std::size_t kUndersize = 64; // below the 113 bytes a station accepts
constexpr std::size_t kOversize = 1100; // above the 1023 bytes a station accepts

} // namespace

struct UdpPingSender::Io {
    UniqueFd socket;
    WakePipe wake;
    LoopbackEndpoint target;
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
    auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    if (thread_.joinable())
        return fail("the UDP sender is already running");
    if (!(options_.rateHz >= 0.1 && options_.rateHz <= 1000.0))
        return fail("rate must lie between 0.1 and 1000 datagrams per second");
    if (!ParseLoopbackEndpoint(options_.address, 4040, io_->target, error))
        return false;
    if (io_->target.port == 0)
        return fail("the UDP sender needs a destination port");
    io_->socket.Reset(::socket(io_->target.family, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!io_->socket.Valid())
        return fail(std::string("socket: ") + std::strerror(errno));
    if (!io_->wake.Open())
        return fail(std::string("pipe: ") + std::strerror(errno));
    stop_ = false;
    finished_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void UdpPingSender::Stop()
{
    if (!thread_.joinable())
        return;
    stop_ = true;
    io_->wake.Signal();
    thread_.join();
}

void UdpPingSender::Run()
{
    SimRecordSource source(options_.source);
    const auto period
        = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / options_.rateHz));
    const int loopMs = static_cast<int>(std::lround(1000.0 / options_.rateHz));
    Clock::time_point next = Clock::now();
    std::uint64_t n = 0;
    while (!stop_) {
        const Clock::time_point now = Clock::now();
        if (now >= next) {
            ++n;
            std::vector<std::uint8_t> datagram = source.NextRecord(CurrentLocalTime(), loopMs);
            DamageDatagram(datagram, options_.faults, n);
            ::sendto(io_->socket.Get(), datagram.data(), datagram.size(), 0,
                reinterpret_cast<const sockaddr*>(&io_->target.address), io_->target.length);
            sent_ = n;
            if (options_.log) {
                const HeadPingInfo& info = source.Head().LastPing();
                char line[160];
                std::snprintf(line, sizeof line, "udp datagram %llu %.3s pos %4d dir %d range %3d %zu bytes",
                    static_cast<unsigned long long>(n), info.kind.data(), info.position, info.directionFlag,
                    info.rangeMetres, datagram.size());
                options_.log(line);
            }
            if (options_.count && n >= options_.count) {
                finished_ = true;
                return;
            }
            next += period;
            if (next < now)
                next = now; // never burst to catch up
            continue;
        }
        pollfd wake {io_->wake.ReadFd(), POLLIN, 0};
        if (::poll(&wake, 1, PollTimeoutMs(next, now)) > 0)
            io_->wake.Drain();
    }
}

} // namespace velmaris::sim
