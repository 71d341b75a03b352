#pragma once
// Data files (".52a" serial-model, ".52l" Ethernet-model): one record per
// ping, back to back, no file header. This file recognises a file's type and
// reads it: open, length, seek, record by record, and re-synchronisation on
// the next record tag from any offset.
//
// A DataFile is owned by one thread (the user-interface thread in the
// station). Every read is bounded by the caller's buffer and by the file.

#include "protocol/SonarSettings.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmaris {

inline constexpr const char* kMsgUnknownFileType = "ERROR: Application can not recognize this file type!";
inline constexpr const char* kMsgErrorOpeningFile = "Error opening file !   ";
inline constexpr const char* kMsgFileHasNoData = "File has no data!!!  ";
inline constexpr const char* kMsgNotADataFile
    = "Error opening file: this is a folder, a pipe or a device, not a data file!   ";

// A data file's type is the head model that wrote it: SerialK52A ".52a",
// tag "52A"; EthernetK52L ".52l", tag "52L".
inline constexpr std::int64_t kMinimumDataFileLength = 100;

// File type from the last three characters of the name, compared lower-cased:
// "52a" gives the serial model, "52l" the Ethernet model; anything else is
// not a data file.
std::optional<SonarType> FileTypeFromName(std::string_view name);

// The type a file is played as: serial when the name said serial or the file
// begins with "52a" (any case), otherwise Ethernet.
SonarType SettleFileType(SonarType typeFromName, std::span<const std::uint8_t> firstBytes);

// The upper-case record tag searched for in a file of the given type.
std::string_view TagForFileType(SonarType fileType);

class DataFile {
public:
    enum class OpenResult { Ok, CannotOpen, NoData, NotAFile };

    DataFile() = default;
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Opens for reading. A file of 99 bytes or less is closed again (NoData);
    // a folder, FIFO or device is refused without waiting on it (NotAFile).
    [[nodiscard]] OpenResult Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    std::int64_t Length() const { return length_; }
    std::int64_t Position() const;
    // Moves the read position; seeking to where the last read ended (a walk
    // from record to record) costs nothing.
    bool Seek(std::int64_t offset);

    // Reads up to buffer.size() bytes at the current position; returns the
    // number read (short only at the end of the file or on a read error).
    std::size_t Read(std::span<std::uint8_t> buffer);

    // Leaves the file at the first tag of `fileType` at or after `offset`, or
    // at its end when there is none; returns that position.
    std::int64_t Resynchronise(std::int64_t offset, SonarType fileType);

    // Times the stream was repositioned since Open (each a system call);
    // reading a file front to back takes none. For tests and benchmarks.
    std::int64_t Seeks() const { return seeks_; }

private:
    static constexpr std::size_t kReadBlock = 64 * 1024;
    std::unique_ptr<char[]> readBuffer_; // the stream's buffer, outlives it
    std::FILE* file_ = nullptr;
    std::int64_t length_ = 0;
    std::int64_t position_ = 0; // where the next read starts; -1 when unknown
    std::int64_t seeks_ = 0;
    std::vector<std::uint8_t> scanBuffer_; // Resynchronise's read block
};

// Message for an open failure (the station shows it in a message box).
const char* OpenResultMessage(DataFile::OpenResult result);

} // namespace velmaris
