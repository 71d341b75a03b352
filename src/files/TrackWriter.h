#pragma once
// Writes the track beside a recording, one whole line at a time, on a thread
// of its own: AppendLine only queues the line and returns, so a slow disk
// never delays the next command to the head. The writer thread hands each
// line to the operating system with one write, so a kill of the station
// leaves whole lines (at most the line in flight is lost).
//
// A failed write (disk full, device gone) stops the track, never the
// recording: the file is cut back to its last whole line and closed, and
// the cause is reported once, on the user-interface thread, at the next
// AppendLine, Poll or Close (the reporter shows it after the handler that
// called returns). Lines queued behind a failure are dropped. While the
// disk lags, at most kTrackQueueCap bytes wait; lines beyond that are
// dropped and counted.
//
// Ownership: owns the file and the thread; the reporter must outlive the
// writer. Thread: every member is called from one thread (the user-interface
// thread); the writer thread is internal.

#include "files/PlatformFiles.h"
#include "files/Reporter.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace velmaris {

inline constexpr std::size_t kTrackQueueCap = 1u << 20;

// The message shown when a write to the track file failed.
std::string TrackWriteFailedMessage(const std::string& path, const std::string& cause);

class TrackWriter {
public:
    explicit TrackWriter(Reporter& reporter)
        : reporter_(reporter)
    { }
    ~TrackWriter();
    TrackWriter(const TrackWriter&) = delete;
    TrackWriter& operator=(const TrackWriter&) = delete;

    // Creates `path` (truncating an existing file) after closing any open
    // track, and starts the writer thread. False with the cause in
    // LastError() when the file cannot be created; reports nothing.
    bool Open(const std::string& path);
    // Writes what is queued, stops the thread and closes the file; reports
    // a failure not reported yet.
    void Close();

    bool IsOpen() const { return open_; }
    const std::string& Path() const { return path_; }
    const std::string& LastError() const { return lastError_; }

    // Queues one whole line (ending in a line feed). Nothing happens while
    // closed or after a failure.
    void AppendLine(std::string line);
    // Reports a failure of the writer thread once, and closes the track.
    void Poll();
    // Waits until every queued line has been handed to the operating system
    // (tests and Close).
    void Flush();

    std::int64_t DroppedLines() const;
    // Called once a failure has stopped the track (after its message).
    void SetStopListener(std::function<void()> listener) { stopListener_ = std::move(listener); }

private:
    void Run();
    void StopThread();

    Reporter& reporter_;
    std::string path_;
    std::string lastError_;
    bool open_ = false;
    std::function<void()> stopListener_;

    // Shared with the writer thread under mutex_.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::string> queue_;
    std::size_t queuedBytes_ = 0;
    bool busy_ = false; // the thread is writing a line taken off the queue
    bool stop_ = false;
    bool failed_ = false;
    std::string failure_;
    std::int64_t dropped_ = 0;
    AppendFile file_; // written by the thread only while it runs
    std::int64_t length_ = 0;
    std::thread thread_;
};

} // namespace velmaris
