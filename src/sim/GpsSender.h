#pragma once
// The simulated GPS receiver on the wire: at each epoch (whole multiples of
// 1/rate seconds of the wall clock, as receivers fix) it sends the epoch's
// sentences (GpsFeed) over a pseudo-terminal, whose device a station opens
// like a receiver's serial port, and/or as UDP datagrams, one sentence each,
// to a loopback address (as boats' multiplexers do).
//
// Start() opens the transports and starts a background thread
// (ServerThread); Stop() or the destructor ends it and removes the link.
// The log callback runs on that thread, once per sentence.

#include "sim/GpsFeed.h"
#include "sim/PseudoTerminal.h"
#include "sim/ServerThread.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmaris::sim {

struct GpsSenderOptions {
    BoatOptions boat;
    GpsFeedOptions feed;
    bool pty = false; // send over a new pseudo-terminal
    std::string ptyLink; // with a symbolic link here ("" for none)
    std::string udp; // loopback HOST:PORT, "" for none
    std::function<void(const std::string&)> log;
};

class GpsSender : private ServerThread {
public:
    explicit GpsSender(GpsSenderOptions options);
    ~GpsSender();

    // False with a message (no transport, address refused, no pty, ...).
    bool Start(std::string* error);
    void Stop();

    const std::string& DevicePath() const { return pty_.DevicePath(); } // valid after Start with a pty
    std::uint64_t Epochs() const { return epochs_; }
    std::uint64_t Sentences() const { return sentences_; }

private:
    struct Io;
    void Begin() override;
    int Prepare(std::vector<pollfd>& fds) override;
    void Send(double clockSeconds);

    GpsSenderOptions options_;
    PseudoTerminal pty_;
    std::unique_ptr<Io> io_;
    std::atomic<std::uint64_t> epochs_ {0}, sentences_ {0};
};

} // namespace velmaris::sim
