#pragma once
// The K52L head's TCP link on QTcpSocket. Reports the outcome of each
// connect, every arrival of bytes (in whatever segments the network made)
// and a close by the head to LinkEvents.
//
// Thread: user-interface thread only; notifications arrive from its event
// loop. The handlers may call Connect or Close.

#include "links/Links.h"

#include <QObject>

class QTcpSocket;

namespace velmaris {

class CSSocket final : public QObject, public TcpLink {
public:
    explicit CSSocket(LinkEvents* events = nullptr, QObject* parent = nullptr);
    ~CSSocket() override;
    void SetEvents(LinkEvents* events) { events_ = events; }

    // `host` must be a numeric IPv4 or IPv6 address; names are not looked up.
    // A bad address or port, or a connect that fails at once, gives false
    // and no notification. Otherwise exactly one OnTcpConnected follows.
    bool Connect(const std::string& host, int port) override;
    bool Send(std::span<const std::uint8_t> bytes) override;
    void Close() override;
    bool IsConnected() const { return connected_; }
    // Waits at most `waitMs` for the connect under way: an outcome in that
    // time (a head on this machine or the local network) is reported from
    // inside this call instead of after the next pass of the event loop;
    // otherwise the connect goes on as if not waited for.
    void SettleConnect(int waitMs);

private:
    void Wire(QTcpSocket* socket);
    void HandleError(QTcpSocket* socket);
    void HandleReadable(QTcpSocket* socket);
    void ReportClosed();

    LinkEvents* events_;
    QTcpSocket* socket_ = nullptr; // child of this; replaced on every connect
    std::string host_; // of the last Connect
    int port_ = 0;
    bool connected_ = false; // connect reported ok and no close yet
    bool outcomePending_ = false; // OnTcpConnected not yet reported
    bool insideConnect_ = false;
};

} // namespace velmaris
