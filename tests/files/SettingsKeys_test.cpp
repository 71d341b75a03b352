#include "files/IniFile.h"
#include "files/SettingsFile.h"
#include "files/SettingsKeys.h"
#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"
#include "support/SettingsFileFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <utility>
#include <vector>

namespace velmaris {
namespace {

using KeyName = std::pair<std::string, std::string>;

// Answers every Get with its fallback (or a preset text) and records the
// order of the calls.
class CountingKeys final : public IniKeys {
public:
    std::string Get(const char* section, const char* key, const std::string& fallback) const override
    {
        gets.emplace_back(section, key);
        const auto found = preset.find(key);
        return found == preset.end() ? fallback : found->second;
    }
    void Set(const char* section, const char* key, const std::string&) override
    {
        sets.emplace_back(section, key);
    }

    std::map<std::string, std::string> preset;
    mutable std::vector<KeyName> gets;
    std::vector<KeyName> sets;
};

// Keeps what is set, by key name, and answers Get from it.
class MapKeys final : public IniKeys {
public:
    std::string Get(const char*, const char* key, const std::string& fallback) const override
    {
        const auto found = values.find(key);
        return found == values.end() ? fallback : found->second;
    }
    void Set(const char*, const char* key, const std::string& text) override { values[key] = text; }

