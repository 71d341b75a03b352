#pragma once
// The one table of the settings file's keys: section, key, default text,
// field and text format of every key, in reading order. Loading and storing
// both walk it, so a key's name, default and format are written once.
//
// Plain functions over an IniKeys view; no state. Values that cannot be read
// take their defaults: loading never fails.

#include "protocol/SonarSettings.h"

#include <cstdint>
#include <span>
#include <string>
#include <variant>

namespace velmaris {

class CommandMessage;
class IniKeys;
struct PingRecord;

inline constexpr const char* kSystemSection = "System Settings";
inline constexpr const char* kSonarSection = "Sonar Settings";
inline constexpr const char* kAntennaSection = "Antenna Offsets";
inline constexpr const char* kWebSection = "Web View";

struct SettingsFileContext {
    bool playback = false; // a playback overwrites the live head values: they are neither read nor written
};

// How a key's text becomes its field and back.
enum class KeyFormat {
    Integer, // decimal
    Byte, // decimal, only the low 8 bits of the number are kept on reading
    Real1, // "%.1f" on writing
    Real2, // "%.2f" on writing
    Text,
    Folder, // text, given one trailing separator on reading
};

// A field of the settings, or (for `Range`) the command byte that holds the live value.
struct CommandByte {
    int index;
};
// The enum fields are stored as their codes (CodeOf); a loaded code the key's
// limit lets through always names a value.
using SettingsField = std::variant<int SonarSettings::*, std::uint8_t SonarSettings::*,
    double SonarSettings::*, std::string SonarSettings::*, DisplayMode SonarSettings::*,
    SonarType SonarSettings::*, CommandByte>;

// What a loaded number must be: inside a band and, when `allowed` is not
// empty, one of its values (a table such as the range table). Outside it the
// number is clamped to the band or replaced by `replacement`. Only keys whose
// stored value would be unsafe to use (an index past a table, a byte the head
// does not take, a division by zero) have a limit; the rest load unchanged.
struct KeyLimit {
    bool active = false;
    double low = 0;
    double high = 0;
    bool clamp = false;
    double replacement = 0;
    std::span<const int> allowed {};
};

// When a key is read and written, beyond "both sections always, except
// "Sonar Settings" during playback".
enum KeyFlags : unsigned {
    kKeyPlain = 0,
    kKeyWriteOnly = 1u << 0, // written, never read
    kKeyNotWrittenInPlayback = 1u << 1,
    kKeyManualOnly = 1u << 2, // read only when `Auto Settings` is 0
    kKeyWrittenLast = 1u << 3, // written after the rest of its section
    kKeyReadOnly = 1u << 4, // read, never written: set by hand, a file without it stays as it was
};

struct SettingsKey {
    const char* section;
    const char* key;
    const char* fallback; // default text; nullptr: the field's current value
    SettingsField field;
    KeyFormat format;
    KeyLimit limit {};
    unsigned flags = kKeyPlain;
};

// Every key, "System Settings" first, then "Sonar Settings", "Antenna
// Offsets" and "Web View", each section in reading order.
std::span<const SettingsKey> SettingsKeys();
// The entry for `key` (names match without regard to case), or nullptr.
const SettingsKey* FindSettingsKey(const char* key);

// Reads both sections (only "System Settings" during playback) and applies
// the limits and the follow-ups of a load: profile mix weight, zero-down
// head angle, the live command bytes, the current mode's train and width
// into the command message, train angle, step normalisation, automatic
// values. The window follow-ups are the caller's.
void LoadSettingsKeys(const IniKeys& ini, SonarSettings& settings, CommandMessage& command, PingRecord& ping,
    const SettingsFileContext& context);

// Writes both sections in their writing orders; during playback "Sonar
// Settings" and `Rotate Image` are left as they are.
void StoreSettingsKeys(IniKeys& ini, const SonarSettings& settings, const CommandMessage& command,
    const SettingsFileContext& context);

// Writes one key from the settings, in the key's own format.
void StoreSettingsKey(
    IniKeys& ini, const SettingsKey& key, const SonarSettings& settings, const CommandMessage& command);

} // namespace velmaris
