#include "sim/ServerThread.h"

namespace velmaris::sim {

ServerThread::~ServerThread()
{
    StopThread();
}

bool ServerThread::Fail(std::string* error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

bool ServerThread::Launch(std::string* error)
{
    if (!wake_.Open())
        return Fail(error, "wake-up pipe: " + LastSocketError());
    stop_ = false;
    thread_ = std::thread([this] { Loop(); });
    return true;
}

bool ServerThread::StopThread()
{
    if (!thread_.joinable())
        return false;
    stop_ = true;
    wake_.Signal();
    thread_.join();
    return true;
}

void ServerThread::Loop()
{
    Begin();
    std::vector<pollfd> fds;
    while (!stop_) {
        fds.assign(1, pollfd {wake_.ReadFd(), POLLIN, 0});
        const int timeout = Prepare(fds);
        if (timeout == kEndLoop)
            break;
        if (!PollOnce(fds, timeout))
            break;
        if (fds[0].revents)
            wake_.Drain();
        Ready(std::span<const pollfd>(fds).subspan(1));
    }
    End();
}

} // namespace velmaris::sim
