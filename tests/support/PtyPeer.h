#pragma once
// The far side of a pseudo-terminal: a test writes what a device (a head,
// a GPS receiver) would send, reads what the station wrote, and the station
// opens Path() as its serial port.

#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace velmaris::test {

class PtyPeer {
public:
    PtyPeer()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        termios raw {};
        ::tcgetattr(master_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(master_, TCSANOW, &raw);
        path_ = name;
        // The device side stays open so the line exists while the station
        // opens and closes it.
    }
    ~PtyPeer()
    {
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool Ok() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }

    void Send(std::string_view bytes) const
    {
        while (!bytes.empty()) {
            const ssize_t n = ::write(master_, bytes.data(), bytes.size());
            if (n <= 0)
                return;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    void Send(const std::vector<std::uint8_t>& bytes) const
    {
        Send(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

    // Whatever the station wrote and is waiting, waiting up to `waitMs` for
    // at least `atLeast` bytes.
    std::vector<std::uint8_t> Received(std::size_t atLeast = 0, int waitMs = 0) const
    {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
        std::vector<std::uint8_t> bytes;
        for (;;) {
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            const bool enough = bytes.size() >= atLeast;
            pollfd wait {master_, POLLIN, 0};
            // Drain what is there at once; wait only while more is wanted.
            if (::poll(&wait, 1, enough || left <= 0 ? 0 : static_cast<int>(left)) <= 0)
                return bytes;
            std::uint8_t chunk[1024];
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0)
                return bytes;
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

} // namespace velmaris::test
