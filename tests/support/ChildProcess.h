#pragma once
// Runs a built program (velmaris-tool, the station) as a child process for
// end-to-end tests: arguments, extra environment, its output and exit status.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velmaris::tool::test {

inline std::string ToolPath()
{
    return std::string(VELMARIS_BINARY_DIR) + "/bin/velmaris-tool";
}

class ToolProcess {
public:
    // velmaris-tool with `args`.
    explicit ToolProcess(std::vector<std::string> args)
        : ToolProcess(ToolPath(), std::move(args), {})
    { }
    // `program` with `args`; `environment` entries ("NAME=value") are added
    // to this process's environment.
    ToolProcess(const std::string& program, std::vector<std::string> args,
        const std::vector<std::string>& environment)
    {
        int out[2], err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> envText(environment);
        for (char** e = environ; *e != nullptr; ++e)
            envText.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : envText)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~ToolProcess()
    {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
        ::close(out_);
        ::close(err_);
    }
    bool Started() const { return pid_ > 0; }

    // Reads standard output until a line containing `text` arrives.
    std::string ReadLineWith(const std::string& text, int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            std::size_t end;
            while ((end = outText_.find('\n')) != std::string::npos) {
                std::string line = outText_.substr(0, end);
                outText_.erase(0, end + 1);
                if (line.find(text) != std::string::npos)
                    return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p {out_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                return "";
            char buffer[512];
            const ssize_t n = ::read(out_, buffer, sizeof buffer);
            if (n <= 0)
                return "";
            outText_.append(buffer, static_cast<std::size_t>(n));
        }
    }
    std::string ReadAllErrors()
    {
        std::string text;
        char buffer[512];
        ssize_t n;
        while ((n = ::read(err_, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }
    void Signal(int signal) { ::kill(pid_, signal); }
    // Exit status, or -1 when it did not end normally.
    int Wait()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        exited_ = true;
        status_ = status;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // As Wait(), but gives up after `timeoutMs`: kTimedOut, and the program
    // is killed.
    static constexpr int kTimedOut = -2;
    int WaitFor(int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Running()) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                Wait();
                return kTimedOut;
            }
            ::usleep(2000);
        }
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }
    // Whether the program still runs (one that ended is reaped).
    bool Running()
    {
        if (exited_)
            return false;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == 0)
            return true;
        exited_ = true;
        status_ = status;
        return false;
    }
    // The signal that ended the program, 0 when it exited by itself.
    int TermSignal() const { return exited_ && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }

private:
    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    bool exited_ = false;
    int status_ = 0;
    std::string outText_;
};

// The peak resident memory of shell `command`, in kilobytes, run in a child
// of a child so that no other child of the caller counts; -1 when it failed.
inline long PeakKilobytes(const std::string& command)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const int status = std::system(command.c_str());
        rusage usage {};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        const long peak = status == 0 ? usage.ru_maxrss : -1;
        (void)!::write(fds[1], &peak, sizeof peak);
        ::_exit(0);
    }
    ::close(fds[1]);
    long peak = -1;
    if (pid < 0 || ::read(fds[0], &peak, sizeof peak) != sizeof peak)
        peak = -1;
    ::close(fds[0]);
    if (pid > 0)
        ::waitpid(pid, nullptr, 0);
    return peak;
}

} // namespace velmaris::tool::test
