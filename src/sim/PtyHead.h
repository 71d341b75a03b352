#pragma once
// The simulated serial head K52A on a pseudo-terminal: Start() creates the
// pty (raw mode, 115200 baud), optionally points a symbolic link at its
// device path, and answers each 27-byte command written to it with one reply
// after the ping time plus the reply's time on a 115200 baud line (at once
// with `fast`). The simulator keeps the device side open itself, so stations
// may open and close it as often as they like.
//
// A background thread (a poll loop, ServerThread) does the work; Stop() or
// the destructor ends it and removes the link. The log callback runs on that
// thread. Pseudo-terminals are POSIX only: on Windows Start() refuses with
// a message saying so (windows/PtyHead.cpp).

#include "sim/FaultPlan.h"
#include "sim/HeadModel.h"
#include "sim/ServerThread.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmaris::sim {

struct PtyHeadOptions {
    std::string linkPath; // empty: no link; an existing symbolic link there is replaced
    bool fast = false;
    FaultPlan faults; // drop, delay, split and garbage apply; close does not
    HeadOptions head;
    std::function<void(const std::string&)> log;
};

class PtyHead : private ServerThread {
public:
    explicit PtyHead(PtyHeadOptions options);
    ~PtyHead();

    bool Start(std::string* error);
    void Stop();

    const std::string& DevicePath() const { return devicePath_; } // "/dev/pts/N"
    std::uint64_t Pings() const { return pings_; }
    std::uint64_t Malformed() const { return malformed_; }

private:
    struct Io;
    void Begin() override;
    int Prepare(std::vector<pollfd>& fds) override;
    void Ready(std::span<const pollfd> fds) override;
    void End() override;

    PtyHeadOptions options_;
    std::string devicePath_;
    std::unique_ptr<Io> io_;
    std::atomic<std::uint64_t> pings_ {0}, malformed_ {0};
};

} // namespace velmaris::sim
