#include "files/SettingsFile.h"

#include "files/IniFile.h"

namespace velmaris {

namespace {
// A value no INI line can hold (it would end the line), so a missing key is
// told apart from an empty value.
const std::string kMissing = "\n";
} // namespace

SettingsFile::SettingsFile(std::string path)
    : path_(std::move(path))
    , ini_(std::make_unique<IniFile>())
{ }

SettingsFile::~SettingsFile() = default;

bool SettingsFile::Read()
{
    lastRead_ = ini_->Load(path_);
    return lastRead_ == IniRead::Read;
}

bool SettingsFile::WriteAs(const std::string& path, std::string* error) const
{
    return ini_->Save(path, error);
}

void SettingsFile::Load(SonarSettings& settings, CommandMessage& command, PingRecord& ping,
    const SettingsFileContext& context) const
{
    LoadSettingsKeys(*ini_, settings, command, ping, context);
}

void SettingsFile::Store(
    const SonarSettings& settings, const CommandMessage& command, const SettingsFileContext& context)
{
    StoreSettingsKeys(*ini_, settings, command, context);
}

void SettingsFile::StoreKeys(
    std::initializer_list<const char*> keys, const SonarSettings& settings, const CommandMessage& command)
{
    for (const char* name : keys)
        if (const SettingsKey* key = FindSettingsKey(name))
            StoreSettingsKey(*ini_, *key, settings, command);
}

std::optional<std::string> SettingsFile::Value(const char* section, const char* key) const
{
    std::string value = ini_->Get(section, key, kMissing);
    if (value == kMissing)
        return std::nullopt;
    return value;
}

void SettingsFile::SetValue(const char* section, const char* key, const std::optional<std::string>& value)
{
    if (value)
        ini_->Set(section, key, *value);
    else
        ini_->Remove(section, key);
}

void LoadSettingsFile(const std::string& path, SonarSettings& settings, CommandMessage& command,
    PingRecord& ping, const SettingsFileContext& context)
{
    SettingsFile file(path);
    file.Read();
    file.Load(settings, command, ping, context);
}

bool SaveSettingsFile(const std::string& path, const SonarSettings& settings, const CommandMessage& command,
    const SettingsFileContext& context)
{
    SettingsFile file(path);
    file.Read(); // keep what is there: keys added by hand, and the sections a playback must not touch
    file.Store(settings, command, context);
    return file.Write();
}

} // namespace velmaris
