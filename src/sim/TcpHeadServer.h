#pragma once
// The simulated Ethernet head K52L: a TCP server on a loopback address that
// answers each 27-byte command with one reply after the ping time (at once
// with `fast`). One station at a time: a new connection replaces the old.
// The head keeps its position from one connection to the next.
//
// Start() binds, listens and starts a background thread (sockets through
// SocketIo, a poll loop in ServerThread); Stop() or the destructor ends it.
// The log callback, when set, is called on that thread once per ping.

#include "sim/FaultPlan.h"
#include "sim/HeadModel.h"
#include "sim/LoopbackAddress.h"
#include "sim/ServerThread.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmaris::sim {

struct TcpHeadOptions {
    std::string address = "127.0.0.1:4040"; // loopback only; port 0 picks a free port
    bool fast = false;
    FaultPlan faults;
    HeadOptions head;
    std::function<void(const std::string&)> log;
};

class TcpHeadServer : private ServerThread {
public:
    explicit TcpHeadServer(TcpHeadOptions options);
    ~TcpHeadServer();

    // False with a message (address refused, port in use, ...) on failure.
    bool Start(std::string* error);
    void Stop();

    std::uint16_t Port() const { return port_; } // the bound port, valid after Start
    std::string Host() const { return endpoint_.host; }
    std::uint64_t Connections() const { return connections_; }
    std::uint64_t Pings() const { return pings_; }
    std::uint64_t Malformed() const { return malformed_; }

    // Set before Start: called on the server's thread with the head's wait
    // on the wire, from the reply's last piece handed to the socket to the
    // kernel's arrival time of the next command's bytes (so the figure does
    // not depend on when this thread gets to run; on Windows, which stamps
    // no arrivals, the time the bytes are read).
    using TurnaroundProbe = std::function<void(std::chrono::nanoseconds)>;
    void SetTurnaroundProbe(TurnaroundProbe probe) { turnaround_ = std::move(probe); }

private:
    struct Io;
    void Begin() override;
    int Prepare(std::vector<pollfd>& fds) override;
    void Ready(std::span<const pollfd> fds) override;
    void End() override;
    void DropClient();

    TcpHeadOptions options_;
    TurnaroundProbe turnaround_;
    LoopbackEndpoint endpoint_;
    std::uint16_t port_ = 0;
    std::unique_ptr<Io> io_;
    std::atomic<std::uint64_t> connections_ {0}, pings_ {0}, malformed_ {0};
};

} // namespace velmaris::sim
