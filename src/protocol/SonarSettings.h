#pragma once
// The operator's head and display settings, their value tables and the
// derived values kept beside them. Plain data: the stepping and clamping
// rules that change them live in SettingsOperations; the INI file that stores
// them in SettingsFile.
//
// Several head settings have their live value in a byte of the command
// message (the next ping carries it); the fields here are the saved copies
// that keep a value per display mode or across mode changes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace velmaris {

// Range table, index to metres. The head always receives metres.
inline constexpr int kRangeCount = 15;
inline constexpr std::array<int, kRangeCount> kRangeTableMetres {
    1, 2, 3, 4, 5, 10, 20, 30, 40, 50, 60, 80, 100, 150, 200};
inline constexpr int kDefaultRangeIndex = 7;

// Display modes (`Sector Mode`).
enum class DisplayMode { Sector, Polar, SideScan };

// Head models (`Sonar Type`).
enum class SonarType { SerialK52A, EthernetK52L };

// The numbers the settings file, the record header, the settings panel and
// the tool's dump hold for them. Every edge converts through these; the
// ForCode functions give nullopt for a number that names nothing.
constexpr int CodeOf(DisplayMode mode)
{
    return static_cast<int>(mode);
}
constexpr int CodeOf(SonarType type)
{
    return static_cast<int>(type);
}
constexpr std::optional<DisplayMode> DisplayModeForCode(int code)
{
    if (code < CodeOf(DisplayMode::Sector) || code > CodeOf(DisplayMode::SideScan))
        return std::nullopt;
    return static_cast<DisplayMode>(code);
}
constexpr std::optional<SonarType> SonarTypeForCode(int code)
{
    if (code < CodeOf(SonarType::SerialK52A) || code > CodeOf(SonarType::EthernetK52L))
        return std::nullopt;
    return static_cast<SonarType>(code);
}

// Step codes (command byte 13 and `Step Size`); the head moves 0.3 degrees
// per code unit per ping.
inline constexpr int kStepNone = 0;
inline constexpr int kStepSlow = 1;
inline constexpr int kStepMedium = 2;
inline constexpr int kStepFast = 3;
inline constexpr int kStepFaster = 4;
inline constexpr int kStepFastest = 8;
// Code 5 names no step; a 5 (typed, stepped or read from a file) goes out as
// Fastest.
inline constexpr int kStepUnassigned = 5;
constexpr int StepCodeSent(int code)
{
    return code == kStepUnassigned ? kStepFastest : code;
}

// GPS receiver baud rates the station offers (`GPSComPortBaud`, the port
// dialog's list, `--gps DEVICE:BAUD`); the first is the default.
inline constexpr std::array<int, 6> kGpsBaudRates {4800, 9600, 19200, 38400, 57600, 115200};

// One row of the automatic table: the values loaded for a range index when
// `Auto Settings` is 1.
struct AutoRow {
    std::uint8_t frequency; // code; kHz = 5 x code + 175
    std::uint8_t absorption; // 0.01 dB/m
    std::uint8_t pulseLength; // 10 us
};
using AutoTable = std::array<AutoRow, kRangeCount>;

struct SonarSettings {
    // --- Head settings, INI section "Sonar Settings" ---
    std::uint8_t range = 30; // metres; live value in command byte 3
    int rangeIndex = kDefaultRangeIndex; // 0..14
    std::uint8_t gain = 6; // dB 0..40; live value in command byte 8
    int sonarUpDown = 0; // 0 "&Down", 1 "&Up"
    DisplayMode sectorMode = DisplayMode::Polar;
    std::uint8_t sectorWidthSector = 60; // units of 3 degrees, 0..60
    std::uint8_t sectorWidthPolar = 120; // units of 3 degrees, 0..120
    std::uint8_t trainSector = 60; // train codes 0..120, 60 straight ahead
    std::uint8_t trainPolar = 60;
    std::uint8_t trainSS = 30;
    std::uint8_t stepSize = kStepFast; // per-mode memory of command byte 13
    int autoSettings = 1;
    std::uint8_t frequency = 165; // code 21..185
    std::uint8_t absorption = 20; // 0..255, stepping skips 253
    std::uint8_t pulseLength = 10; // 1..100

    // --- System and display settings, INI section "System Settings" ---
    SonarType sonarType = SonarType::SerialK52A;
    int udpMode = 0;
    std::string ipAddress = "192.168.0.5";
    int sonarComPort = 1;
    int sonarComPortBaud = 115200;
    int rts = 0;
    std::string readFileDirectory; // ends with the platform's separator
    std::string writeFileDirectory; // ends with the platform's separator
    int autoSaveFileName = 0;
    int openFileFilterIndex = 0;
    int colorTable = 0; // 0..8
    double speedOfSound = 1500.0; // m/s, 1400..1600
    int metricScale = 0; // 0 metres, 1 feet
    int viewRangeMark = 1;
    int grid = 1; // 0 None, 1 Polar, 2 Rectangular
    int playbackSpeed = 6; // 0..12
    int diagnosticsVisible = 0;
    int settingsDlgVisible = 0;
    int useGps = 0;
    int gpsComPort = 3;
    int gpsComPortBaud = kGpsBaudRates[0];
    int profileDispMode = 0; // 0 Off .. 4 High Mix
    int profilePointSize = 1; // 0 Small, 1 Medium, 2 Large
    int zeroDown = 0;
    double rotateImage = 0.0; // degrees
    double zoom = 1.0; // 0.5..2.0
    // Where the head sits on the boat: metres forward of and to starboard of
    // the GPS antenna, and the head's zero direction in degrees clockwise
    // from the bow ("Antenna Offsets" section; the positions of the pings
    // and of the samples follow them).
    double headForward = 0.0;
    double headStarboard = 0.0;
    double headZeroToBow = 0.0;

    // --- The read-only web view, INI section "Web View" ---
    int webView = 0; // 1: serve the web view from the start
    std::string webListen = "8052"; // [ADDR:]PORT, loopback when only a port

    // --- Derived values kept with the settings ---
    double profileMixWeight = 1.0; // from profileDispMode
    int trainAngleDegrees = 0; // from command byte 11 and sonarUpDown

    AutoTable automaticTable = BuildAutomaticTable();

    static AutoTable BuildAutomaticTable();
};

// Inverse range mapping: the largest index whose entry does not exceed the
// value; values below 1 give the default index 7.
int RangeIndexForMetres(int metres);

// Metres for a range index; an index outside 0..14 gives the default range.
int RangeMetresForIndex(int index);

// Name shown for a step code ("None" .. "Fastest"); "" for a code with no name.
const char* StepName(int code);

// Profile mix weight for a `ProfileDispMode` value (any unknown value 1.0).
double ProfileMixWeightFor(int profileDispMode);

// Train angle in degrees shown to the operator for a train code and
// orientation: code 60 is 0 degrees (360 with `Sonar Up/Down` 1), 0 and 120
// are 180, 59 is 357. Limited to 0..360.
int TrainAngleDegreesFor(int trainCode, int sonarUpDown);

} // namespace velmaris
