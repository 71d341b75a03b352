#pragma once
// The UDP listener of "Plot Data from UDP" on QUdpSocket: bound on any local
// IPv4 address, exclusively. Each datagram goes to LinkEvents with at most
// its first 4096 bytes and its true size. One read notification handles one
// DatagramBatch; datagrams still waiting raise the next notification once
// the event loop has run. Datagrams are read only inside the notification:
// the socket announces more only after one was read there, so a read
// elsewhere could leave it silent for good. When a backlog outlasts a
// batch, what a flood sends beyond it is dropped; those, and what the
// system dropped on arrival (a full receive queue), are counted to
// LinkEvents.
//
// Thread: user-interface thread only. The handler may call Close or Open.

#include "links/DatagramBatch.h"
#include "links/Links.h"

#include <QObject>
#include <array>

class QUdpSocket;

namespace velmaris {

class CUdpSocket final : public QObject, public UdpLink {
public:
    explicit CUdpSocket(LinkEvents* events = nullptr, QObject* parent = nullptr);
    ~CUdpSocket() override;
    void SetEvents(LinkEvents* events) { events_ = events; }

    // Closes any socket and binds `port` (0 picks a free one); false when
    // the port cannot be bound (for example, another program holds it).
    bool Open(int port) override;
    void Close() override;
    // The bound port, 0 when closed.
    int LocalPort() const;
    void SetBudget(const DatagramBudget& budget) { budget_ = budget; }

private:
    void HandleReadable(QUdpSocket* socket);

    LinkEvents* events_;
    QUdpSocket* socket_ = nullptr; // child of this
    std::array<std::uint8_t, kUdpReceiveBufferSize> buffer_ {};
    DatagramBudget budget_;
    bool behind_ = false; // the last batch left datagrams waiting
    std::uint32_t systemDrops_ = 0; // the system's drop counter at the last look
};

} // namespace velmaris
