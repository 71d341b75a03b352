#include "files/PlatformFiles.h"

#include "files/SettingsLocation.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

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

} // namespace

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
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
        nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = SystemMessage(GetLastError());
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
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
