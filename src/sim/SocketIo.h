#pragma once
// The small socket layer under the simulated heads' transport threads: what
// POSIX and Windows (Winsock) do differently sits behind these calls, one
// implementation per platform (posix/, windows/), chosen by the build. All
// calls are safe from any thread on descriptors that thread owns; failures
// are told by the return value and LastSocketError().

#include "sim/HeadSession.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/SocketHeaders.h"

namespace velmaris::sim {

// Owns a descriptor; closes it on destruction.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(Descriptor fd)
        : fd_(fd)
    { }
    UniqueFd(UniqueFd&& other) noexcept
        : fd_(other.Release())
    { }
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    Descriptor Get() const { return fd_; }
    bool Valid() const { return fd_ != kNoDescriptor; }
    Descriptor Release();
    void Reset(Descriptor fd = kNoDescriptor);

private:
    Descriptor fd_ = kNoDescriptor;
};

// Wakes a thread blocked in PollOnce(): a pipe on POSIX, a loopback datagram
// socket talking to itself on Windows (whose poll watches sockets only).
// Signal() is safe from any thread.
class WakePipe {
public:
    bool Open();
    Descriptor ReadFd() const { return read_.Get(); }
    void Signal() const;
    void Drain() const;

private:
    UniqueFd read_, write_;
};

// Starts the system's socket library once per process (Winsock); true on
// POSIX. The heads call it before they open anything.
bool SocketsReady();

// The last socket call's failure as text, and whether it only meant "not
// now" (a non-blocking call that would have blocked, or an interrupted one).
std::string LastSocketError();
bool LastCallWouldBlock();

bool SetNonBlocking(Descriptor fd);

// A new socket that children do not inherit, non-blocking when asked.
Descriptor OpenSocket(int family, int type, bool nonBlocking);
// Accepts one waiting connection as a non-blocking socket, or kNoDescriptor.
Descriptor AcceptNonBlocking(Descriptor listener);
// Sends what the socket takes now (never raising SIGPIPE); -1 on failure.
long SendSome(Descriptor fd, const std::uint8_t* bytes, std::size_t size);
void ShutdownBoth(Descriptor fd);
// Asks for arrival times of received bytes where the system stamps them.
void EnableArrivalStamps(Descriptor fd);
// Receives into buffer; `arrived` gets the system's arrival stamp where it
// has one, otherwise the time of the call. -1 on failure, 0 at the end.
long ReceiveStamped(
    Descriptor fd, std::uint8_t* buffer, std::size_t size, std::chrono::system_clock::time_point& arrived);

// One wait on the descriptors (a kNoDescriptor entry is ignored). False on a
// failure that should end the caller's loop; an interrupted wait is true
// with nothing reported.
bool PollOnce(std::vector<pollfd>& fds, int timeoutMs);

// Milliseconds for PollOnce() until the given time (0 when past, the cap
// when there is none), capped so a thread never sleeps long without checking
// its stop flag.
int PollTimeoutMs(std::optional<Clock::time_point> due, Clock::time_point now, int capMs = 200);

} // namespace velmaris::sim
