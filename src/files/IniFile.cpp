#include "files/IniFile.h"

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

const char* IniFile::LineEnd()
{
    return SI_NEWLINE_A;
}

bool IniFile::Save(const std::string& path) const
{
    std::string text;
    if (impl_->ini.Save(text, false) < 0)
        return false;
    return WriteFileAtomically(path, text);
}

} // namespace velmaris
