#include "files/RecordWriter.h"

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
    if (!file_.Create(path, lastError_))
        return false;
    path_ = path;
    length_ = 0;
    if (recordListener_)
        recordListener_->RecordOpened(path);
    return true;
}

void RecordWriter::Close()
{
    const bool wasOpen = file_.IsOpen();
    file_.Close();
    if (wasOpen && recordListener_)
        recordListener_->RecordClosed();
}

bool RecordWriter::Append(std::span<const std::uint8_t> record)
{
    if (!file_.IsOpen() || record.empty())
        return true;
    if (!file_.Write(record, lastError_)) {
        Fail();
        return false;
    }
    length_ += static_cast<std::int64_t>(record.size());
    if (recordListener_)
        recordListener_->RecordAppended();
    return true;
}

void RecordWriter::Fail()
{
    // Cut a partly written record off so the file ends on a whole record.
    file_.Truncate(length_);
    Close();
    reporter_.ShowMessage(RecordWriteFailedMessage(path_, lastError_));
    if (stopListener_)
        stopListener_();
}

} // namespace velmaris
