#include "files/DataFile.h"

#include "files/PlatformFiles.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace velmaris {

std::optional<SonarType> FileTypeFromName(std::string_view name)
{
    if (name.size() < 3)
        return std::nullopt;
    const std::string_view tail = name.substr(name.size() - 3);
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    if (lower(tail[0]) != '5' || lower(tail[1]) != '2')
        return std::nullopt;
    switch (lower(tail[2])) {
    case 'a':
        return SonarType::SerialK52A;
    case 'l':
        return SonarType::EthernetK52L;
    default:
        return std::nullopt;
    }
}

SonarType SettleFileType(SonarType typeFromName, std::span<const std::uint8_t> firstBytes)
{
    const bool taggedSerial = firstBytes.size() >= 3 && firstBytes[0] == '5' && firstBytes[1] == '2'
        && std::tolower(firstBytes[2]) == 'a';
    return (typeFromName == SonarType::SerialK52A || taggedSerial) ? SonarType::SerialK52A : SonarType::EthernetK52L;
}

std::string_view TagForFileType(SonarType fileType)
{
    return fileType == SonarType::SerialK52A ? "52A" : "52L";
}

DataFile::~DataFile()
{
    Close();
}

DataFile::OpenResult DataFile::Open(const std::string& path)
{
    Close();
    PathKind kind = PathKind::Missing;
    file_ = OpenRegularFileForReading(path, kind);
    if (file_ == nullptr)
        return kind == PathKind::Folder || kind == PathKind::Other ? OpenResult::NotAFile
                                                                   : OpenResult::CannotOpen;
    // Records are read front to back: large blocks mean few system calls.
    // The buffer is ours (given none, the C library picks its own size).
    if (readBuffer_ == nullptr)
        readBuffer_ = std::make_unique<char[]>(kReadBlock);
    std::setvbuf(file_, readBuffer_.get(), _IOFBF, kReadBlock);
    if (fseeko(file_, 0, SEEK_END) != 0) {
        Close();
        return OpenResult::CannotOpen;
    }
    length_ = ftello(file_);
    if (length_ < kMinimumDataFileLength) {
        Close();
        return OpenResult::NoData;
    }
    fseeko(file_, 0, SEEK_SET);
    position_ = 0;
    seeks_ = 0;
    return OpenResult::Ok;
}

void DataFile::Close()
{
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
    length_ = 0;
    position_ = 0;
}

std::int64_t DataFile::Position() const
{
    if (file_ == nullptr)
        return 0;
    return position_ >= 0 ? position_ : ftello(file_);
}

bool DataFile::Seek(std::int64_t offset)
{
    if (file_ == nullptr || offset < 0)
        return false;
    // A reader that goes on where the last read ended asks for where the
    // stream already is; repositioning would cost the system a seek.
    if (offset == position_)
        return true;
    ++seeks_;
    if (fseeko(file_, offset, SEEK_SET) != 0) {
        position_ = -1;
        return false;
    }
    position_ = offset;
    return true;
}

std::size_t DataFile::Read(std::span<std::uint8_t> buffer)
{
    if (file_ == nullptr || buffer.empty())
        return 0;
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file_);
    // After a short read (the end, or an error) the stream keeps a flag that
    // only a real seek clears, so the position is left unknown.
    position_ = got == buffer.size() && position_ >= 0 ? position_ + std::int64_t(got) : -1;
    return got;
}

std::int64_t DataFile::Resynchronise(std::int64_t offset, SonarType fileType)
{
    if (file_ == nullptr)
        return 0;
    if (offset < 0)
        offset = 0;
    if (offset >= length_) {
        Seek(length_);
        return length_;
    }
    const std::string_view tag = TagForFileType(fileType);
    // Scan in blocks with a two-byte overlap so a tag across a block edge is
    // found; the first matching position at or after the offset wins, which
    // is exactly where a byte-by-byte scan would stop.
    // The block buffer is kept for the file's life and never larger than
    // what is left of the file: a damaged file resynchronises once per
    // record, and playback must not allocate 64 KB each time.
    constexpr std::size_t kBlock = 64 * 1024;
    const std::size_t block = static_cast<std::size_t>(std::min<std::int64_t>(kBlock, length_ - offset));
    if (scanBuffer_.size() < block + 2)
        scanBuffer_.resize(block + 2);
    for (std::int64_t base = offset; base < length_; base += kBlock) {
        if (!Seek(base))
            break;
        const std::size_t got = Read(std::span(scanBuffer_.data(), block + 2));
        const std::uint8_t* bytes = scanBuffer_.data();
        for (std::size_t i = 0; i + 2 < got && i < block; ++i) {
            if (bytes[i] == tag[0] && bytes[i + 1] == tag[1] && bytes[i + 2] == tag[2]) {
                Seek(base + static_cast<std::int64_t>(i));
                return base + static_cast<std::int64_t>(i);
            }
        }
    }
    Seek(length_);
    return length_;
}

const char* OpenResultMessage(DataFile::OpenResult result)
{
    switch (result) {
    case DataFile::OpenResult::CannotOpen:
        return kMsgErrorOpeningFile;
    case DataFile::OpenResult::NoData:
        return kMsgFileHasNoData;
    case DataFile::OpenResult::NotAFile:
        return kMsgNotADataFile;
    case DataFile::OpenResult::Ok:
        break;
    }
    return "";
}

} // namespace velmaris
