#pragma once
// File faults a POSIX test can stage: things that are not regular files,
// made under a data or settings file's name (a FIFO, on which an open for
// reading or writing waits for the other end; a folder; a character device,
// a null device of the test's own made with mknod, so nothing the system
// uses is ever touched), and a full disk.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmaris::testing {

enum class SpecialKind { Fifo, Folder, Device };

inline const char* SpecialKindName(SpecialKind kind)
{
    switch (kind) {
    case SpecialKind::Fifo:
        return "Fifo";
    case SpecialKind::Folder:
        return "Folder";
    case SpecialKind::Device:
        return "Device";
    }
    return "";
}

inline const std::vector<SpecialKind> kSpecialKinds {
    SpecialKind::Fifo, SpecialKind::Folder, SpecialKind::Device};

// Makes `kind` at `path`; false when the system refuses (a device needs root).
inline bool MakeSpecial(SpecialKind kind, const std::filesystem::path& path)
{
    switch (kind) {
    case SpecialKind::Fifo:
        return ::mkfifo(path.c_str(), 0666) == 0;
    case SpecialKind::Folder:
        return std::filesystem::create_directory(path);
    case SpecialKind::Device:
        return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    }
    return false;
}

// Runs `body` in a child process and gives its result, or -1 when it has
// not ended after `limit` (a call that blocks for good: the child is killed).
inline int ResultWithin(const std::function<int()>& body, std::chrono::milliseconds limit)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -2;
    if (child == 0)
        ::_exit(body());
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
}

// A file-size limit stands for a full disk: a write past it fails (EFBIG)
// instead of raising SIGXFSZ. It holds for this whole process (and the
// programs it starts) while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Ok() const { return ok_; }

private:
    rlimit saved_ {};
    void (*previous_)(int) = SIG_DFL;
    bool ok_ = false;
};

} // namespace velmaris::testing
