#pragma once
// The seams between the ping cycle (plain logic) and the things that move
// bytes and time: timers, the serial port worker, the TCP socket, the UDP
// socket. The Qt edge implements the link and timer interfaces and delivers
// what happens to `LinkEvents`; tests implement both sides with fakes.
//
// Thread: every call in either direction happens on the user-interface
// thread. The serial worker does its blocking read and write on its own
// thread and then calls OnSerialTransfer through a synchronous hand-over,
// waiting until it returns.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace velmaris {

// Timer ids, all owned by the main frame. Every timer is one-shot in use:
// its handler kills it and re-arms it when the cycle goes on.
inline constexpr int kPingTimer = 1010; // serial head and playback
inline constexpr int kWatchdogTimer = 1020; // one second; TCP head, first serial ping
inline constexpr int kSendTimer = 1030; // TCP head, 0 ms after each decoded reply
inline constexpr int kGpsTimer = 1040; // 200 ms GPS tick

inline constexpr int kHeadTcpPort = 4040;
inline constexpr int kUdpListenPort = 4040;
inline constexpr std::size_t kCommandSize = 27;
inline constexpr std::size_t kReplyBufferSize = 513;
inline constexpr std::size_t kUdpReceiveBufferSize = 4096;

class TimerHost {
public:
    virtual ~TimerHost() = default;
    // (Re)arms timer `id` to fire once after `ms` milliseconds (0: as soon as
    // the event loop runs); the expiry arrives as LinkEvents::OnTimer(id).
    virtual void SetTimer(int id, int ms) = 0;
    virtual void KillTimer(int id) = 0;
};

enum class SerialOpenResult {
    Ok,
    NotAvailable, // the port does not exist or cannot be opened
    SetupFailed, // the line settings were rejected
};

// The K52A head on a COM port, driven by a worker thread.
class SerialLink {
public:
    virtual ~SerialLink() = default;
    // Closes any open port and opens `comPort` (115200 8N1 for the head) with
    // the read/write time-outs of the serial exchange; starts the worker when
    // it is not running yet.
    [[nodiscard]] virtual SerialOpenResult Open(int comPort, int baud, bool rtsMode) = 0;
    // Posts one transfer to the worker: read the reply to the previous
    // command (up to 513 bytes or the time-out), then write a copy of
    // `command` taken now. The worker answers with
    // LinkEvents::OnSerialTransfer, saying whether the copy went out. A
    // transfer while the link is suspended does nothing and is not answered.
    virtual void RequestTransfer(std::span<const std::uint8_t, kCommandSize> command) = 0;
    virtual void SetSuspended(bool suspended) = 0;
    virtual void SetRtsMode(bool rtsMode) = 0;
    virtual void Close() = 0;
    // Tells the worker to end (document close); returns when it has ended.
    virtual void Quit() = 0;
};

// The K52L head over TCP.
class TcpLink {
public:
    virtual ~TcpLink() = default;
    // Shuts down and closes any socket, then starts a non-blocking connect;
    // the outcome arrives as LinkEvents::OnTcpConnected. False when the
    // connect failed at once.
    [[nodiscard]] virtual bool Connect(const std::string& host, int port) = 0;
    // One send call; false when the bytes could not be handed to the socket.
    [[nodiscard]] virtual bool Send(std::span<const std::uint8_t> bytes) = 0;
    // Shuts down both directions and closes; no notification follows.
    virtual void Close() = 0;
};

// The UDP listener of "Plot Data from UDP": any local address.
class UdpLink {
public:
    virtual ~UdpLink() = default;
    [[nodiscard]] virtual bool Open(int port) = 0;
    virtual void Close() = 0;
};

// What the links and timers report to the ping cycle.
class LinkEvents {
public:
    virtual ~LinkEvents() = default;
    virtual void OnTimer(int id) = 0;
    // One serial transfer finished: `reply` holds what the read delivered
    // (possibly nothing); `portOpen` is false when no port was open; `sent`
    // holds the command bytes the transfer wrote to the head, empty when it
    // wrote none or not all of them. The command was copied when the
    // transfer was requested, so it may differ from the live buffer now.
    virtual void OnSerialTransfer(
        std::span<const std::uint8_t> reply, bool portOpen, std::span<const std::uint8_t> sent)
        = 0;
    // The serial port went away under an open link (the device was
    // unplugged): the worker has closed it. Comes just before the hand-over
    // of the transfer that found it gone, which is one without a port.
    virtual void OnSerialPortLost() { }
    virtual void OnTcpConnected(bool ok) = 0;
    // Bytes as they arrive from the TCP stream, in any segmentation.
    virtual void OnTcpBytes(std::span<const std::uint8_t> bytes) = 0;
    virtual void OnTcpClosed() = 0;
    // One datagram: at most the first 4096 bytes of it, and its true size.
    virtual void OnUdpDatagram(std::span<const std::uint8_t> datagram, std::size_t trueSize) = 0;
    // `count` datagrams were read and thrown away unseen: they came faster
    // than they could be handled (DatagramBatch).
    virtual void OnUdpDropped(std::size_t /*count*/) { }
};

} // namespace velmaris