    std::map<std::string, std::string> values;
};

std::vector<KeyName> In(const char* section, std::initializer_list<const char*> keys)
{
    std::vector<KeyName> names;
    for (const char* key : keys)
        names.emplace_back(section, key);
    return names;
}

std::vector<KeyName> operator+(std::vector<KeyName> a, const std::vector<KeyName>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<KeyName> kSystemReadOrder = In(kSystemSection,
    {"Rotate Image", "UDP Mode", "Sonar Type", "IP Address", "SonarComPort", "RTS", "Read File Directory",
        "Write File Directory", "AutoSaveFileName", "OpenFileFilterIndex", "ColorTable", "Speed of Sound",
        "Metric Scale", "ViewRangeMark", "Grid", "Playback Speed", "Diagnostics Visible",
        "SettingsDlgVisible", "UseGPS", "GPSComPort", "GPSComPortBaud", "ProfileDispMode",
        "Profile Point Size", "Zero Down", "Zoom"});
const std::vector<KeyName> kSystemWriteOrder = In(kSystemSection,
    {"Rotate Image", "UDP Mode", "Sonar Type", "IP Address", "SonarComPort", "SonarComPortBaud", "RTS",
        "Read File Directory", "Write File Directory", "AutoSaveFileName", "OpenFileFilterIndex",
        "ColorTable", "Speed of Sound", "Metric Scale", "ViewRangeMark", "Grid", "Playback Speed",
        "Diagnostics Visible", "SettingsDlgVisible", "UseGPS", "GPSComPort", "GPSComPortBaud",
        "ProfileDispMode", "Profile Point Size", "Zero Down", "Zoom"});
const std::vector<KeyName> kSonarReadOrder = In(kSonarSection,
    {"Range", "Range Index", "Gain", "Sonar Up/Down", "Train Polar", "Train Sector", "Train SS",
        "SectorWidth Polar", "SectorWidth Sector", "Step Size", "Sector Mode", "Auto Settings", "Frequency",
        "Pulse Length", "Absorption"});
const std::vector<KeyName> kAntennaOrder
    = In(kAntennaSection, {"Head Forward", "Head Starboard", "Head Zero To Bow"});
const std::vector<KeyName> kSonarWriteOrder = In(kSonarSection,
    {"Range", "Range Index", "Gain", "Train Polar", "Train Sector", "Train SS", "SectorWidth Polar",
        "SectorWidth Sector", "Step Size", "Sector Mode", "Auto Settings", "Frequency", "Pulse Length",
        "Absorption", "Sonar Up/Down"});
const std::vector<KeyName> kWebOrder = In(kWebSection, {"Enabled", "Listen"});

TEST(SettingsKeys, EveryKeyIsReadAndWrittenOnceInTheFilesOrders)
{
    SonarSettings settings;
    CommandMessage command;
    PingRecord ping;
    InitialiseCommandMessage(command, settings);

    CountingKeys keys;
    keys.preset["Auto Settings"] = "0"; // the manual values are read too
    LoadSettingsKeys(keys, settings, command, ping, {});
    EXPECT_EQ(keys.gets, kSystemReadOrder + kSonarReadOrder + kAntennaOrder + kWebOrder);
    StoreSettingsKeys(keys, settings, command, {});
    EXPECT_EQ(keys.sets, kSystemWriteOrder + kSonarWriteOrder + kAntennaOrder)
        << "the web view's keys are set by hand";

    // Every entry of the table but the read-only ones is written; all but the write-only ones are read.
    std::size_t writeOnly = 0;
    std::size_t readOnly = 0;
    for (const SettingsKey& key : SettingsKeys()) {
        writeOnly += (key.flags & kKeyWriteOnly) != 0;
        readOnly += (key.flags & kKeyReadOnly) != 0;
    }
    EXPECT_EQ(keys.sets.size(), SettingsKeys().size() - readOnly);
    EXPECT_EQ(keys.gets.size(), SettingsKeys().size() - writeOnly);

    CountingKeys automatic; // `Auto Settings` 1: the three manual values stay unread
    LoadSettingsKeys(automatic, settings, command, ping, {});
    EXPECT_EQ(automatic.gets.size(), keys.gets.size() - 3);
}

TEST(SettingsKeys, PlaybackTouchesOnlySystemKeysAndNeverWritesTheRotation)
{
    SonarSettings settings;
    CommandMessage command;
    PingRecord ping;
    CountingKeys keys;
    LoadSettingsKeys(keys, settings, command, ping, {true});
    EXPECT_EQ(keys.gets, kSystemReadOrder + kAntennaOrder + kWebOrder);
    StoreSettingsKeys(keys, settings, command, {true});
    EXPECT_EQ(keys.sets,
        std::vector<KeyName>(kSystemWriteOrder.begin() + 1, kSystemWriteOrder.end()) + kAntennaOrder);
}

// Modes and head models stand in the file as the numbers it has always held.
TEST(SettingsKeys, EveryModeAndHeadModelIsStoredAsItsNumber)
{
    const std::pair<DisplayMode, const char*> modes[] {
        {DisplayMode::Sector, "0"}, {DisplayMode::Polar, "1"}, {DisplayMode::SideScan, "2"}};
    const std::pair<SonarType, const char*> types[] {{SonarType::SerialK52A, "0"}, {SonarType::EthernetK52L, "1"}};
    for (const auto& [mode, modeText] : modes) {
        for (const auto& [type, typeText] : types) {
            SonarSettings stored;
            CommandMessage command;
            InitialiseCommandMessage(command, stored);
            stored.sectorMode = mode;
            stored.sonarType = type;
            MapKeys keys;
            StoreSettingsKeys(keys, stored, command, {});
            EXPECT_EQ(keys.values["Sector Mode"], modeText);
            EXPECT_EQ(keys.values["Sonar Type"], typeText);

            SonarSettings loaded;
            PingRecord ping;
            InitialiseCommandMessage(command, loaded);
            LoadSettingsKeys(keys, loaded, command, ping, {});
            EXPECT_EQ(loaded.sectorMode, mode) << modeText;
            EXPECT_EQ(loaded.sonarType, type) << typeText;
        }
    }
}

TEST(SettingsKeys, FindMatchesWithoutRegardToCase)
{
    ASSERT_NE(FindSettingsKey("sonar up/down"), nullptr);
    EXPECT_STREQ(FindSettingsKey("sonar up/down")->key, "Sonar Up/Down");
    EXPECT_EQ(FindSettingsKey("Serial Devices"), nullptr);
}

// --- Every key of the table loads what it stores -----------------------------

// The field of a key as text, and a changed value the key must carry.
struct FieldAccess {
    SonarSettings& s;
    CommandMessage& command;
    std::string Text(const SettingsField& field) const
    {
        if (auto m = std::get_if<std::string SonarSettings::*>(&field))
            return s.**m;
        if (auto m = std::get_if<double SonarSettings::*>(&field))
            return std::to_string(s.**m);
        if (auto m = std::get_if<int SonarSettings::*>(&field))
            return std::to_string(s.**m);
        if (auto m = std::get_if<std::uint8_t SonarSettings::*>(&field))
            return std::to_string(s.**m);
        if (auto m = std::get_if<DisplayMode SonarSettings::*>(&field))
            return std::to_string(CodeOf(s.**m));
        if (auto m = std::get_if<SonarType SonarSettings::*>(&field))
            return std::to_string(CodeOf(s.**m));
        return std::to_string(command[static_cast<std::size_t>(std::get<CommandByte>(field).index)]);
    }
    // A valid value other than the current one: a key with a table takes
    // another entry of it; other numbers step toward zero by one (by 0.5 for
    // reals), or up from zero; texts become other texts.
    void Change(const SettingsKey& key) const
    {
        const auto step = [](auto& v, auto by) { v = v > 0 ? v - by : v + by; };
        if (const auto allowed = key.limit.allowed; !allowed.empty()) {
            const int other = std::to_string(allowed[0]) != Text(key.field) ? allowed[0] : allowed[1];
            if (auto m = std::get_if<int SonarSettings::*>(&key.field))
                s.** m = other;
            else if (auto m = std::get_if<std::uint8_t SonarSettings::*>(&key.field))
                s.** m = static_cast<std::uint8_t>(other);
            else
                command[static_cast<std::size_t>(std::get<CommandByte>(key.field).index)]
                    = static_cast<std::uint8_t>(other);
            return;
        }
        if (auto m = std::get_if<std::string SonarSettings::*>(&key.field))
            s.** m = key.format == KeyFormat::Folder ? "/tmp/velmaris round trip/" : "127.0.0.77";
        else if (auto m = std::get_if<double SonarSettings::*>(&key.field))
            step(s.**m, 0.5);
        else if (auto m = std::get_if<int SonarSettings::*>(&key.field))
            step(s.**m, 1);
        else if (auto m = std::get_if<std::uint8_t SonarSettings::*>(&key.field))
            s.** m = static_cast<std::uint8_t>(s.**m > 0 ? s.**m - 1 : 1);
        else if (auto m = std::get_if<DisplayMode SonarSettings::*>(&key.field))
            s.** m = s.**m == DisplayMode::Sector ? DisplayMode::Polar : DisplayMode::Sector;
        else if (auto m = std::get_if<SonarType SonarSettings::*>(&key.field))
            s.** m = s.**m == SonarType::SerialK52A ? SonarType::EthernetK52L : SonarType::SerialK52A;
        else
            command[static_cast<std::size_t>(std::get<CommandByte>(key.field).index)] -= 1;
    }
};

class KeyRoundTrip : public SettingsFileTest, public ::testing::WithParamInterface<std::size_t> { };

TEST_P(KeyRoundTrip, LoadsWhatItStores)
{
    const SettingsKey& key = SettingsKeys()[GetParam()];
    settings_.readFileDirectory = settings_.writeFileDirectory = "/data/";
    settings_.autoSettings = 0; // the manual values are kept
    const FieldAccess stored {settings_, command_};
    const std::string before = stored.Text(key.field);
    stored.Change(key);
    const std::string changed = stored.Text(key.field);
    ASSERT_NE(changed, before) << key.key;
    ASSERT_TRUE(Save());

    SettingsFile file(path_);
    ASSERT_TRUE(file.Read());
    const std::string text = file.Value(key.section, key.key).value_or("(missing)");
    if ((key.flags & kKeyReadOnly) != 0) {
        EXPECT_EQ(text, "(missing)") << key.key << " is never written";
        // What the operator wrote by hand is read, and kept by the next save.
        WriteIni(std::string("[") + key.section + "]\n" + key.key + "=" + changed + "\n");
        SonarSettings loaded;
        LoadSettingsFile(path_, loaded, command_, ping_, {});
        EXPECT_EQ(FieldAccess({loaded, command_}).Text(key.field), changed) << key.key;
        ASSERT_TRUE(Save());
        EXPECT_NE(ReadIni().find(std::string(key.key) + "=" + changed + "\n"), std::string::npos)
            << ReadIni();
        return;
    }
    const char* pattern = key.format == KeyFormat::Real1                    ? R"(-?\d+\.\d)"
        : key.format == KeyFormat::Real2                                    ? R"(-?\d+\.\d\d)"
        : key.format == KeyFormat::Integer || key.format == KeyFormat::Byte ? R"(-?\d+)"
                                                                            : ".+";
    EXPECT_TRUE(std::regex_match(text, std::regex(pattern))) << key.key << "=" << text;

    SonarSettings loaded;
    CommandMessage command;
    PingRecord ping;
    InitialiseCommandMessage(command, loaded);
    loaded.readFileDirectory = loaded.writeFileDirectory = "/data/";
    file.Load(loaded, command, ping, {});
    const FieldAccess read {loaded, command};
    if ((key.flags & kKeyWriteOnly) != 0)
        EXPECT_EQ(read.Text(key.field), before) << key.key << " is never read";
    else if (std::string(key.key) == "UseGPS")
        EXPECT_EQ(loaded.useGps, 0) << "GPS input always starts off";
    else
        EXPECT_EQ(read.Text(key.field), changed) << key.key;
}

std::string KeyTestName(const ::testing::TestParamInfo<std::size_t>& info)
{
    std::string name;
    for (const char c : std::string(SettingsKeys()[info.param].key))
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryKey, KeyRoundTrip, ::testing::Range<std::size_t>(0, SettingsKeys().size()), KeyTestName);

// --- Out-of-range values: limited only where unsafe, else kept -------------

// The number a key loaded into (its field, or its command byte).
double LoadedNumber(const SettingsField& field, const SonarSettings& s, const CommandMessage& command)
{
    if (auto m = std::get_if<double SonarSettings::*>(&field))
        return s.**m;
    if (auto m = std::get_if<int SonarSettings::*>(&field))
        return s.**m;
    if (auto m = std::get_if<std::uint8_t SonarSettings::*>(&field))
        return s.**m;
    if (auto m = std::get_if<DisplayMode SonarSettings::*>(&field))
        return CodeOf(s.**m);
    if (auto m = std::get_if<SonarType SonarSettings::*>(&field))
        return CodeOf(s.**m);
    return command[static_cast<std::size_t>(std::get<CommandByte>(field).index)];
}

double MixWeight(const SonarSettings& s, const CommandMessage&)
{
    return s.profileMixWeight;
}

struct LoadedValueCase {
    const char* key;
    const char* text;
    double expected;
    // What to read instead of the key's own field.
    double (*read)(const SonarSettings&, const CommandMessage&) = nullptr;
};

void PrintTo(const LoadedValueCase& c, std::ostream* out)
{
    *out << c.key << "=" << c.text;
}

class LoadedValue : public ::testing::TestWithParam<LoadedValueCase> { };

TEST_P(LoadedValue, UnsafeValuesAreLimitedOthersKept)
{
    const LoadedValueCase& c = GetParam();
    const SettingsKey* key = FindSettingsKey(c.key);
    ASSERT_NE(key, nullptr) << c.key;
    CountingKeys keys;
    keys.preset[c.key] = c.text;
    if (std::string(c.key) != "Auto Settings")
        keys.preset["Auto Settings"] = "0"; // so the manual values are read
    SonarSettings settings;
    CommandMessage command;
    PingRecord ping;
    InitialiseCommandMessage(command, settings);
    LoadSettingsKeys(keys, settings, command, ping, {});
    const double loaded = c.read ? c.read(settings, command) : LoadedNumber(key->field, settings, command);
    EXPECT_DOUBLE_EQ(loaded, c.expected) << c.key << "=" << c.text;
}

std::string LoadedValueName(const ::testing::TestParamInfo<LoadedValueCase>& info)
{
    std::string name = std::to_string(info.index) + "_";
    for (const char c : std::string(info.param.key) + "_" + info.param.text)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

// The file starts in Polar mode, so Polar's train and width go into the
// command (and are limited there) while the other modes' copies stay as stored.
INSTANTIATE_TEST_SUITE_P(HandEditedFile, LoadedValue,
    ::testing::Values(
        // Limited: a zoom the painters cannot use, a rotation the view cannot
        // turn by, an index past the colour tables, bytes the head does not take.
        LoadedValueCase {"Zoom", "0", 1.0}, LoadedValueCase {"Zoom", "-5", 1.0},
        LoadedValueCase {"Zoom", "1e308", 1.0}, LoadedValueCase {"Zoom", "nan", 1.0},
        LoadedValueCase {"Zoom", "3.0", 3.0}, LoadedValueCase {"Zoom", "8", 8.0},
        LoadedValueCase {"Zoom", "8.01", 1.0}, LoadedValueCase {"Head Forward", "-2.5", -2.5},
        LoadedValueCase {"Head Starboard", "nan", 0.0}, LoadedValueCase {"Head Forward", "1e9", 0.0},
        LoadedValueCase {"Head Zero To Bow", "180", 180.0}, LoadedValueCase {"Head Zero To Bow", "361", 0.0},
        LoadedValueCase {"Rotate Image", "1e308", 0.0}, LoadedValueCase {"Rotate Image", "1000000.1", 0.0},
        LoadedValueCase {"Rotate Image", "-1000000", -1e6}, LoadedValueCase {"Rotate Image", "400", 400.0},
        LoadedValueCase {"Rotate Image", "-90.5", -90.5}, LoadedValueCase {"ColorTable", "9", 0},
        LoadedValueCase {"ColorTable", "-1", 0}, LoadedValueCase {"ColorTable", "8", 8},
        LoadedValueCase {"Range", "0", 30}, LoadedValueCase {"Range", "159", 30},
        LoadedValueCase {"Range", "7", 30}, LoadedValueCase {"Range", "150", 150},
        LoadedValueCase {"Gain", "41", 6}, LoadedValueCase {"Gain", "40", 40},
        LoadedValueCase {"Step Size", "6", 3}, LoadedValueCase {"Step Size", "7", 3},
        LoadedValueCase {"Step Size", "251", 3}, LoadedValueCase {"Step Size", "8", 8},
        LoadedValueCase {"Step Size", "5", 5}, LoadedValueCase {"Train Polar", "121", 60},
        LoadedValueCase {"SectorWidth Polar", "250", 120}, LoadedValueCase {"Sonar Type", "2", 0},
        LoadedValueCase {"Sonar Type", "-1", 0}, LoadedValueCase {"Sector Mode", "3", 0},
        LoadedValueCase {"Sector Mode", "-1", 0},
        // Kept as stored.
        LoadedValueCase {"ProfileDispMode", "5", 5}, LoadedValueCase {"ProfileDispMode", "5", 1.0, MixWeight},
        LoadedValueCase {"ProfileDispMode", "-3", -3},
        LoadedValueCase {"ProfileDispMode", "2147483647", 2147483647},
        LoadedValueCase {"Profile Point Size", "-1", -1}, LoadedValueCase {"Profile Point Size", "7", 7},
        LoadedValueCase {"UDP Mode", "2", 2}, LoadedValueCase {"OpenFileFilterIndex", "7", 7},
        LoadedValueCase {"Metric Scale", "2", 2}, LoadedValueCase {"Grid", "3", 3},
        LoadedValueCase {"Grid", "-1", -1}, LoadedValueCase {"GPSComPortBaud", "1234", 1234},
        LoadedValueCase {"Sonar Up/Down", "2", 2}, LoadedValueCase {"Train SS", "200", 200},
        LoadedValueCase {"Train Sector", "121", 121}, LoadedValueCase {"SectorWidth Sector", "61", 61},
        LoadedValueCase {"Auto Settings", "2", 2}, LoadedValueCase {"Frequency", "200", 200},
        LoadedValueCase {"Frequency", "0", 0}, LoadedValueCase {"Pulse Length", "0", 0},
        LoadedValueCase {"Pulse Length", "255", 255}),
    LoadedValueName);

// A file where every head value is out of reach still gives a command the
// head can take, for any head type, mode and automatic flag.
TEST_F(SettingsFileTest, HostileFileGivesACommandInRange)
{
    for (const char* head : {"0", "1", "5"}) {
        for (const char* mode : {"0", "1", "2", "7"}) {
            for (const char* automatic : {"7", "0"}) {
                WriteIni(std::string("[System Settings]\nSonar Type=") + head
                    + "\nZoom=-5\nColorTable=99\n"
                      "[Sonar Settings]\nRange=159\nRange Index=255\nGain=255\nStep Size=251\n"
                      "Train Polar=250\nTrain Sector=121\nTrain SS=255\nSectorWidth Polar=250\n"
                      "SectorWidth Sector=200\nSonar Up/Down=9\nFrequency=255\nPulse Length=0\n"
                      "Absorption=253\nAuto Settings="
                    + automatic + "\nSector Mode=" + mode + "\n");
                SonarSettings settings;
                CommandMessage command;
                InitialiseCommandMessage(command, settings);
                PingRecord ping;
                LoadSettingsFile(path_, settings, command, ping, {});
                SCOPED_TRACE(std::string("head ") + head + ", mode " + mode + ", auto " + automatic);
                using M = CommandMessage;
                EXPECT_EQ(command[M::kRange], 30);
                EXPECT_EQ(command[M::kGain], 6);
                EXPECT_LE(command[M::kTrain], 120);
                EXPECT_LE(command[M::kSectorWidth], settings.sectorMode == DisplayMode::Sector ? 60 : 120);
                EXPECT_EQ(command[M::kStep], settings.sectorMode == DisplayMode::SideScan ? 0 : kStepFast);
                // Neither automatic values (the flag is not 1) nor the stored
                // manual ones (saved copies only) reach the command.
                EXPECT_EQ(command[M::kFrequency], 165);
                EXPECT_EQ(command[M::kPulseLength], 10);
                EXPECT_DOUBLE_EQ(settings.zoom, 1.0);
                EXPECT_EQ(settings.colorTable, 0);
            }
        }
    }
}

} // namespace
} // namespace velmaris
