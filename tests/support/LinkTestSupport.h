#pragma once
// Shared by the link tests: a LinkEvents that records everything, and a wait
// that runs the event loop until a condition holds or a time-out passes.

#include "links/Links.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <vector>

namespace velmaris::test {

class RecordingEvents final : public LinkEvents {
public:
    struct Transfer {
        std::vector<std::uint8_t> reply;
        bool portOpen;
    };
    struct Datagram {
        std::vector<std::uint8_t> bytes;
        std::size_t trueSize;
    };

    void OnTimer(int id) override { timers.push_back(id); }
    void OnSerialTransfer(std::span<const std::uint8_t> reply, bool portOpen) override
    {
        transfers.push_back({{reply.begin(), reply.end()}, portOpen});
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

} // namespace velmaris::test
