#include "sim/PtyHead.h"

#include "sim/HeadSession.h"
#include "sim/SocketIo.h"

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
    std::vector<std::uint8_t> pending;
    std::unique_ptr<HeadModel> model; // made on the head's thread
    std::unique_ptr<HeadSession> session;
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
    auto fail = [error](std::string message) { return Fail(error, std::move(message)); };
    if (Running())
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
    return Launch(error);
}

void PtyHead::Stop()
{
    StopThread();
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

void PtyHead::Begin()
{
    io_->model = std::make_unique<HeadModel>(options_.head);
    io_->session
        = std::make_unique<HeadSession>(*io_->model, options_.faults, SessionTiming {options_.fast, true});
    if (options_.log)
        io_->session->onPing = [this](const PingEvent& e) { options_.log(FormatPingEvent("serial", e)); };
}

int PtyHead::Prepare(std::vector<pollfd>& fds)
{
    Io& io = *io_;
    HeadSession& session = *io.session;
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

    fds.push_back({io.master.Get(), static_cast<short>(POLLIN | (io.pending.empty() ? 0 : POLLOUT)), 0});
    // With output stuck on a full line, retry now and then rather than spin.
    return io.pending.empty() ? PollTimeoutMs(session.NextDue(), Clock::now()) : 20;
}

void PtyHead::Ready(std::span<const pollfd> fds)
{
    if (fds[0].revents & POLLIN) {
        std::uint8_t buffer[512];
        const ssize_t n = ::read(io_->master.Get(), buffer, sizeof buffer);
        if (n > 0)
            io_->session->Receive(
                std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), Clock::now());
    }
}

void PtyHead::End()
{
    pings_ = io_->session->Pings();
    malformed_ = io_->session->MalformedCount();
}

} // namespace velmaris::sim
