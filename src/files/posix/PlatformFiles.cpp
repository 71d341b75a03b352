#include "files/PlatformFiles.h"

#include "files/SettingsLocation.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaris {

namespace {

// The file a path finally names: symbolic links followed (a relative link
// from its own folder) until a name that is no link, which need not exist.
bool FollowLinks(std::string& path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st { };
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        char target[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target)
            return false;
        const std::string link(target, static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : FolderOf(path) + link;
    }
    errno = ELOOP;
    return false;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = ENOSPC; // a write of 0 bytes makes no progress: the device is full
        return false;
    }
    return true;
}

// Flushes the folder's entry of a renamed file. Some file systems cannot
// flush a folder; the rename itself has happened then.
void FlushFolder(const std::string& file)
{
    const std::string folder = FolderOf(file);
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    [[maybe_unused]] const int flushed = fsync(fd);
    ::close(fd);
}

PathKind KindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return PathKind::Regular;
    return S_ISDIR(mode) ? PathKind::Folder : PathKind::Other;
}

// Opens `path` with `flags` without ever waiting: a FIFO or a device is
// refused before the open by its kind and, should it have been swapped in
// since, after it by the descriptor's. -1 with errno set (EISDIR, or
// EINVAL for anything else that is not a regular file) and `kind` saying why.
int OpenRegular(const std::string& path, int flags, PathKind& kind)
{
    kind = KindOfPath(path);
    if (kind == PathKind::Folder || kind == PathKind::Other) {
        errno = kind == PathKind::Folder ? EISDIR : EINVAL;
        return -1;
    }
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == ENOENT)
            kind = PathKind::Missing;
        return -1;
    }
    struct stat st { };
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        kind = fstat(fd, &st) == 0 ? KindOfMode(st.st_mode) : PathKind::Other;
        ::close(fd);
        errno = kind == PathKind::Folder ? EISDIR : EINVAL;
        return -1;
    }
    kind = PathKind::Regular;
    // Regular files never block; the flag goes so writes stay plain.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string CauseOf(PathKind kind)
{
    return kind == PathKind::Folder || kind == PathKind::Other ? kNotRegularFileCause : std::strerror(errno);
}

} // namespace

PathKind KindOfPath(const std::string& path)
{
    struct stat st { };
    if (stat(path.c_str(), &st) != 0)
        return PathKind::Missing;
    return KindOfMode(st.st_mode);
}

std::FILE* OpenRegularFileForReading(const std::string& path, PathKind& kind)
{
    const int fd = OpenRegular(path, O_RDONLY, kind);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr)
        ::close(fd);
    return file;
}

bool ReadRegularFile(
    const std::string& path, std::string& bytes, PathKind& kind, std::string& error, std::size_t limit)
{
    bytes.clear();
    const int fd = OpenRegular(path, O_RDONLY, kind);
    if (fd < 0) {
        error = CauseOf(kind);
        return false;
    }
    char block[16 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {
            error = "larger than a settings file can be";
            ::close(fd);
            return false;
        }
        bytes.append(block, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool MoveFileOver(const std::string& from, const std::string& to, std::string* error)
{
    if (std::rename(from.c_str(), to.c_str()) == 0) {
        FlushFolder(to);
        return true;
    }
    if (error)
        *error = std::strerror(errno);
    return false;
}

bool WriteFileAtomically(const std::string& path, const std::string& data, std::string* error)
{
    const auto fail = [error] {
        if (error)
            *error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    };
    errno = 0;
    std::string target = path;
    if (!FollowLinks(target))
        return fail();
    std::string temp = target + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return fail();
    // mkstemp creates 0600: the new file takes the old one's permissions and
    // owner, or those of any new file.
    struct stat old { };
    if (stat(target.c_str(), &old) == 0) {
        fchmod(fd, old.st_mode & 07777);
        [[maybe_unused]] const int owned = fchown(fd, old.st_uid, old.st_gid);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    bool ok = WriteAll(fd, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    ok = ok && fsync(fd) == 0;
    int cause = ok ? 0 : errno;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        if (cause == 0)
            cause = errno;
        std::remove(temp.c_str());
        errno = cause;
        return fail();
    }
    FlushFolder(target);
    return true;
}

bool AppendFile::Create(const std::string& path, std::string& error)
{
    Close();
    // Read too: a file whose name was removed is copied out through its handle.
    PathKind kind = PathKind::Missing;
    const int fd = OpenRegular(path, O_RDWR | O_CREAT, kind);
    if (fd < 0) {
        error = CauseOf(kind);
        return false;
    }
    // Truncated only once known to be a regular file.
    if (::ftruncate(fd, 0) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

bool AppendFile::Flush(std::string& error)
{
    if (handle_ == kClosed)
        return true;
    if (fdatasync(static_cast<int>(handle_)) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

bool AppendFile::StillAt(const std::string& path) const
{
    struct stat open { };
    struct stat named { };
    if (handle_ == kClosed || fstat(static_cast<int>(handle_), &open) != 0)
        return false;
    return open.st_nlink > 0 && stat(path.c_str(), &named) == 0 && named.st_dev == open.st_dev
        && named.st_ino == open.st_ino;
}

bool AppendFile::CopyTo(const std::string& path, std::int64_t length, std::string& error) const
{
    PathKind kind = PathKind::Missing;
    const int out = OpenRegular(path, O_WRONLY | O_CREAT | O_TRUNC, kind);
    if (out < 0) {
        error = CauseOf(kind);
        return false;
    }
    std::uint8_t block[64 * 1024];
    bool ok = true;
    for (std::int64_t at = 0; ok && at < length;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(length - at, sizeof block));
        const ssize_t n = ::pread(static_cast<int>(handle_), block, want, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO; // shorter than written
            ok = false;
            break;
        }
        ok = WriteAll(out, block, static_cast<std::size_t>(n));
        at += n;
    }
    ok = ok && fsync(out) == 0;
    if (!ok)
        error = std::strerror(errno);
    ::close(out);
    if (ok)
        FlushFolder(path);
    return ok;
}

bool AppendFile::Write(std::span<const std::uint8_t> bytes, std::string& error)
{
    if (WriteAll(static_cast<int>(handle_), bytes.data(), bytes.size()))
        return true;
    error = std::strerror(errno);
    return false;
}

void AppendFile::Truncate(std::int64_t length)
{
    // Devices that cannot be truncated hold no partial record a reader could see.
    [[maybe_unused]] const int cut = ::ftruncate(static_cast<int>(handle_), static_cast<off_t>(length));
}

void AppendFile::Close()
{
    if (handle_ == kClosed)
        return;
    ::close(static_cast<int>(handle_));
    handle_ = kClosed;
}

bool IsPathSeparator(char c)
{
    return c == '/';
}

std::string UserSettingsFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string config = XdgConfigFolder(xdg ? xdg : "", UserHomeFolder());
    return config.empty() ? config : WithTrailingSeparator(config) + "Velmaris/";
}

std::string UserHomeFolder()
{
    const char* home = std::getenv("HOME");
    return home ? std::string(home) : std::string();
}

bool FolderIsWritable(const std::string& folder)
{
    return !folder.empty() && access(folder.c_str(), W_OK) == 0;
}

} // namespace velmaris
