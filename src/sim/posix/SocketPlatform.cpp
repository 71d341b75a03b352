#include "sim/SocketIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velmaris::sim {

void UniqueFd::Reset(Descriptor fd)
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

bool SocketsReady()
{
    return true;
}

std::string LastSocketError()
{
    return std::strerror(errno);
}

bool LastCallWouldBlock()
{
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

bool SetNonBlocking(Descriptor fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

Descriptor OpenSocket(int family, int type, bool nonBlocking)
{
    return ::socket(family, type | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
}

Descriptor AcceptNonBlocking(Descriptor listener)
{
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
}

long SendSome(Descriptor fd, const std::uint8_t* bytes, std::size_t size)
{
    return ::send(fd, bytes, size, MSG_NOSIGNAL);
}

void ShutdownBoth(Descriptor fd)
{
    ::shutdown(fd, SHUT_RDWR);
}

void EnableArrivalStamps(Descriptor fd)
{
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
}

long ReceiveStamped(
    Descriptor fd, std::uint8_t* buffer, std::size_t size, std::chrono::system_clock::time_point& arrived)
{
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    iovec part {buffer, size};
    msghdr message {};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t n = ::recvmsg(fd, &message, 0);
    arrived = std::chrono::system_clock::now();
    if (n <= 0)
        return n;
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp {};
            std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
            arrived = std::chrono::system_clock::time_point(
                std::chrono::duration_cast<std::chrono::system_clock::duration>(
                    std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec)));
        }
    }
    return n;
}

bool PollOnce(std::vector<pollfd>& fds, int timeoutMs)
{
    if (::poll(fds.data(), fds.size(), timeoutMs) >= 0)
        return true;
    for (pollfd& fd : fds)
        fd.revents = 0;
    return errno == EINTR;
}

} // namespace velmaris::sim
