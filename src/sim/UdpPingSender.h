#pragma once
// Sends simulated pings as UDP datagrams in the record layout (100-byte
// record header, reply header, echo bytes, padding), one record per
// datagram, to a loopback address at a chosen rate: a stand-in for another
// station that shares its pings. The faults undersize, oversize and
// badlength (FaultPlan) damage chosen datagrams.
//
// Start() opens the socket and starts a background thread (ServerThread); Stop() or the
// destructor ends it. The log callback runs on that thread.

#include "sim/FaultPlan.h"
#include "sim/ServerThread.h"
#include "sim/SimRecordSource.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmaris::sim {

struct UdpSenderOptions {
    std::string address = "127.0.0.1:4040"; // loopback only
    double rateHz = 10.0; // datagrams per second, 0.1..1000
    std::uint64_t count = 0; // stop after this many; 0 = until stopped
    SimRecordOptions source;
    FaultPlan faults;
    std::function<void(const std::string&)> log;
};

// Applies the datagram faults for datagram number n (from 1) to a record.
void DamageDatagram(std::vector<std::uint8_t>& datagram, const FaultPlan& faults, std::uint64_t n);

class UdpPingSender : private ServerThread {
public:
    explicit UdpPingSender(UdpSenderOptions options);
    ~UdpPingSender();

    bool Start(std::string* error);
    void Stop();

    std::uint64_t Sent() const { return sent_; }
    bool Finished() const { return finished_; } // `count` datagrams are out

private:
    struct Io;
    void Begin() override;
    int Prepare(std::vector<pollfd>& fds) override;
    void SendOne();

    UdpSenderOptions options_;
    std::unique_ptr<Io> io_;
    std::atomic<bool> finished_ {false};
    std::atomic<std::uint64_t> sent_ {0};
};

} // namespace velmaris::sim
