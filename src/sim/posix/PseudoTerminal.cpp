#include "sim/PseudoTerminal.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace velmaris::sim {

bool PseudoTerminal::Open(const std::string& linkPath, std::string* error, bool headBaud)
{
    auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    Close();
    int master = -1, device = -1;
    char name[PATH_MAX] = {};
    if (::openpty(&master, &device, name, nullptr, nullptr) != 0)
        return fail(std::string("openpty: ") + std::strerror(errno));
    master_.Reset(master);
    device_.Reset(device);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(device, F_SETFD, FD_CLOEXEC);
    termios tio {};
    if (::tcgetattr(device, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, headBaud ? B115200 : B4800);
        ::cfsetospeed(&tio, headBaud ? B115200 : B4800);
        ::tcsetattr(device, TCSANOW, &tio);
    }
    SetNonBlocking(master);
    devicePath_ = name;
    if (!linkPath.empty()) {
        struct stat st { };
        if (::lstat(linkPath.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                Close();
                return fail("'" + linkPath + "' exists and is not a symbolic link; not replacing it");
            }
            ::unlink(linkPath.c_str());
        }
        if (::symlink(devicePath_.c_str(), linkPath.c_str()) != 0) {
            const std::string reason = std::strerror(errno);
            Close();
            return fail("cannot link '" + linkPath + "': " + reason);
        }
        linkPath_ = linkPath;
    }
    return true;
}

void PseudoTerminal::Close()
{
    if (!linkPath_.empty()) {
        char target[PATH_MAX] = {};
        const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (n > 0 && devicePath_ == std::string(target, static_cast<std::size_t>(n)))
            ::unlink(linkPath_.c_str());
        linkPath_.clear();
    }
    master_.Reset();
    device_.Reset();
}

long PseudoTerminal::Write(const char* bytes, std::size_t size)
{
    const ssize_t n = ::write(master_.Get(), bytes, size);
    if (n < 0)
        return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
    return static_cast<long>(n);
}

} // namespace velmaris::sim
