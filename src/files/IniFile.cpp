#include "files/IniFile.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaris {

struct IniFile::Impl {
    CSimpleIniA ini {false, false, false}; // not UTF-8 aware, no multi-keys, no multi-lines
};

IniFile::IniFile()
    : impl_(std::make_unique<Impl>())
{
    impl_->ini.SetSpaces(false); // key=value, as the Windows profile calls write it
}

IniFile::~IniFile() = default;

bool IniFile::Load(const std::string& path)
{
    impl_->ini.Reset();
    return impl_->ini.LoadFile(path.c_str()) >= 0;
}

std::string IniFile::Get(const char* section, const char* key, const std::string& fallback) const
{
    const char* value = impl_->ini.GetValue(section, key, nullptr);
    return value ? std::string(value) : fallback;
}

void IniFile::Set(const char* section, const char* key, const std::string& value)
{
    impl_->ini.SetValue(section, key, value.c_str());
}

bool IniFile::Save(const std::string& path) const
{
    std::string text;
    if (impl_->ini.Save(text, false) < 0)
        return false;
    return WriteFileAtomically(path, text);
}

bool WriteFileAtomically(const std::string& path, const std::string& data, int* error)
{
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        if (error)
            *error = errno;
        return false;
    }
    // mkstemp creates 0600; a settings file is as readable as any other file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

    bool ok = true;
    int failure = 0; // errno of the first step that failed
    const auto step = [&](bool done) {
        if (ok && !done)
            failure = errno != 0 ? errno : EIO;
        ok = ok && done;
    };
    std::size_t written = 0;
    while (ok && written < data.size()) {
        const ssize_t n = write(fd, data.data() + written, data.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        step(n > 0);
        if (ok)
            written += static_cast<std::size_t>(n);
    }
    step(fsync(fd) == 0);
    const bool closed = close(fd) == 0;
    step(closed);
    if (ok)
        step(std::rename(temp.c_str(), path.c_str()) == 0);
    if (!ok) {
        std::remove(temp.c_str());
        if (error)
            *error = failure;
    }
    return ok;
}

} // namespace velmaris
