#pragma once
// What differs between the platforms in the files room: replacing a whole
// file atomically, appending whole records straight to the operating system,
// and the folders the settings location rule chooses from. One implementation
// per platform (posix/, windows/), chosen by the build; the rules above them
// are plain and shared.
//
// Paths are UTF-8 text on every platform.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace velmaris {

// Replaces the file at `path` with `data` atomically: a temporary file in the
// target's folder is written, flushed to disk and renamed over the target, so
// a crash or a full disk leaves either the old file or the new one. False on
// any failure, and the old file is then untouched. On POSIX a symbolic link
// is written through (its target is replaced, the link stays), an existing
// file keeps its mode and owner, and the folder is flushed after the rename;
// on Windows the rename writes through (MoveFileExW) and the file has the
// rights its folder gives. The cause of a failure goes to `error` when given.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, const std::string& data, std::string* error = nullptr);

// Moves the finished file `from` over `to` in one step, replacing a file
// already there (POSIX rename; MoveFileExW with write-through on Windows,
// where a plain rename refuses an existing target). False with the cause in
// `error` when given; `to` is then untouched.
bool MoveFileOver(const std::string& from, const std::string& to, std::string* error = nullptr);

// What a path names, found without opening it: a FIFO, a device or a folder
// named like a data or settings file must never block an open or be read
// as one. Links are followed.
enum class PathKind { Missing, Regular, Folder, Other };
PathKind KindOfPath(const std::string& path);

// The cause given when a path names something other than a regular file.
inline constexpr const char* kNotRegularFileCause = "not a regular file: a folder, a pipe or a device";

// Opens a regular file for reading in binary, buffered by the C library.
// Nothing blocks: the path is checked before the open (which does not wait
// for a writer) and the opened file again after it. Null when the path is
// missing, unreadable or not a regular file; `kind` then says which.
std::FILE* OpenRegularFileForReading(const std::string& path, PathKind& kind);

// Reads a whole regular file into `bytes` (at most `limit` bytes; a larger
// file is an error). False with the cause in `error`; `kind` says what the
// path named.
bool ReadRegularFile(
    const std::string& path, std::string& bytes, PathKind& kind, std::string& error, std::size_t limit);

// A file written in whole records, each handed to the operating system at
// once with no buffering of its own. Owns the handle.
class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile() { Close(); }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Creates `path`, truncating an existing file, shared so others may read
    // and write it. False with the cause in `error` when it cannot be created
    // or names something other than a regular file (a folder, a FIFO, a
    // device: refused without waiting and without truncating anything).
    bool Create(const std::string& path, std::string& error);
    // Writes all of `bytes` at the end. False with the cause in `error` when
    // the write failed or fell short (a device that takes nothing is full).
    [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes, std::string& error);
    // Cuts the file back to `length` bytes, as far as the device allows.
    void Truncate(std::int64_t length);
    // Hands what was written to the device (fdatasync; FlushFileBuffers on
    // Windows). May take long on a slow device: call it off the ping path.
    // Safe beside Write from another thread; not beside Create or Close.
    bool Flush(std::string& error);
    // Whether the open file is still the one at `path` (false once the file
    // or its folder was removed, renamed or replaced).
    bool StillAt(const std::string& path) const;
    // Copies the first `length` bytes of the open file into a new file at
    // `path` (created, truncated when it exists, and flushed): the open
    // handle still reads a file whose name is gone.
    bool CopyTo(const std::string& path, std::int64_t length, std::string& error) const;
    void Close();
    bool IsOpen() const { return handle_ != kClosed; }

private:
    static constexpr std::intptr_t kClosed = -1; // a closed descriptor or handle on either platform
    std::intptr_t handle_ = kClosed;
};

// Whether `c` separates the folders of a path ('/' everywhere, '\\' too on Windows).
bool IsPathSeparator(char c);

// The per-user folder the settings file goes to when the program's folder is
// not writable, with a trailing separator: $XDG_CONFIG_HOME/Velmaris/ (or
// ~/.config/Velmaris/) on Linux, %APPDATA%\Velmaris\ on Windows; "" when the
// environment names none.
std::string UserSettingsFolder();

// The user's home folder ("" when unknown).
std::string UserHomeFolder();

// Whether new files can be created in `folder`.
bool FolderIsWritable(const std::string& folder);

} // namespace velmaris
