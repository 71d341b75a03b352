#pragma once
// The background thread of a simulated head's server: one poll loop
// (PollOnce) that a stop flag and a wake-up pipe end promptly. The server supplies the
// loop's steps: Begin once on the thread, then each turn Prepare (do what
// is due, name the descriptors to watch, say how long to wait) and Ready
// (act on what poll() reported), and End once when the loop is over.
//
// Launch() and StopThread() belong to the owner's thread; the hooks run on
// the background thread only. A server calls StopThread() in its own
// destructor, before the members its hooks use are destroyed.

#include "sim/SocketIo.h"

#include <atomic>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace velmaris::sim {

class ServerThread {
public:
    ServerThread(const ServerThread&) = delete;
    ServerThread& operator=(const ServerThread&) = delete;

protected:
    ServerThread() = default;
    virtual ~ServerThread(); // a last resort: the server should have stopped the thread

    // Prepare's answer that ends the loop (then End runs).
    static constexpr int kEndLoop = -2;

    bool Running() const { return thread_.joinable(); }

    // Opens the wake-up pipe and starts the loop. False with a message when
    // the pipe cannot be opened; the caller checks Running() first.
    bool Launch(std::string* error);

    // Sets the stop flag, wakes the loop and joins it. False when no thread
    // was running.
    bool StopThread();

    virtual void Begin() { }
    // Appends the descriptors to watch (kNoDescriptor is ignored)
    // and returns the poll() timeout in ms (-1: none), or kEndLoop.
    virtual int Prepare(std::vector<pollfd>& fds) = 0;
    // The descriptors Prepare appended, with what the poll reported for them.
    virtual void Ready(std::span<const pollfd> fds) { (void)fds; }
    // After the last turn, also when poll() fails.
    virtual void End() { }

    // Stores `message` in `error` (when given) and returns false.
    static bool Fail(std::string* error, std::string message);

private:
    void Loop();

    WakePipe wake_;
    std::thread thread_;
    std::atomic<bool> stop_ {false};
};

} // namespace velmaris::sim
