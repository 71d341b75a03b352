#pragma once
// The record file: every decoded ping is appended as one whole record while
// recording is on. Each record goes to the operating system with an
// unbuffered write before the next ping is processed, so a crash or a kill
// of the station loses at most the ping in flight. A record is written whole
// or not at all: when a write falls short, the file is cut back to the end
// of the last whole record. A failed write (disk full, device gone) stops
// recording, reports the cause once and leaves the file readable.
//
// While recording, a keeper thread wakes once a period (a second in the
// station) and, off the ping path, hands what was written since to the
// device (fdatasync, FlushFileBuffers), so a power cut loses at most a
// second of pings, and checks that the file is still at its path. A file
// whose folder was removed (or that was renamed away) stops recording as a
// failed write does, and what was recorded is written again from the still
// open handle to the same path (its folder made anew) or, failing that, to
// the user's home folder.
//
// Recording is on exactly while the record file is open, so the station
// never shows "Recording" while nothing can be written.
//
// User-interface thread only, but for the keeper, which only flushes and
// checks the open file and raises a flag that Append and Poll act on. Owns
// the file and the keeper; the reporter must outlive the writer.

#include "files/PlatformFiles.h"
#include "files/Reporter.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>

namespace velmaris {

inline constexpr std::chrono::milliseconds kRecordKeepPeriod {1000};

// Told when recording starts and stops (a failed write stops it too) and
// after every record appended; the track beside the recording follows here.
class RecordListener {
public:
    virtual ~RecordListener() = default;
    virtual void RecordOpened(const std::string& path) = 0;
    virtual void RecordAppended() = 0;
    virtual void RecordClosed() = 0;
};

class RecordWriter {
public:
    explicit RecordWriter(Reporter& reporter, std::chrono::milliseconds keepPeriod = kRecordKeepPeriod)
        : reporter_(reporter)
        , keepPeriod_(keepPeriod)
    { }
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Creates `path` (truncating an existing file; others may read and
    // write it) after closing any open record file. False when the file
    // cannot be created; LastError() then holds the cause. Reports nothing:
    // the record command shows its own messages.
    [[nodiscard]] bool Open(const std::string& path);
    void Close();

    bool IsRecording() const { return file_.IsOpen(); }
    const std::string& Path() const { return path_; }
    // Bytes in the file: whole records only.
    std::int64_t Length() const { return length_; }
    const std::string& LastError() const { return lastError_; }

    // Appends one whole record. Nothing happens when not recording or when
    // `record` is empty. False when the write failed or the keeper found
    // the file gone; recording has then stopped and the message has gone
    // to the reporter, which shows it once the handler that delivered the
    // ping has returned.
    bool Append(std::span<const std::uint8_t> record);
    // Acts on what the keeper found (the file gone, a flush failed) between
    // pings; the owner calls it after every timer event.
    void Poll();

    // Called after a failed write has stopped recording (and the message
    // has gone to the reporter), so the owner can show that nothing is
    // recorded now.
    void SetStopListener(std::function<void()> listener) { stopListener_ = std::move(listener); }
    // May be null; must outlive the writer or be detached.
    void SetRecordListener(RecordListener* listener) { recordListener_ = listener; }

    // Flushes to the device since Open (for tests and benchmarks).
    std::uint64_t Flushes() const { return flushes_.load(); }

private:
    enum Fault : int { kNoFault, kFileGone, kFlushFailed };
    void Fail();
    void StartKeeper();
    void StopKeeper();
    void Keep();
    void StopOnFault();

    Reporter& reporter_;
    std::chrono::milliseconds keepPeriod_;
    AppendFile file_;
    std::string path_;
    std::int64_t length_ = 0;
    std::string lastError_;
    std::function<void()> stopListener_;
    RecordListener* recordListener_ = nullptr;

    std::thread keeper_;
    std::mutex keeperMutex_; // held by the keeper while it uses the file, and to stop it
    std::condition_variable keeperWake_;
    bool keeperStop_ = false;
    std::atomic<bool> unflushed_ {false};
    std::atomic<int> fault_ {kNoFault};
    std::string faultCause_; // written by the keeper before fault_ is raised
    std::atomic<std::uint64_t> flushes_ {0};
};

// The message shown when a write to the record file failed.
std::string RecordWriteFailedMessage(const std::string& path, const std::string& cause);
// The message shown when the record file left its path and its pings could
// not be written again anywhere.
std::string RecordLostMessage(const std::string& path, const std::string& cause);

} // namespace velmaris
