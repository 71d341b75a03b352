#include "files/PlatformFiles.h"

#include "files/SettingsLocation.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace velmaris {

namespace {

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const wchar_t* wide)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), n, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(n - 1));
    return utf8;
}

std::string Environment(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    return value ? Utf8(value) : std::string();
}

std::string SystemMessage(DWORD code)
{
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n && text ? std::string(text, n) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

HANDLE AsHandle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size)
{
    std::size_t written = 0;
    while (written < size) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - written, 1u << 30));
        DWORD n = 0;
        if (!WriteFile(file, data + written, chunk, &n, nullptr))
            return false;
        if (n == 0) {
            SetLastError(ERROR_DISK_FULL); // a write of 0 bytes makes no progress: the device is full
            return false;
        }
        written += n;
    }
    return true;
}

// A name for the temporary file beside `path`, unique within this process
// and, by the process id, among the stations running.
std::wstring TemporaryBeside(const std::string& path)
{
    static std::atomic<unsigned> count {0};
    return Wide(path) + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count)
        + L".tmp";
}

// Opens `path` as a regular file only: a folder is refused by its
// attributes before the open, a device or pipe by the handle's type after
// it (the open itself does not wait on either). `kind` says why on failure.
HANDLE OpenRegular(const std::string& path, DWORD access, DWORD disposition, PathKind& kind)
{
    kind = KindOfPath(path);
    if (kind == PathKind::Folder) {
        SetLastError(ERROR_DIRECTORY);
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE file
        = CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD cause = GetLastError();
        if (cause == ERROR_FILE_NOT_FOUND || cause == ERROR_PATH_NOT_FOUND)
            kind = PathKind::Missing;
        SetLastError(cause);
        return INVALID_HANDLE_VALUE;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        kind = PathKind::Other;
        SetLastError(ERROR_INVALID_FUNCTION);
        return INVALID_HANDLE_VALUE;
    }
    kind = PathKind::Regular;
    return file;
}

std::string CauseOf(PathKind kind)
{
    return kind == PathKind::Folder || kind == PathKind::Other ? kNotRegularFileCause
                                                               : SystemMessage(GetLastError());
}

} // namespace

PathKind KindOfPath(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD cause = GetLastError();
        // Devices ("COM1", "\\.\pipe\x") have no attributes to read.
        return cause == ERROR_FILE_NOT_FOUND || cause == ERROR_PATH_NOT_FOUND ? PathKind::Missing
                                                                              : PathKind::Other;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return PathKind::Folder;
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? PathKind::Other : PathKind::Regular;
}

std::FILE* OpenRegularFileForReading(const std::string& path, PathKind& kind)
{
    const HANDLE file = OpenRegular(path, GENERIC_READ, OPEN_EXISTING, kind);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, "rb");
    if (stream == nullptr)
        _close(fd);
    return stream;
}

bool ReadRegularFile(
    const std::string& path, std::string& bytes, PathKind& kind, std::string& error, std::size_t limit)
{
    bytes.clear();
    const HANDLE file = OpenRegular(path, GENERIC_READ, OPEN_EXISTING, kind);
    if (file == INVALID_HANDLE_VALUE) {
        error = CauseOf(kind);
        return false;
    }
    char block[16 * 1024];
    bool ok = true;
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file, block, sizeof block, &n, nullptr)) {
            error = SystemMessage(GetLastError());
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (bytes.size() + n > limit) {
            error = "larger than a settings file can be";
            ok = false;
            break;
        }
        bytes.append(block, n);
    }
    CloseHandle(file);
    return ok;
}

bool MoveFileOver(const std::string& from, const std::string& to, std::string* error)
{
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (error)
        *error = SystemMessage(GetLastError());
    return false;
}

bool WriteFileAtomically(const std::string& path, const std::string& data, std::string* error)
{
    const auto fail = [error] {
        if (error)
            *error = SystemMessage(GetLastError());
        return false;
    };
    const std::wstring target = Wide(path);
    const std::wstring temp = TemporaryBeside(path);
    const HANDLE file
        = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return fail();
    bool ok = WriteAll(file, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        const DWORD cause = GetLastError();
        DeleteFileW(temp.c_str());
        SetLastError(cause);
        return fail();
    }
    return true;
}

