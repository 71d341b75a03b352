#pragma once
// A thread of its own that runs jobs one after another, in the order given,
// so that an animation codes and writes frames while the next are painted.
// At most one job runs and none waits: Submit() returns once the job before
// has finished and the new one is handed over, so a writer that drains
// before refilling what it handed over never touches what is being coded.
// Owned by one writer; Submit() and Drain() from that writer's thread only.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace velmaris::tool {

class FrameWorker {
public:
    // A job returns "" when it went well, otherwise the message.
    using Job = std::function<std::string()>;

    FrameWorker()
        : thread_([this] { Loop(); })
    { }
    FrameWorker(const FrameWorker&) = delete;
    FrameWorker& operator=(const FrameWorker&) = delete;
    ~FrameWorker()
    {
        {
            const std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    // Waits for the job before, then hands this one over. Returns the first
    // failure of the jobs finished so far ("" for none).
    std::string Submit(Job job)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !job_; });
        job_ = std::move(job);
        changed_.notify_all();
        return error_;
    }

    // Waits until every job handed over has finished; the first failure.
    std::string Drain()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !job_; });
        return error_;
    }

private:
    void Loop()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return job_ || quit_; });
            if (!job_)
                return;
            lock.unlock();
            std::string failure = job_();
            lock.lock();
            if (error_.empty())
                error_ = std::move(failure);
            job_ = nullptr;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    Job job_; // the job running; empty when none
    std::string error_;
    bool quit_ = false;
    std::thread thread_; // last: starts once the rest is set up
};

} // namespace velmaris::tool
