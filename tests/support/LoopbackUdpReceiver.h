#pragma once
// A plain UDP socket on 127.0.0.1 with a free port and a 4 MB receive
// buffer, for tests of what a sender puts on the wire (no Qt). POSIX only;
// one thread; failures show as an empty Take().
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmaris::testing {

class LoopbackUdpReceiver {
public:
    LoopbackUdpReceiver()
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int size = 4 << 20; // room for a burst of many datagrams
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
        sockaddr_in sa {};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        socklen_t length = sizeof sa;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &length);
        port_ = ntohs(sa.sin_port);
    }
    ~LoopbackUdpReceiver() { ::close(fd_); }
    LoopbackUdpReceiver(const LoopbackUdpReceiver&) = delete;
    LoopbackUdpReceiver& operator=(const LoopbackUdpReceiver&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

    // Up to `count` whole datagrams, each waited for at most `timeoutMs`.
    std::vector<std::vector<std::uint8_t>> Take(std::size_t count, int timeoutMs = 3000)
    {
        std::vector<std::vector<std::uint8_t>> got;
        std::vector<std::uint8_t> buffer(70000);
        pollfd p {fd_, POLLIN, 0};
        while (got.size() < count && ::poll(&p, 1, timeoutMs) == 1) {
            const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
            if (n < 0)
                break;
            got.emplace_back(buffer.begin(), buffer.begin() + n);
        }
        return got;
    }

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

} // namespace velmaris::testing
