#pragma once
// The record file: every decoded ping is appended as one whole record while
// recording is on. Each record goes to the operating system with an
// unbuffered write before the next ping is processed, so a crash or a kill
// of the station loses at most the ping in flight. A record is written whole
// or not at all: when a write falls short, the file is cut back to the end
// of the last whole record. A failed write (disk full, device gone) stops
// recording, reports the cause once and leaves the file readable.
//
// Recording is on exactly while the record file is open, so the station
// never shows "Recording" while nothing can be written.
//
// User-interface thread only. Owns the file; the reporter must outlive the
// writer.

#include "files/PlatformFiles.h"
#include "files/Reporter.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace velmaris {

class RecordWriter {
public:
    explicit RecordWriter(Reporter& reporter)
        : reporter_(reporter)
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
    // `record` is empty. False when the write failed; recording has then
    // stopped and the message has gone to the reporter, which shows it once
    // the handler that delivered the ping has returned.
    bool Append(std::span<const std::uint8_t> record);

    // Called after a failed write has stopped recording (and the message
    // has gone to the reporter), so the owner can show that nothing is
    // recorded now.
    void SetStopListener(std::function<void()> listener) { stopListener_ = std::move(listener); }

private:
    void Fail();

    Reporter& reporter_;
    AppendFile file_;
    std::string path_;
    std::int64_t length_ = 0;
    std::string lastError_;
    std::function<void()> stopListener_;
};

// The message shown when a write to the record file failed.
std::string RecordWriteFailedMessage(const std::string& path, const std::string& cause);

} // namespace velmaris
