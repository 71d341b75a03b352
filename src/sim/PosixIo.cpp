#include "sim/PosixIo.h"

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace velmaris::sim {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int UniqueFd::Release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

bool WakePipe::Open()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    read_.Reset(fds[0]);
    write_.Reset(fds[1]);
    return true;
}

void WakePipe::Signal() const
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(write_.Get(), &byte, 1);
}

void WakePipe::Drain() const
{
    char buffer[64];
    while (::read(read_.Get(), buffer, sizeof buffer) > 0) { }
}

bool SetNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

int PollTimeoutMs(std::optional<Clock::time_point> due, Clock::time_point now, int capMs)
{
    if (!due)
        return capMs;
    if (*due <= now)
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*due - now).count();
    return static_cast<int>(std::min<long long>(ms, capMs));
}

} // namespace velmaris::sim
