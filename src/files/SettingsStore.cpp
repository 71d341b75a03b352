#include "files/SettingsStore.h"

#include "files/PlatformFiles.h"
#include "files/SettingsFile.h"

#include <cstdio>
#include <iterator>
#include <optional>

namespace velmaris {

namespace {
// The keys that name the head: its COM port and its address.
constexpr const char* kHeadKeys[] = {"SonarComPort", "IP Address"};
} // namespace

std::string UnreadableSettingsName(const std::string& path, const LocalTime& when)
{
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", when.year % 10000, when.month % 100, when.day % 100);
    return path + ".unreadable-" + date;
}

std::string UnreadableSettingsMessage(const std::string& path, const std::string& aside)
{
    return "The settings file\n" + path
        + "\ncannot be read as settings text (saved as Unicode without a byte-order mark, or binary data)."
          "\nThe station runs with default settings. Your file is kept: it is moved to\n"
        + aside + "\nbefore the settings are saved.   ";
}

std::string SettingsNotAFileMessage(const std::string& path)
{
    return "The settings file\n" + path
        + "\nis a folder, a pipe or a device, not a file.\nThe station runs with default settings and "
          "saves none there.   ";
}

std::string SettingsSaveFailedMessage(const std::string& path, const std::string& cause)
{
    return "The settings could not be saved to\n" + path + "\n(" + cause + ").   ";
}

void SettingsStore::SetPath(std::string path)
{
    path_ = std::move(path);
    loaded_ = false;
    movedTo_.clear();
}

IniRead SettingsStore::Load(
    SonarSettings& settings, CommandMessage& command, PingRecord& ping, const SettingsFileContext& context)
{
    SettingsFile file(path_);
    file.Read();
    file.Load(settings, command, ping, context);
    lastRead_ = file.LastRead();
    headKeysFound_ = false;
    for (const char* key : kHeadKeys)
        headKeysFound_ = headKeysFound_ || file.Value(kSystemSection, key).has_value();
    if (!loaded_)
        firstRead_ = lastRead_;
    loaded_ = true;
    if (!toldUnreadable_ && (lastRead_ == IniRead::Unreadable || lastRead_ == IniRead::NotAFile)) {
        toldUnreadable_ = true;
        reporter_.ShowMessage(lastRead_ == IniRead::NotAFile
                ? SettingsNotAFileMessage(path_)
                : UnreadableSettingsMessage(path_, UnreadableSettingsName(path_, localTime_())),
            MessageIcon::Exclamation);
    }
    return lastRead_;
}

bool SettingsStore::MoveAside(std::string& cause)
{
    const std::string base = UnreadableSettingsName(path_, localTime_());
    std::string aside = base;
    // An earlier unreadable file of the same day keeps its name.
    for (int n = 2; KindOfPath(aside) != PathKind::Missing; ++n) {
        if (n > 99) {
            cause = "no free name beside it";
            return false;
        }
        aside = base + "-" + std::to_string(n);
    }
    if (!MoveFileOver(path_, aside, &cause))
        return false;
    movedTo_ = aside;
    return true;
}

void SettingsStore::ReportSaveFailure(const std::string& cause)
{
    if (toldSaveFailure_)
        return;
    toldSaveFailure_ = true;
    reporter_.ShowMessage(SettingsSaveFailedMessage(path_, cause), MessageIcon::Exclamation);
}

bool SettingsStore::Save(
    const SonarSettings& settings, const CommandMessage& command, const SettingsFileContext& context)
{
    SettingsFile file(path_);
    // Keep what is there: keys added by hand, and the sections a playback must not touch.
    file.Read();
    switch (file.LastRead()) {
    case IniRead::NotAFile:
        ReportSaveFailure(kNotRegularFileCause);
        return false;
    case IniRead::Unreadable: {
        std::string cause;
        if (!MoveAside(cause)) {
            ReportSaveFailure("the unreadable file could not be moved aside: " + cause);
            return false;
        }
        break;
    }
    case IniRead::Read:
    case IniRead::Missing:
        break;
    }
    std::optional<std::string> kept[std::size(kHeadKeys)];
    for (std::size_t i = 0; i < std::size(kHeadKeys); ++i)
        kept[i] = file.Value(kSystemSection, kHeadKeys[i]);
    file.Store(settings, command, context);
    if (withholdHeadKeys_)
        for (std::size_t i = 0; i < std::size(kHeadKeys); ++i)
            file.SetValue(kSystemSection, kHeadKeys[i], kept[i]);
    std::string cause;
    if (!file.Write(&cause)) {
        ReportSaveFailure(cause);
        return false;
    }
    return true;
}

} // namespace velmaris
