#include "files/SettingsFile.h"

#include "files/IniFile.h"
#include "files/SettingsLocation.h"
#include "protocol/CommandMessage.h"
#include "protocol/NumberText.h"
#include "protocol/PingRecord.h"
#include "protocol/SettingsRules.h"
#include "protocol/SonarSettings.h"

#include <algorithm>
#include <cstdint>

namespace velmaris {

namespace {

class SectionReader {
public:
    SectionReader(const IniFile& ini, const char* section)
        : ini_(ini)
        , section_(section)
    { }
    int Int(const char* key, const char* fallback) const { return ParseIniInt(Text(key, fallback)); }
    std::uint8_t Byte(const char* key, const char* fallback) const
    {
        return static_cast<std::uint8_t>(static_cast<unsigned>(Int(key, fallback)) & 0xFFu);
    }
    double Real(const char* key, const char* fallback) const { return ParseIniDouble(Text(key, fallback)); }
    std::string Text(const char* key, const std::string& fallback) const
    {
        return ini_.Get(section_, key, fallback);
    }

private:
    const IniFile& ini_;
    const char* section_;
};

class SectionWriter {
public:
    SectionWriter(IniFile& ini, const char* section)
        : ini_(ini)
        , section_(section)
    { }
    void Int(const char* key, int value) { ini_.Set(section_, key, std::to_string(value)); }
    void Real(const char* key, double value, int decimals)
    {
        ini_.Set(section_, key, FormatFixed(value, decimals));
    }
    void Text(const char* key, const std::string& value) { ini_.Set(section_, key, value); }

private:
    IniFile& ini_;
    const char* section_;
};

void LoadSystemSettings(const SectionReader& in, SonarSettings& s, PingRecord& ping)
{
    s.rotateImage = in.Real("Rotate Image", "0.0");
    s.udpMode = in.Int("UDP Mode", "0");
    s.sonarType = in.Int("Sonar Type", "0");
    s.ipAddress = in.Text("IP Address", "192.168.0.5");
    s.sonarComPort = in.Int("SonarComPort", "1");
    s.rts = in.Int("RTS", "0");
    s.readFileDirectory = WithTrailingSeparator(in.Text("Read File Directory", s.readFileDirectory));
    s.writeFileDirectory = WithTrailingSeparator(in.Text("Write File Directory", s.writeFileDirectory));
    s.autoSaveFileName = in.Int("AutoSaveFileName", "0");
    s.openFileFilterIndex = in.Int("OpenFileFilterIndex", "0");
    s.colorTable = in.Int("ColorTable", "0");
    s.speedOfSound = in.Real("Speed of Sound", "1500");
    if (s.speedOfSound < 1400.0 || s.speedOfSound > 1600.0)
        s.speedOfSound = 1500.0;
    s.metricScale = in.Int("Metric Scale", "0");
    s.viewRangeMark = in.Int("ViewRangeMark", "1");
    s.grid = in.Int("Grid", "1");
    s.playbackSpeed = std::clamp(in.Int("Playback Speed", "6"), 0, 12);
    s.diagnosticsVisible = in.Int("Diagnostics Visible", "0");
    s.settingsDlgVisible = in.Int("SettingsDlgVisible", "0");
    in.Int("UseGPS", "0"); // read and discarded: GPS input always starts off
    s.useGps = 0;
    s.gpsComPort = in.Int("GPSComPort", "3");
    s.gpsComPortBaud = in.Int("GPSComPortBaud", "4800");
    s.profileDispMode = in.Int("ProfileDispMode", "0");
    s.profileMixWeight = ProfileMixWeightFor(s.profileDispMode);
    s.profilePointSize = in.Int("Profile Point Size", "1");
    s.zeroDown = in.Int("Zero Down", "0");
    if (s.zeroDown != 0)
        ping.headAngle = 180.0;
    s.zoom = in.Real("Zoom", "1.0");
}

void LoadSonarSettings(const SectionReader& in, SonarSettings& s, CommandMessage& command, PingRecord& ping)
{
    command[CommandMessage::kRange] = in.Byte("Range", "30");
    s.range = command[CommandMessage::kRange];
    ping.replyRange = command[CommandMessage::kRange];
    const int index = in.Byte("Range Index", "7");
    s.rangeIndex = index < kRangeCount ? index : kDefaultRangeIndex;
    s.gain = in.Byte("Gain", "6");
    command[CommandMessage::kGain] = s.gain;
    s.sonarUpDown = in.Byte("Sonar Up/Down", "0");
    s.trainPolar = in.Byte("Train Polar", "60");
    s.trainSector = in.Byte("Train Sector", "60");
    s.trainSS = in.Byte("Train SS", "30");
    s.sectorWidthPolar = in.Byte("SectorWidth Polar", "120");
    s.sectorWidthSector = in.Byte("SectorWidth Sector", "60");
    s.stepSize = in.Byte("Step Size", "3");
    command[CommandMessage::kStep] = s.stepSize;
    s.sectorMode = in.Int("Sector Mode", "1");
    if (s.sectorMode < kModeSector || s.sectorMode > kModeSideScan)
        s.sectorMode = kModeSector;
    MoveModeSettingsIntoCommand(s, command);
    s.autoSettings = in.Int("Auto Settings", "1");
    if (s.autoSettings == 0) {
        // Only the saved copies: the command bytes keep their values until the
        // operator changes one of them or switches automatic mode back on.
        s.frequency = in.Byte("Frequency", "165");
        s.pulseLength = in.Byte("Pulse Length", "10");
        s.absorption = in.Byte("Absorption", "20");
    }
    if (s.autoSettings == 1)
        LoadAutomaticValues(s, command);
}

} // namespace

void LoadSettings(const IniFile& ini, SonarSettings& settings, CommandMessage& command, PingRecord& ping,
    const SettingsFileContext& context)
{
    LoadSystemSettings(SectionReader(ini, kSystemSection), settings, ping);
    if (!context.playback)
        LoadSonarSettings(SectionReader(ini, kSonarSection), settings, command, ping);
}

void StoreSettings(
    IniFile& ini, const SonarSettings& s, const CommandMessage& command, const SettingsFileContext& context)
{
    SectionWriter sys(ini, kSystemSection);
    if (!context.playback)
        sys.Real("Rotate Image", s.rotateImage, 1);
    sys.Int("UDP Mode", s.udpMode);
    sys.Int("Sonar Type", s.sonarType);
    sys.Text("IP Address", s.ipAddress);
    sys.Int("SonarComPort", s.sonarComPort);
    sys.Int("SonarComPortBaud", s.sonarComPortBaud);
    sys.Int("RTS", s.rts);
    sys.Text("Read File Directory", s.readFileDirectory);
    sys.Text("Write File Directory", s.writeFileDirectory);
    sys.Int("AutoSaveFileName", s.autoSaveFileName);
    sys.Int("OpenFileFilterIndex", s.openFileFilterIndex);
    sys.Int("ColorTable", s.colorTable);
    sys.Real("Speed of Sound", s.speedOfSound, 1);
    sys.Int("Metric Scale", s.metricScale);
    sys.Int("ViewRangeMark", s.viewRangeMark);
    sys.Int("Grid", s.grid);
    sys.Int("Playback Speed", s.playbackSpeed);
    sys.Int("Diagnostics Visible", s.diagnosticsVisible);
    sys.Int("SettingsDlgVisible", s.settingsDlgVisible);
    sys.Int("UseGPS", s.useGps);
    sys.Int("GPSComPort", s.gpsComPort);
    sys.Int("GPSComPortBaud", s.gpsComPortBaud);
    sys.Int("ProfileDispMode", s.profileDispMode);
    sys.Int("Profile Point Size", s.profilePointSize);
    sys.Int("Zero Down", s.zeroDown);
    sys.Real("Zoom", s.zoom, 2);
    if (context.playback)
        return;

    SectionWriter sonar(ini, kSonarSection);
    sonar.Int("Range", command[CommandMessage::kRange]);
    sonar.Int("Range Index", s.rangeIndex);
    sonar.Int("Gain", s.gain);
    sonar.Int("Train Polar", s.trainPolar);
    sonar.Int("Train Sector", s.trainSector);
    sonar.Int("Train SS", s.trainSS);
    sonar.Int("SectorWidth Polar", s.sectorWidthPolar);
    sonar.Int("SectorWidth Sector", s.sectorWidthSector);
    sonar.Int("Step Size", s.stepSize);
    sonar.Int("Sector Mode", s.sectorMode);
    sonar.Int("Auto Settings", s.autoSettings);
    sonar.Int("Frequency", s.frequency);
    sonar.Int("Pulse Length", s.pulseLength);
    sonar.Int("Absorption", s.absorption);
    sonar.Int("Sonar Up/Down", s.sonarUpDown);
}

void LoadSettingsFile(const std::string& path, SonarSettings& settings, CommandMessage& command,
    PingRecord& ping, const SettingsFileContext& context)
{
    IniFile ini;
    ini.Load(path);
    LoadSettings(ini, settings, command, ping, context);
}

bool SaveSettingsFile(const std::string& path, const SonarSettings& settings, const CommandMessage& command,
    const SettingsFileContext& context)
{
    IniFile ini;
    ini.Load(path); // keep what is there: keys added by hand, and the sections a playback must not touch
    StoreSettings(ini, settings, command, context);
    return ini.Save(path);
}

} // namespace velmaris
