#include "links/qt/CSSocket.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace velmaris {

CSSocket::CSSocket(LinkEvents* events, QObject* parent)
    : QObject(parent)
    , events_(events)
{ }

CSSocket::~CSSocket()
{
    Close();
}

bool CSSocket::Connect(const std::string& host, int port)
{
    Close();
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(host)) || port <= 0 || port > 65535)
        return false;
    host_ = host;
    port_ = port;
    socket_ = new QTcpSocket(this);
    Wire(socket_);
    outcomePending_ = true;
    insideConnect_ = true;
    socket_->connectToHost(address, static_cast<quint16>(port));
    insideConnect_ = false;
    if (socket_->state() == QAbstractSocket::UnconnectedState) {
        Close();
        return false;
    }
    return true;
}

void CSSocket::SettleConnect(int waitMs)
{
    if (socket_ == nullptr || !outcomePending_ || socket_->state() != QAbstractSocket::ConnectingState)
        return;
    QTcpSocket* socket = socket_;
    // Reports the outcome from inside when there is one in time.
    if (socket->waitForConnected(waitMs) || socket != socket_ || !outcomePending_)
        return;
    // Qt gives up a connect whose wait runs out, without a word: it is
    // started again, to go on as any other.
    Connect(host_, port_);
}

void CSSocket::Wire(QTcpSocket* socket)
{
    // Every handler first checks that `socket` is still the current one: a
    // handler may have closed it or started a new connect.
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        if (socket != socket_ || !outcomePending_)
            return;
        outcomePending_ = false;
        connected_ = true;
        if (events_ != nullptr)
            events_->OnTcpConnected(true);
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] { HandleError(socket); });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { HandleReadable(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (socket == socket_)
            ReportClosed();
    });
}

void CSSocket::HandleError(QTcpSocket* socket)
{
    if (socket != socket_ || insideConnect_)
        return; // a failure inside Connect is its return value
    if (outcomePending_) {
        outcomePending_ = false;
        if (events_ != nullptr)
            events_->OnTcpConnected(false);
    } else if (socket->state() == QAbstractSocket::UnconnectedState) {
        ReportClosed();
    }
}

void CSSocket::HandleReadable(QTcpSocket* socket)
{
    while (socket == socket_ && socket->bytesAvailable() > 0) {
        const QByteArray bytes = socket->readAll();
        if (bytes.isEmpty())
            break;
        if (events_ != nullptr)
            events_->OnTcpBytes(
                std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size())));
    }
}

void CSSocket::ReportClosed()
{
    if (!connected_)
        return;
    connected_ = false;
    if (events_ != nullptr)
        events_->OnTcpClosed();
}

bool CSSocket::Send(std::span<const std::uint8_t> bytes)
{
    if (socket_ == nullptr || socket_->state() != QAbstractSocket::ConnectedState)
        return false;
    const qint64 size = static_cast<qint64>(bytes.size());
    const qint64 queued = socket_->write(reinterpret_cast<const char*>(bytes.data()), size);
    if (queued != size)
        return false;
    socket_->flush(); // out now rather than on the next pass of the event loop
    return true;
}

void CSSocket::Close()
{
    connected_ = false;
    outcomePending_ = false;
    if (socket_ == nullptr)
        return;
    QTcpSocket* socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    socket->abort();
    // A handler of this socket may be on the stack.
    socket->deleteLater();
}

} // namespace velmaris
