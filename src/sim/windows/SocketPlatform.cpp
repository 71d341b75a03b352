#include "sim/SocketIo.h"

#include <cstring>
#include <mutex>

namespace velmaris::sim {

void UniqueFd::Reset(Descriptor fd)
{
    if (fd_ != kNoDescriptor)
        ::closesocket(fd_);
    fd_ = fd;
}

bool WakePipe::Open()
{
    // WSAPoll watches sockets only: a datagram socket on loopback, connected
    // to itself, carries the wake-up bytes.
    UniqueFd socket(OpenSocket(AF_INET, SOCK_DGRAM, true));
    if (!socket.Valid())
        return false;
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0
        || ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0
        || ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0)
        return false;
    read_ = std::move(socket);
    write_.Reset();
    return true;
}

void WakePipe::Signal() const
{
    const char byte = 1;
    ::send(read_.Get(), &byte, 1, 0);
}

void WakePipe::Drain() const
{
    char buffer[64];
    while (::recv(read_.Get(), buffer, sizeof buffer, 0) > 0) { }
}

bool SocketsReady()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        WSADATA data {};
        ready = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return ready;
}

std::string LastSocketError()
{
    const int code = ::WSAGetLastError();
    char text[256] = {};
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "socket error " + std::to_string(code) : message;
}

bool LastCallWouldBlock()
{
    const int code = ::WSAGetLastError();
    return code == WSAEWOULDBLOCK || code == WSAEINTR;
}

bool SetNonBlocking(Descriptor fd)
{
    u_long on = 1;
    return ::ioctlsocket(fd, FIONBIO, &on) == 0;
}

Descriptor OpenSocket(int family, int type, bool nonBlocking)
{
    if (!SocketsReady())
        return kNoDescriptor;
    const Descriptor fd = ::WSASocketW(family, type, 0, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (fd != kNoDescriptor && nonBlocking && !SetNonBlocking(fd)) {
        ::closesocket(fd);
        return kNoDescriptor;
    }
    return fd;
}

Descriptor AcceptNonBlocking(Descriptor listener)
{
    // An accepted socket takes its listener's non-blocking mode; set it all
    // the same.
    const Descriptor fd = ::accept(listener, nullptr, nullptr);
    if (fd != kNoDescriptor && !SetNonBlocking(fd)) {
        ::closesocket(fd);
        return kNoDescriptor;
    }
    return fd;
}

long SendSome(Descriptor fd, const std::uint8_t* bytes, std::size_t size)
{
    const int chunk = size > 65536 ? 65536 : static_cast<int>(size);
    return ::send(fd, reinterpret_cast<const char*>(bytes), chunk, 0);
}

void ShutdownBoth(Descriptor fd)
{
    ::shutdown(fd, SD_BOTH);
}

void EnableArrivalStamps(Descriptor)
{
    // Winsock has no arrival stamps on stream sockets: the time of the
    // receive stands in.
}

long ReceiveStamped(
    Descriptor fd, std::uint8_t* buffer, std::size_t size, std::chrono::system_clock::time_point& arrived)
{
    const int chunk = size > 65536 ? 65536 : static_cast<int>(size);
    const int n = ::recv(fd, reinterpret_cast<char*>(buffer), chunk, 0);
    arrived = std::chrono::system_clock::now();
    return n == SOCKET_ERROR ? -1 : n;
}

bool PollOnce(std::vector<pollfd>& fds, int timeoutMs)
{
    // Only the entries that name a socket go to WSAPoll.
    std::vector<WSAPOLLFD> watched;
    watched.reserve(fds.size());
    for (pollfd& fd : fds) {
        fd.revents = 0;
        if (fd.fd != kNoDescriptor)
            watched.push_back(fd);
    }
    if (watched.empty()) {
        ::Sleep(timeoutMs < 0 ? 200 : static_cast<DWORD>(timeoutMs));
        return true;
    }
    if (::WSAPoll(watched.data(), static_cast<ULONG>(watched.size()), timeoutMs) == SOCKET_ERROR)
        return ::WSAGetLastError() == WSAEINTR;
    std::size_t next = 0;
    for (pollfd& fd : fds)
        if (fd.fd != kNoDescriptor)
            fd.revents = watched[next++].revents;
    return true;
}

} // namespace velmaris::sim
