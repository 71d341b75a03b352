#include "files/RecordWriter.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaris {

std::string RecordWriteFailedMessage(const std::string& path, const std::string& cause)
{
    return "Recording stopped: the record file could not be written (" + cause + ").\n" + path
        + "\nkeeps every ping recorded before.   ";
}

RecordWriter::~RecordWriter()
{
    Close();
}

bool RecordWriter::Open(const std::string& path)
{
    Close();
    lastError_.clear();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        lastError_ = std::strerror(errno);
        return false;
    }
    fd_ = fd;
    path_ = path;
    length_ = 0;
    return true;
}

void RecordWriter::Close()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
}

bool RecordWriter::Append(std::span<const std::uint8_t> record)
{
    if (fd_ < 0 || record.empty())
        return true;
    std::size_t written = 0;
    while (written < record.size()) {
        const ssize_t n = ::write(fd_, record.data() + written, record.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        Fail(n < 0 ? errno : ENOSPC); // a write of 0 bytes makes no progress: the device is full
        return false;
    }
    length_ += static_cast<std::int64_t>(written);
    return true;
}

void RecordWriter::Fail(int error)
{
    lastError_ = std::strerror(error);
    // Cut a partly written record off so the file ends on a whole record.
    // (Devices that cannot be truncated hold no partial record a reader could see.)
    [[maybe_unused]] const int cut = ::ftruncate(fd_, static_cast<off_t>(length_));
    Close();
    reporter_.ShowMessage(RecordWriteFailedMessage(path_, lastError_));
    if (stopListener_)
        stopListener_();
}

} // namespace velmaris
