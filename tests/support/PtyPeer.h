#pragma once
// The far side of a pseudo-terminal: a test writes what a device would send
// and the station opens Path() as its serial port.

#include <fcntl.h>
#include <pty.h>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>

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
        // opens and closes it; it is never read here.
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

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

} // namespace velmaris::test
