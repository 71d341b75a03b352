#pragma once
// Shared by the link tests: a LinkEvents that records everything, and a wait
// that runs the event loop until a condition holds or a time-out passes.

#include "links/Links.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace velmaris::test {

class RecordingEvents final : public LinkEvents {
public:
    struct Transfer {
        std::vector<std::uint8_t> reply;
        bool portOpen;
        std::vector<std::uint8_t> sent; // the command the transfer wrote whole
    };
    struct Datagram {
        std::vector<std::uint8_t> bytes;
        std::size_t trueSize;
    };

    void OnTimer(int id) override { timers.push_back(id); }
    void OnSerialTransfer(
        std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent) override
    {
        transfers.push_back({{reply.begin(), reply.end()}, portOpen, {sent.begin(), sent.end()}});
    }
    void OnTcpConnected(bool ok) override { connects.push_back(ok); }
    void OnTcpBytes(std::span<const std::uint8_t> bytes) override
    {
        tcpChunks.emplace_back(bytes.begin(), bytes.end());
    }
    void OnTcpClosed() override { ++closes; }
    void OnUdpDatagram(std::span<const std::uint8_t> datagram, std::size_t trueSize) override
    {
        datagrams.push_back({{datagram.begin(), datagram.end()}, trueSize});
    }

    std::size_t TcpByteCount() const
    {
        std::size_t total = 0;
        for (const auto& chunk : tcpChunks)
            total += chunk.size();
        return total;
    }

    std::vector<int> timers;
    std::vector<Transfer> transfers;
    std::vector<bool> connects;
    std::vector<std::vector<std::uint8_t>> tcpChunks;
    int closes = 0;
    std::vector<Datagram> datagrams;
};

// Runs the event loop until `done` holds or `timeoutMs` pass; returns `done`.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 2000)
{
    const QDeadlineTimer deadline(timeoutMs, Qt::PreciseTimer);
    QTimer wake; // wakes the idle loop at the deadline
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    while (!done()) {
        const qint64 remaining = deadline.remainingTime();
        if (remaining <= 0)
            break;
        wake.start(static_cast<int>(remaining));
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

// Handles whatever is already queued, without waiting.
inline void DrainEvents()
{
    QEventLoop loop;
    loop.processEvents(QEventLoop::AllEvents);
}

// Floods a loopback UDP port from a thread of its own: the datagrams in
// turn, about `perSecond` of them, until stopped or for three seconds at
// most (so a station held by the flood is freed and the test can fail).
class UdpFlood {
public:
    UdpFlood(int port, std::vector<std::vector<std::uint8_t>> datagrams, int perSecond)
        : datagrams_(std::move(datagrams))
    {
        thread_ = std::thread([this, port, perSecond] { Run(port, perSecond); });
    }
    ~UdpFlood() { Stop(); }
    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    std::uint64_t Sent() const { return sent_; }

private:
    void Run(int port, int perSecond)
    {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<std::uint16_t>(port));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const auto period = std::chrono::nanoseconds(1'000'000'000 / perSecond);
        auto next = std::chrono::steady_clock::now();
        const auto end = next + std::chrono::seconds(3);
        for (std::size_t i = 0; !stop_ && next < end; ++i) {
            const auto& d = datagrams_[i % datagrams_.size()];
            if (::sendto(fd, d.data(), d.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) > 0)
                ++sent_;
            next += period;
            std::this_thread::sleep_until(next);
        }
        ::close(fd);
    }

    std::vector<std::vector<std::uint8_t>> datagrams_;
    std::atomic<bool> stop_ {false};
    std::atomic<std::uint64_t> sent_ {0};
    std::thread thread_;
};

// Runs the event loop for `ms` with a 0 ms timer firing over and over and
// returns the longest time between two of its firings (from the start
// for the first): how long the event loop was kept from turning.
inline qint64 LongestLoopStallMs(int ms)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start(0);
    WaitUntil([&] { return clock.elapsed() >= ms; }, ms + 10000);
    tick.stop();
    return std::max(longest, clock.elapsed() - last);
}

} // namespace velmaris::test
