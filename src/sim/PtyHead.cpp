#include "sim/PtyHead.h"

#include "sim/HeadSession.h"
#include "sim/PosixIo.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace velmaris::sim {

namespace {
// Output a station does not read piles up on the line; keep only the newest.
constexpr std::size_t kMaxPending = 64 * 1024;
} // namespace

struct PtyHead::Io {
    UniqueFd master, device;
    WakePipe wake;
    std::vector<std::uint8_t> pending;
};

PtyHead::PtyHead(PtyHeadOptions options)
    : options_(std::move(options))
    , io_(std::make_unique<Io>())
{ }

PtyHead::~PtyHead()
{
    Stop();
}

bool PtyHead::Start(std::string* error)
{
    auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    if (thread_.joinable())
        return fail("the serial head is already running");
    int master = -1, device = -1;
    char name[PATH_MAX] = {};
    if (::openpty(&master, &device, name, nullptr, nullptr) != 0)
        return fail(std::string("openpty: ") + std::strerror(errno));
    io_->master.Reset(master);
    io_->device.Reset(device);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(device, F_SETFD, FD_CLOEXEC);
    termios tio {};
    if (::tcgetattr(device, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B115200);
        ::cfsetospeed(&tio, B115200);
        ::tcsetattr(device, TCSANOW, &tio);
    }
    SetNonBlocking(master);
    devicePath_ = name;
    if (!options_.linkPath.empty()) {
        struct stat st { };
        if (::lstat(options_.linkPath.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode))
                return fail(
                    "'" + options_.linkPath + "' exists and is not a symbolic link; not replacing it");
            ::unlink(options_.linkPath.c_str());
        }
        if (::symlink(devicePath_.c_str(), options_.linkPath.c_str()) != 0)
            return fail("cannot link '" + options_.linkPath + "': " + std::strerror(errno));
        linked_ = true;
    }
    if (!io_->wake.Open())
        return fail(std::string("pipe: ") + std::strerror(errno));
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void PtyHead::Stop()
{
    if (thread_.joinable()) {
        stop_ = true;
        io_->wake.Signal();
        thread_.join();
    }
    if (linked_) {
        // Remove the link only while it still points at this head.
        char target[PATH_MAX] = {};
        const ssize_t n = ::readlink(options_.linkPath.c_str(), target, sizeof target - 1);
        if (n > 0 && devicePath_ == std::string(target, static_cast<std::size_t>(n)))
            ::unlink(options_.linkPath.c_str());
        linked_ = false;
    }
    io_->master.Reset();
    io_->device.Reset();
}

void PtyHead::Run()
{
    HeadModel model(options_.head);
    HeadSession session(model, options_.faults, {options_.fast, true});
    if (options_.log)
        session.onPing = [this](const PingEvent& e) { options_.log(FormatPingEvent("serial", e)); };
    Io& io = *io_;
    while (!stop_) {
        const Clock::time_point now = Clock::now();
        while (std::optional<OutChunk> chunk = session.PopDue(now))
            io.pending.insert(io.pending.end(), chunk->bytes.begin(), chunk->bytes.end());
        if (io.pending.size() > kMaxPending)
            io.pending.erase(io.pending.begin(), io.pending.end() - static_cast<std::ptrdiff_t>(kMaxPending));
        if (!io.pending.empty()) {
            const ssize_t n = ::write(io.master.Get(), io.pending.data(), io.pending.size());
            if (n > 0)
                io.pending.erase(io.pending.begin(), io.pending.begin() + n);
        }
        pings_ = session.Pings();
        malformed_ = session.MalformedCount();

        pollfd fds[2] = {{io.wake.ReadFd(), POLLIN, 0},
            {io.master.Get(), static_cast<short>(POLLIN | (io.pending.empty() ? 0 : POLLOUT)), 0}};
        // With output stuck on a full line, retry now and then rather than spin.
        const int timeout = io.pending.empty() ? PollTimeoutMs(session.NextDue(), Clock::now()) : 20;
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            io.wake.Drain();
        if (fds[1].revents & POLLIN) {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(io.master.Get(), buffer, sizeof buffer);
            if (n > 0)
                session.Receive(
                    std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), Clock::now());
        }
    }
    pings_ = session.Pings();
    malformed_ = session.MalformedCount();
}

} // namespace velmaris::sim
