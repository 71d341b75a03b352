#pragma once
// "Velmaris.INI": the operator's settings between runs. Section "System
// Settings" holds the system and display settings, "Sonar Settings" the head
// settings (both driven by the key table of SettingsKeys.h); "Serial
// Devices" maps COM numbers to devices. This class is the only way into the
// file: it is read whole, changed key by key in memory and written back
// whole, atomically; keys and sections added by hand are kept.
//
// A plain value; not shared between threads.

#include "files/IniFile.h"
#include "files/SettingsKeys.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

namespace velmaris {

inline constexpr const char* kIniFileName = "Velmaris.INI";

class SettingsFile {
public:
    explicit SettingsFile(std::string path);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    const std::string& Path() const { return path_; }

    // Reads the file. A missing or unreadable file leaves it empty, so every
    // key takes its default; returns whether the file was read (LastRead()
    // says what was found otherwise).
    bool Read();
    IniRead LastRead() const { return lastRead_; }
    // Writes the file (or the copy at `path`) through a temporary file and a
    // rename; false, with any old file untouched, when it could not be written.
    // The cause of a failure goes to `error` when given.
    [[nodiscard]] bool Write(std::string* error = nullptr) const { return WriteAs(path_, error); }
    [[nodiscard]] bool WriteAs(const std::string& path, std::string* error = nullptr) const;

    // Both sections into the settings, the command message and the ping
    // record, with the limits and follow-ups of a load (see LoadSettingsKeys).
    void Load(SonarSettings& settings, CommandMessage& command, PingRecord& ping,
        const SettingsFileContext& context) const;
    // Both sections from the settings; during playback "Sonar Settings" and
    // `Rotate Image` are left as they are.
    void Store(
        const SonarSettings& settings, const CommandMessage& command, const SettingsFileContext& context);
    // Only the named keys of the table, in the order given (names not in the table are skipped).
    void StoreKeys(std::initializer_list<const char*> keys, const SonarSettings& settings,
        const CommandMessage& command);

    // A key outside the table (such as "Serial Devices" / "COM5"); nullopt when missing.
    std::optional<std::string> Value(const char* section, const char* key) const;
    // Sets or (with nullopt) removes a key.
    void SetValue(const char* section, const char* key, const std::optional<std::string>& value);

private:
    std::string path_;
    std::unique_ptr<IniFile> ini_;
    IniRead lastRead_ = IniRead::Missing;
};

// Convenience for the document: load `path` (a missing file gives every
// default) / read-modify-write `path` atomically. Save returns false when the
// file could not be written.
void LoadSettingsFile(const std::string& path, SonarSettings& settings, CommandMessage& command,
    PingRecord& ping, const SettingsFileContext& context);
[[nodiscard]] bool SaveSettingsFile(const std::string& path, const SonarSettings& settings, const CommandMessage& command,
    const SettingsFileContext& context);

} // namespace velmaris
