#include "files/TrackWriter.h"

#include <cstdint>
#include <span>

namespace velmaris {

std::string TrackWriteFailedMessage(const std::string& path, const std::string& cause)
{
    return "Track stopped: the track file could not be written (" + cause + ").\n" + path
        + "\nkeeps every sentence received before; the pings are still recorded.   ";
}

TrackWriter::~TrackWriter()
{
    StopThread();
    file_.Close();
}

bool TrackWriter::Open(const std::string& path)
{
    Close();
    lastError_.clear();
    if (!file_.Create(path, lastError_))
        return false;
    path_ = path;
    open_ = true;
    std::lock_guard lock(mutex_);
    queue_.clear();
    queuedBytes_ = 0;
    stop_ = false;
    failed_ = false;
    failure_.clear();
    dropped_ = 0;
    length_ = 0;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void TrackWriter::Close()
{
    if (!open_)
        return;
    StopThread();
    file_.Close();
    Poll();
    open_ = false;
}

void TrackWriter::StopThread()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void TrackWriter::AppendLine(std::string line)
{
    Poll();
    if (!open_ || line.empty())
        return;
    {
        std::lock_guard lock(mutex_);
        if (failed_ || stop_)
            return;
        if (queuedBytes_ + line.size() > kTrackQueueCap) {
            ++dropped_;
            return;
        }
        queuedBytes_ += line.size();
        queue_.push_back(std::move(line));
    }
    wake_.notify_one();
}

void TrackWriter::Poll()
{
    std::string cause;
    {
        std::lock_guard lock(mutex_);
        if (!failed_ || !open_)
            return;
        cause = failure_;
    }
    // The thread has stopped writing and cut the file back; end it here.
    StopThread();
    file_.Close();
    open_ = false;
    reporter_.ShowMessage(TrackWriteFailedMessage(path_, cause));
    if (stopListener_)
        stopListener_();
}

void TrackWriter::Flush()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return (queue_.empty() && !busy_) || failed_ || !thread_.joinable(); });
}

std::int64_t TrackWriter::DroppedLines() const
{
    std::lock_guard lock(mutex_);
    return dropped_;
}

void TrackWriter::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) // stop_ with nothing left
            break;
        std::string line = std::move(queue_.front());
        queue_.pop_front();
        queuedBytes_ -= line.size();
        busy_ = true;
        lock.unlock();
        std::string error;
        const bool ok
            = file_.Write(std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()), error);
        if (!ok)
            file_.Truncate(length_); // no part of a line stays behind
        else
            length_ += static_cast<std::int64_t>(line.size());
        lock.lock();
        busy_ = false;
        if (!ok) {
            failed_ = true;
            failure_ = error;
            queue_.clear();
            queuedBytes_ = 0;
            idle_.notify_all();
            break;
        }
        if (queue_.empty())
            idle_.notify_all();
    }
    idle_.notify_all();
}

} // namespace velmaris
