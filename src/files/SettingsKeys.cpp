#include "files/SettingsKeys.h"

#include "files/IniFile.h"
#include "files/SettingsLocation.h"
#include "image/PaintInputs.h"
#include "image/SonarBitmap.h"
#include "protocol/CommandMessage.h"
#include "protocol/NumberText.h"
#include "protocol/PairedSettings.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"
#include "settings/SettingsRules.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <strings.h>
#include <vector>

namespace velmaris {

namespace {

using S = SonarSettings;
using F = KeyFormat;

constexpr KeyLimit Clamped(double low, double high)
{
    return KeyLimit {true, low, high, true, 0};
}
constexpr KeyLimit OrElse(double low, double high, double replacement)
{
    return KeyLimit {true, low, high, false, replacement};
}
constexpr KeyLimit OneOf(std::span<const int> allowed, double replacement)
{
    return KeyLimit {true, static_cast<double>(*std::min_element(allowed.begin(), allowed.end())),
        static_cast<double>(*std::max_element(allowed.begin(), allowed.end())), false, replacement, allowed};
}

// Only keys whose stored value would be unsafe to use have a limit; every
// other value is used as the file holds it, and its readers cope with any
// number. Why each limit is there stands beside it.

// Step codes a file may hold: the six the head takes, and 5, which the
// station turns into 8 before it sends it.
constexpr std::array<int, 7> kLoadableStepCodes {
    kStepNone, kStepSlow, kStepMedium, kStepFast, kStepFaster, kStepUnassigned, kStepFastest};
// Zooms the painters accept; a zoom of zero or less would divide by zero,
// one below a hundredth shows nothing.
constexpr double kMinLoadedZoom = 0.01;
// The view turns its clip and grid arcs by the rotation in single precision,
// the arcs in whole sixteenths of a degree: up to a million degrees they hold
// it to a tenth of a degree, far beyond it they overflow.
constexpr double kMaxLoadedRotation = 1.0e6;

constexpr const char* kSys = kSystemSection;
constexpr const char* kSonar = kSonarSection;
constexpr const char* kAntenna = kAntennaSection;
constexpr double kMaxAntennaOffset = 1000.0;

// clang-format off
constexpr std::array kKeys {
    SettingsKey {kSys, "Rotate Image", "0.0", &S::rotateImage, F::Real1,
        OrElse(-kMaxLoadedRotation, kMaxLoadedRotation, 0.0), kKeyNotWrittenInPlayback},
    SettingsKey {kSys, "UDP Mode", "0", &S::udpMode, F::Integer},
    // Selects the link and the head's rules: another value names no head and
    // is taken as the serial head.
    SettingsKey {kSys, "Sonar Type", "0", &S::sonarType, F::Integer,
        OrElse(CodeOf(SonarType::SerialK52A), CodeOf(SonarType::EthernetK52L), CodeOf(SonarType::SerialK52A))},
    SettingsKey {kSys, "IP Address", "192.168.0.5", &S::ipAddress, F::Text},
    SettingsKey {kSys, "SonarComPort", "1", &S::sonarComPort, F::Integer},
    SettingsKey {kSys, "SonarComPortBaud", "115200", &S::sonarComPortBaud, F::Integer, {}, kKeyWriteOnly},
    SettingsKey {kSys, "RTS", "0", &S::rts, F::Integer},
    SettingsKey {kSys, "Read File Directory", nullptr, &S::readFileDirectory, F::Folder},
    SettingsKey {kSys, "Write File Directory", nullptr, &S::writeFileDirectory, F::Folder},
    SettingsKey {kSys, "AutoSaveFileName", "0", &S::autoSaveFileName, F::Integer},
    SettingsKey {kSys, "OpenFileFilterIndex", "0", &S::openFileFilterIndex, F::Integer},
    // An index into the nine colour tables.
    SettingsKey {kSys, "ColorTable", "0", &S::colorTable, F::Integer, OrElse(0, kColorTableCount - 1, 0)},
    // A speed the sound velocity dialog would refuse is not trusted.
    SettingsKey {kSys, "Speed of Sound", "1500", &S::speedOfSound, F::Real1, OrElse(1400.0, 1600.0, 1500.0)},
    SettingsKey {kSys, "Metric Scale", "0", &S::metricScale, F::Integer},
    SettingsKey {kSys, "ViewRangeMark", "1", &S::viewRangeMark, F::Integer},
    SettingsKey {kSys, "Grid", "1", &S::grid, F::Integer},
    // The playback bar's thirteen speeds.
    SettingsKey {kSys, "Playback Speed", "6", &S::playbackSpeed, F::Integer, Clamped(0, 12)},
    SettingsKey {kSys, "Diagnostics Visible", "0", &S::diagnosticsVisible, F::Integer},
    SettingsKey {kSys, "SettingsDlgVisible", "0", &S::settingsDlgVisible, F::Integer},
    // Read and discarded: GPS input always starts off.
    SettingsKey {kSys, "UseGPS", "0", &S::useGps, F::Integer, OrElse(0, 0, 0)},
    SettingsKey {kSys, "GPSComPort", "3", &S::gpsComPort, F::Integer},
    SettingsKey {kSys, "GPSComPortBaud", "4800", &S::gpsComPortBaud, F::Integer},
    SettingsKey {kSys, "ProfileDispMode", "0", &S::profileDispMode, F::Integer},
    SettingsKey {kSys, "Profile Point Size", "1", &S::profilePointSize, F::Integer},
    SettingsKey {kSys, "Zero Down", "0", &S::zeroDown, F::Integer},
    SettingsKey {kSys, "Zoom", "1.0", &S::zoom, F::Real2, OrElse(kMinLoadedZoom, kMaxPaintZoom, 1.0)},

    // Sent to the head as it stands: only the metres of the range table.
    SettingsKey {kSonar, "Range", "30", CommandByte {CommandMessage::kRange}, F::Byte,
        OneOf(kRangeTableMetres, 30)},
    // An index into the range and automatic tables.
    SettingsKey {kSonar, "Range Index", "7", &S::rangeIndex, F::Byte,
        OrElse(0, kRangeCount - 1, kDefaultRangeIndex)},
    // Sent to the head as it stands: 0 to 40 dB.
    SettingsKey {kSonar, "Gain", "6", &S::gain, F::Byte, OrElse(0, 40, 6)},
    SettingsKey {kSonar, "Sonar Up/Down", "0", &S::sonarUpDown, F::Byte, {}, kKeyWrittenLast},
    // Trains and widths are kept as stored: a mode's width and train are
    // limited where they go into the command.
    SettingsKey {kSonar, "Train Polar", "60", &S::trainPolar, F::Byte},
    SettingsKey {kSonar, "Train Sector", "60", &S::trainSector, F::Byte},
    SettingsKey {kSonar, "Train SS", "30", &S::trainSS, F::Byte},
    SettingsKey {kSonar, "SectorWidth Polar", "120", &S::sectorWidthPolar, F::Byte},
    SettingsKey {kSonar, "SectorWidth Sector", "60", &S::sectorWidthSector, F::Byte},
    // Sent to the head as it stands whenever a mode is selected.
    SettingsKey {kSonar, "Step Size", "3", &S::stepSize, F::Byte, OneOf(kLoadableStepCodes, kStepFast)},
    // Outside the three modes gives Sector, not the default.
    SettingsKey {kSonar, "Sector Mode", "1", &S::sectorMode, F::Integer,
        OrElse(CodeOf(DisplayMode::Sector), CodeOf(DisplayMode::SideScan), CodeOf(DisplayMode::Sector))},
    SettingsKey {kSonar, "Auto Settings", "1", &S::autoSettings, F::Integer},
    // Only the saved copies: the command bytes keep their values until the
    // operator steps one of them (stepping limits it) or switches automatic
    // mode back on.
    SettingsKey {kSonar, "Frequency", "165", &S::frequency, F::Byte, {}, kKeyManualOnly},
    SettingsKey {kSonar, "Pulse Length", "10", &S::pulseLength, F::Byte, {}, kKeyManualOnly},
    SettingsKey {kSonar, "Absorption", "20", &S::absorption, F::Byte, {}, kKeyManualOnly},

    // A boat is no longer than this; a head beyond it, or a value that is
    // no number, would put every position far from the boat.
    SettingsKey {kAntenna, "Head Forward", "0.00", &S::headForward, F::Real2,
        OrElse(-kMaxAntennaOffset, kMaxAntennaOffset, 0)},
    SettingsKey {kAntenna, "Head Starboard", "0.00", &S::headStarboard, F::Real2,
        OrElse(-kMaxAntennaOffset, kMaxAntennaOffset, 0)},
    SettingsKey {kAntenna, "Head Zero To Bow", "0.00", &S::headZeroToBow, F::Real2, OrElse(-360.0, 360.0, 0)},
    // Off unless the operator turns it on by hand; --web serves it for one run instead.
    SettingsKey {kWebSection, "Enabled", "0", &S::webView, F::Integer, OrElse(0, 1, 0), kKeyReadOnly},
    SettingsKey {kWebSection, "Listen", "8052", &S::webListen, F::Text, {}, kKeyReadOnly},
};
// clang-format on

bool HeadSection(const SettingsKey& key)
{
    return std::strcmp(key.section, kSonarSection) == 0;
}

bool InUse(const SettingsKey& key, const SettingsFileContext& context)
{
    return !(context.playback && HeadSection(key));
}

double NumberOf(const SettingsField& field, const SonarSettings& s, const CommandMessage& command)
{
    struct Visitor {
        const SonarSettings& s;
        const CommandMessage& command;
        double operator()(int S::*m) const { return s.*m; }
        double operator()(std::uint8_t S::*m) const { return s.*m; }
        double operator()(double S::*m) const { return s.*m; }
        double operator()(std::string S::*m) const { return ParseIniDouble(s.*m); }
        double operator()(DisplayMode S::*m) const { return CodeOf(s.*m); }
        double operator()(SonarType S::*m) const { return CodeOf(s.*m); }
        double operator()(CommandByte b) const { return command[static_cast<std::size_t>(b.index)]; }
    };
    return std::visit(Visitor {s, command}, field);
}

std::string TextOf(const SettingsField& field, const SonarSettings& s, const CommandMessage& command)
{
    if (const auto* m = std::get_if<std::string S::*>(&field))
        return s.**m;
    return std::to_string(static_cast<long long>(NumberOf(field, s, command)));
}

void AssignNumber(const SettingsField& field, double value, SonarSettings& s, CommandMessage& command)
{
    struct Visitor {
        double value;
        SonarSettings& s;
        CommandMessage& command;
        void operator()(int S::*m) const { s.*m = static_cast<int>(value); }
        void operator()(std::uint8_t S::*m) const
        {
            s.*m = static_cast<std::uint8_t>(static_cast<int>(value));
        }
        void operator()(double S::*m) const { s.*m = value; }
        void operator()(std::string S::*) const { }
        void operator()(DisplayMode S::*m) const
        {
            s.*m = DisplayModeForCode(static_cast<int>(value)).value_or(s.*m);
        }
        void operator()(SonarType S::*m) const
        {
            s.*m = SonarTypeForCode(static_cast<int>(value)).value_or(s.*m);
        }
        void operator()(CommandByte b) const
        {
            command[static_cast<std::size_t>(b.index)] = static_cast<std::uint8_t>(static_cast<int>(value));
        }
    };
    std::visit(Visitor {value, s, command}, field);
}

bool Allowed(const KeyLimit& limit, double value)
{
    if (!(value >= limit.low && value <= limit.high)) // also NaN
        return false;
    return limit.allowed.empty()
        || std::find(limit.allowed.begin(), limit.allowed.end(), static_cast<int>(value))
        != limit.allowed.end();
}

double Limited(const KeyLimit& limit, double value)
{
    if (!limit.active || Allowed(limit, value))
        return value;
    return limit.clamp ? std::clamp(value, limit.low, limit.high) : limit.replacement;
}

void LoadKey(const IniKeys& ini, const SettingsKey& key, SonarSettings& s, CommandMessage& command)
{
    const std::string fallback = key.fallback ? std::string(key.fallback) : TextOf(key.field, s, command);
    const std::string text = ini.Get(key.section, key.key, fallback);
    double number = 0;
    switch (key.format) {
    case KeyFormat::Text:
        if (auto* m = std::get_if<std::string S::*>(&key.field))
            s.** m = text;
        return;
    case KeyFormat::Folder:
        if (auto* m = std::get_if<std::string S::*>(&key.field))
            s.** m = WithTrailingSeparator(text);
        return;
    case KeyFormat::Integer:
        number = ParseIniInt(text);
        break;
    case KeyFormat::Byte:
        number = static_cast<unsigned>(ParseIniInt(text)) & 0xFFu;
        break;
    case KeyFormat::Real1:
    case KeyFormat::Real2:
        number = ParseIniDouble(text);
        break;
    }
    AssignNumber(key.field, Limited(key.limit, number), s, command);
}

// What a load implies beyond the keys themselves.
void FollowSystemLoad(SonarSettings& s, PingRecord& ping)
{
    s.profileMixWeight = ProfileMixWeightFor(s.profileDispMode);
    if (s.zeroDown != 0)
        ping.headAngle = 180.0;
}

void FollowHeadLoad(SonarSettings& s, CommandMessage& command, PingRecord& ping)
{
    WriteRange(s, command, command[CommandMessage::kRange]);
    ping.replyRange = command[CommandMessage::kRange];
    WriteGain(s, command, s.gain);
    command[CommandMessage::kStep] = s.stepSize;
    MoveModeSettingsIntoCommand(s, command);
    ApplyAutomaticValues(command, s);
}

} // namespace

std::span<const SettingsKey> SettingsKeys()
{
    return kKeys;
}

const SettingsKey* FindSettingsKey(const char* key)
{
    for (const SettingsKey& entry : kKeys)
        if (strcasecmp(entry.key, key) == 0)
            return &entry;
    return nullptr;
}

void LoadSettingsKeys(const IniKeys& ini, SonarSettings& s, CommandMessage& command, PingRecord& ping,
    const SettingsFileContext& context)
{
    for (const SettingsKey& key : kKeys) {
        if (!InUse(key, context) || (key.flags & kKeyWriteOnly) != 0)
            continue;
        if ((key.flags & kKeyManualOnly) != 0 && s.autoSettings != 0)
            continue;
        LoadKey(ini, key, s, command);
    }
    FollowSystemLoad(s, ping);
    if (!context.playback)
        FollowHeadLoad(s, command, ping);
}

void StoreSettingsKey(
    IniKeys& ini, const SettingsKey& key, const SonarSettings& s, const CommandMessage& command)
{
    switch (key.format) {
    case KeyFormat::Real1:
    case KeyFormat::Real2:
        ini.Set(key.section, key.key,
            FormatFixed(NumberOf(key.field, s, command), key.format == KeyFormat::Real1 ? 1 : 2));
        break;
    default:
        ini.Set(key.section, key.key, TextOf(key.field, s, command));
        break;
    }
}

void StoreSettingsKeys(
    IniKeys& ini, const SonarSettings& s, const CommandMessage& command, const SettingsFileContext& context)
{
    std::vector<const SettingsKey*> last;
    const char* section = nullptr;
    const auto flushLast = [&] {
        for (const SettingsKey* key : last)
            StoreSettingsKey(ini, *key, s, command);
        last.clear();
    };
    for (const SettingsKey& key : kKeys) {
        if (section != nullptr && std::strcmp(section, key.section) != 0)
            flushLast();
        section = key.section;
        if (!InUse(key, context) || (key.flags & kKeyReadOnly) != 0
            || (context.playback && (key.flags & kKeyNotWrittenInPlayback) != 0))
            continue;
        if ((key.flags & kKeyWrittenLast) != 0)
            last.push_back(&key);
        else
            StoreSettingsKey(ini, key, s, command);
    }
    flushLast();
}

} // namespace velmaris
