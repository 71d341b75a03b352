#pragma once
// "Velmaris.INI": the operator's settings between runs. Section "System
// Settings" holds the system and display settings, "Sonar Settings" the head
// settings; each key has its text format and default.

#include <string>

namespace velmaris {

class CommandMessage;
class IniFile;
struct PingRecord;
struct SonarSettings;

inline constexpr const char* kIniFileName = "Velmaris.INI";
inline constexpr const char* kSystemSection = "System Settings";
inline constexpr const char* kSonarSection = "Sonar Settings";

struct SettingsFileContext {
    bool playback = false; // a playback overwrites the live head values: they are neither read nor written
};

// Reads both sections into the settings, the command message and the ping
// record, applying the limits and the follow-ups of a load (the current
// mode's train and width into the command message, train angle, step
// normalisation, automatic values). The window follow-ups (showing the
// diagnostics window and the settings panel) are the caller's.
void LoadSettings(const IniFile& ini, SonarSettings& settings, CommandMessage& command, PingRecord& ping,
    const SettingsFileContext& context);

// Writes both sections into `ini` (keys already there, and keys added by
// hand, are kept). During playback "Sonar Settings" and `Rotate Image` are
// left as they are.
void StoreSettings(IniFile& ini, const SonarSettings& settings, const CommandMessage& command,
    const SettingsFileContext& context);

// Convenience for the document: load `path` (a missing file gives every
// default) / read-modify-write `path` atomically. Save returns false when the
// file could not be written.
void LoadSettingsFile(const std::string& path, SonarSettings& settings, CommandMessage& command,
    PingRecord& ping, const SettingsFileContext& context);
bool SaveSettingsFile(const std::string& path, const SonarSettings& settings, const CommandMessage& command,
    const SettingsFileContext& context);

} // namespace velmaris