bool AppendFile::Create(const std::string& path, std::string& error)
{
    Close();
    // Read too: a file whose name was removed is copied out through its handle.
    PathKind kind = PathKind::Missing;
    const HANDLE file = OpenRegular(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, kind);
    if (file == INVALID_HANDLE_VALUE) {
        error = CauseOf(kind);
        return false;
    }
    // Truncated only once known to be a file on a disk.
    if (!SetEndOfFile(file)) {
        error = SystemMessage(GetLastError());
        CloseHandle(file);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool AppendFile::Flush(std::string& error)
{
    if (handle_ == kClosed || FlushFileBuffers(AsHandle(handle_)))
        return true;
    error = SystemMessage(GetLastError());
    return false;
}

bool AppendFile::StillAt(const std::string& path) const
{
    if (handle_ == kClosed)
        return false;
    FILE_STANDARD_INFO standard {};
    if (GetFileInformationByHandleEx(AsHandle(handle_), FileStandardInfo, &standard, sizeof standard)
        && standard.DeletePending)
        return false;
    BY_HANDLE_FILE_INFORMATION open {};
    if (!GetFileInformationByHandle(AsHandle(handle_), &open))
        return false;
    const HANDLE named
        = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION there {};
    const bool same = GetFileInformationByHandle(named, &there)
        && there.dwVolumeSerialNumber == open.dwVolumeSerialNumber
        && there.nFileIndexHigh == open.nFileIndexHigh && there.nFileIndexLow == open.nFileIndexLow;
    CloseHandle(named);
    return same;
}

bool AppendFile::CopyTo(const std::string& path, std::int64_t length, std::string& error) const
{
    PathKind kind = PathKind::Missing;
    const HANDLE out = OpenRegular(path, GENERIC_WRITE, CREATE_ALWAYS, kind);
    if (out == INVALID_HANDLE_VALUE) {
        error = CauseOf(kind);
        return false;
    }
    std::uint8_t block[64 * 1024];
    bool ok = true;
    for (std::int64_t at = 0; ok && at < length;) {
        OVERLAPPED where {};
        where.Offset = static_cast<DWORD>(at & 0xFFFFFFFF);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(length - at, sizeof block));
        DWORD n = 0;
        if (!ReadFile(AsHandle(handle_), block, want, &n, &where) || n == 0) {
            if (n == 0)
                SetLastError(ERROR_HANDLE_EOF);
            ok = false;
            break;
        }
        ok = WriteAll(out, block, n);
        at += n;
    }
    ok = ok && FlushFileBuffers(out);
    if (!ok)
        error = SystemMessage(GetLastError());
    CloseHandle(out);
    return ok;
}

bool AppendFile::Write(std::span<const std::uint8_t> bytes, std::string& error)
{
    if (WriteAll(AsHandle(handle_), bytes.data(), bytes.size()))
        return true;
    error = SystemMessage(GetLastError());
    return false;
}

void AppendFile::Truncate(std::int64_t length)
{
    LARGE_INTEGER at {};
    at.QuadPart = length;
    if (SetFilePointerEx(AsHandle(handle_), at, nullptr, FILE_BEGIN))
        SetEndOfFile(AsHandle(handle_));
}

void AppendFile::Close()
{
    if (handle_ == kClosed)
        return;
    CloseHandle(AsHandle(handle_));
    handle_ = kClosed;
}

bool IsPathSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::string UserSettingsFolder()
{
    const std::string appData = Environment(L"APPDATA");
    if (appData.empty())
        return {};
    return appData + (IsPathSeparator(appData.back()) ? "" : "\\") + "Velmaris\\";
}

std::string UserHomeFolder()
{
    return Environment(L"USERPROFILE");
}

bool FolderIsWritable(const std::string& folder)
{
    // The read-only attribute says little about a folder's rights (a
    // program folder under "Program Files" is not writable for most users):
    // try to create a file there, gone again when its handle closes.
    if (folder.empty())
        return false;
    static std::atomic<unsigned> count {0};
    const std::wstring probe = Wide(WithTrailingSeparator(folder)) + L"velmaris-probe-"
        + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count) + L".tmp";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace velmaris
