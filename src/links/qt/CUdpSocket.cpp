#include "links/qt/CUdpSocket.h"

#include "links/CTimer.h"
#include "links/SocketDrops.h"

#include <QHostAddress>
#include <QUdpSocket>
#include <algorithm>

namespace velmaris {

CUdpSocket::CUdpSocket(LinkEvents* events, QObject* parent)
    : QObject(parent)
    , events_(events)
{ }

CUdpSocket::~CUdpSocket()
{
    Close();
}

bool CUdpSocket::Open(int port)
{
    Close();
    behind_ = false;
    if (port < 0 || port > 65535)
        return false;
    auto* socket = new QUdpSocket(this);
    if (!socket->bind(QHostAddress::AnyIPv4, static_cast<quint16>(port), QAbstractSocket::DontShareAddress)) {
        delete socket;
        return false;
    }
    socket_ = socket;
    systemDrops_ = ReceiveQueueDrops(socket->socketDescriptor()).value_or(0);
    connect(socket, &QUdpSocket::readyRead, this, [this, socket] { HandleReadable(socket); });
    return true;
}

namespace {

std::int64_t NowUs()
{
    const Clock& clock = SteadyClock::Instance();
    // Whole seconds and the rest apart: ticks x 10^6 overflows 64 bits after
    // about 2.5 hours of a nanosecond clock.
    const std::int64_t ticks = clock.Ticks();
    const std::int64_t perSecond = clock.TicksPerSecond();
    return ticks / perSecond * 1'000'000 + ticks % perSecond * 1'000'000 / perSecond;
}

} // namespace

void CUdpSocket::HandleReadable(QUdpSocket* socket)
{
    DatagramBatch batch(budget_, NowUs(), behind_);
    while (socket == socket_ && socket->hasPendingDatagrams()) {
        const DatagramBatch::Step step = batch.Next(NowUs());
        if (step == DatagramBatch::Step::Stop)
            break;
        if (step == DatagramBatch::Step::Drop) {
            socket->readDatagram(reinterpret_cast<char*>(buffer_.data()), 1); // the rest is discarded
            continue;
        }
        const qint64 trueSize = socket->pendingDatagramSize();
        // A larger datagram is cut to the buffer by the read; its true size
        // still goes to the cycle, which rejects it by that size.
        const qint64 got = socket->readDatagram(
            reinterpret_cast<char*>(buffer_.data()), static_cast<qint64>(buffer_.size()));
        if (got < 0)
            break;
        const auto read
            = static_cast<std::size_t>(std::min<qint64>(got, static_cast<qint64>(buffer_.size())));
        if (events_ != nullptr)
            events_->OnUdpDatagram(std::span<const std::uint8_t>(buffer_.data(), read),
                static_cast<std::size_t>(std::max(trueSize, got)));
    }
    if (socket != socket_)
        return; // closed or reopened by the handler: the new socket starts afresh
    std::size_t dropped = static_cast<std::size_t>(batch.Dropped());
    if (const auto system = ReceiveQueueDrops(socket->socketDescriptor())) {
        dropped += static_cast<std::uint32_t>(*system - systemDrops_); // the counter wraps
        systemDrops_ = *system;
    }
    if (dropped > 0 && events_ != nullptr)
        events_->OnUdpDropped(dropped);
    // What still waits raises the next notification after the event loop ran.
    behind_ = socket == socket_ && socket->hasPendingDatagrams();
}

void CUdpSocket::Close()
{
    if (socket_ == nullptr)
        return;
    QUdpSocket* socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    socket->close();
    socket->deleteLater(); // its handler may be on the stack
}

int CUdpSocket::LocalPort() const
{
    return socket_ != nullptr ? socket_->localPort() : 0;
}

} // namespace velmaris
