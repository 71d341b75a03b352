#pragma once
// Small POSIX helpers shared by the simulated heads' transport threads.

#include "sim/HeadSession.h"

#include <optional>

namespace velmaris::sim {

// Owns a file descriptor; closes it on destruction.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd)
        : fd_(fd)
    { }
    UniqueFd(UniqueFd&& other) noexcept
        : fd_(other.Release())
    { }
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    void Reset(int fd = -1);

private:
    int fd_ = -1;
};

// A self-pipe that wakes a thread blocked in poll(); Signal() is safe from
// any thread.
class WakePipe {
public:
    bool Open();
    int ReadFd() const { return read_.Get(); }
    void Signal() const;
    void Drain() const;

private:
    UniqueFd read_, write_;
};

bool SetNonBlocking(int fd);

// Milliseconds for poll() until the given time (0 when past, -1 for none),
// capped so a thread never sleeps long without checking its stop flag.
int PollTimeoutMs(std::optional<Clock::time_point> due, Clock::time_point now, int capMs = 200);

} // namespace velmaris::sim
