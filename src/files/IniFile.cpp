#include "files/IniFile.h"

#include "files/IniText.h"
#include "files/PlatformFiles.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

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

IniRead IniFile::Load(const std::string& path)
{
    impl_->ini.Reset();
    std::string bytes;
    std::string error;
    PathKind kind = PathKind::Missing;
    if (!ReadRegularFile(path, bytes, kind, error, kMaxSettingsFileBytes)) {
        switch (kind) {
        case PathKind::Missing:
            return IniRead::Missing;
        case PathKind::Folder:
        case PathKind::Other:
            return IniRead::NotAFile;
        case PathKind::Regular:
            break;
        }
        return IniRead::Unreadable;
    }
    return LoadBytes(bytes);
}

IniRead IniFile::LoadBytes(std::string_view bytes)
{
    impl_->ini.Reset();
    const IniText text = DecodeIniText(bytes);
    if (!text.readable)
        return IniRead::Unreadable;
    if (impl_->ini.LoadData(text.text.data(), text.text.size()) < 0) {
        impl_->ini.Reset();
        return IniRead::Unreadable;
    }
    return IniRead::Read;
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

void IniFile::Remove(const char* section, const char* key)
{
    impl_->ini.Delete(section, key);
}

const char* IniFile::LineEnd()
{
    return SI_NEWLINE_A;
}

bool IniFile::Save(const std::string& path, std::string* error) const
{
    std::string text;
    if (impl_->ini.Save(text, false) < 0) {
        if (error)
            *error = "out of memory";
        return false;
    }
    return WriteFileAtomically(path, text, error);
}

} // namespace velmaris
