#include "files/RecordWriter.h"

#include "files/SettingsLocation.h"

#include <filesystem>

namespace velmaris {

namespace {
constexpr const char* kRemovedCause = "it is no longer at its path: its folder was removed or it was renamed";
} // namespace

std::string RecordWriteFailedMessage(const std::string& path, const std::string& cause)
{
    return "Recording stopped: the record file could not be written (" + cause + ").\n" + path
        + "\nkeeps every ping recorded before.   ";
}

std::string RecordLostMessage(const std::string& path, const std::string& cause)
{
    return "Recording stopped: the record file is no longer at its path:\n" + path
        + "\nIts pings could not be written again (" + cause + ").   ";
}

RecordWriter::~RecordWriter()
{
    Close();
}

bool RecordWriter::Open(const std::string& path)
{
    Close();
    lastError_.clear();
    if (!file_.Create(path, lastError_))
        return false;
    path_ = path;
    length_ = 0;
    StartKeeper();
    if (recordListener_)
        recordListener_->RecordOpened(path);
    return true;
}

void RecordWriter::Close()
{
    StopKeeper();
    const bool wasOpen = file_.IsOpen();
    file_.Close();
    if (wasOpen && recordListener_)
        recordListener_->RecordClosed();
}

void RecordWriter::StartKeeper()
{
    keeperStop_ = false;
    unflushed_ = false;
    fault_ = kNoFault;
    flushes_ = 0;
    keeper_ = std::thread([this] { Keep(); });
}

void RecordWriter::StopKeeper()
{
    if (!keeper_.joinable())
        return;
    {
        const std::lock_guard lock(keeperMutex_);
        keeperStop_ = true;
    }
    keeperWake_.notify_all();
    keeper_.join();
}

void RecordWriter::Keep()
{
    std::unique_lock lock(keeperMutex_);
    while (!keeperStop_) {
        if (keeperWake_.wait_for(lock, keepPeriod_, [this] { return keeperStop_; }))
            break;
        std::string cause;
        if (unflushed_.exchange(false)) {
            if (!file_.Flush(cause)) {
                faultCause_ = cause;
                fault_ = kFlushFailed;
                break;
            }
            ++flushes_;
        }
        if (!file_.StillAt(path_)) {
            faultCause_ = kRemovedCause;
            fault_ = kFileGone;
            break;
        }
    }
}

bool RecordWriter::Append(std::span<const std::uint8_t> record)
{
    if (!file_.IsOpen() || record.empty())
        return true;
    if (fault_.load() != kNoFault) {
        StopOnFault();
        return false;
    }
    if (!file_.Write(record, lastError_)) {
        Fail();
        return false;
    }
    length_ += static_cast<std::int64_t>(record.size());
    unflushed_ = true;
    if (recordListener_)
        recordListener_->RecordAppended();
    return true;
}

void RecordWriter::Poll()
{
    if (file_.IsOpen() && fault_.load() != kNoFault)
        StopOnFault();
}

void RecordWriter::StopOnFault()
{
    StopKeeper(); // the cause is the keeper's last word
    lastError_ = faultCause_;
    if (fault_.load() != kFileGone) {
        Fail();
        return;
    }
    // The open handle still reads what was recorded: write it again, where
    // it was (the folder made anew) or else in the home folder.
    std::string rescued = path_;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(FolderOf(path_)), ignored);
    // Something new at the path (a file renamed there since) stays as it is.
    if (KindOfPath(rescued) != PathKind::Missing) {
        const std::filesystem::path name(path_);
        rescued = FolderOf(path_) + name.stem().string() + " (recovered)" + name.extension().string();
    }
    std::string error;
    bool kept = file_.CopyTo(rescued, length_, error);
    const std::string home = UserHomeFolder();
    if (!kept && !home.empty()) {
        rescued = WithTrailingSeparator(home) + std::filesystem::path(path_).filename().string();
        kept = file_.CopyTo(rescued, length_, error);
    }
    Close(); // the track beside it stops with it
    reporter_.ShowMessage(
        kept ? RecordWriteFailedMessage(rescued, lastError_) : RecordLostMessage(path_, error));
    if (stopListener_)
        stopListener_();
}

void RecordWriter::Fail()
{
    // Cut a partly written record off so the file ends on a whole record.
    StopKeeper();
    file_.Truncate(length_);
    Close();
    reporter_.ShowMessage(RecordWriteFailedMessage(path_, lastError_));
    if (stopListener_)
        stopListener_();
}

} // namespace velmaris
