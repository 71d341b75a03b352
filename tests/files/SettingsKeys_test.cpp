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
const std::vector<KeyName> kSonarWriteOrder = In(kSonarSection,
    {"Range", "Range Index", "Gain", "Train Polar", "Train Sector", "Train SS", "SectorWidth Polar",
        "SectorWidth Sector", "Step Size", "Sector Mode", "Auto Settings", "Frequency", "Pulse Length",
        "Absorption", "Sonar Up/Down"});

TEST(SettingsKeys, EveryKeyIsReadAndWrittenOnceInTheFilesOrders)
{
    SonarSettings settings;
    CommandMessage command;
    PingRecord ping;
    InitialiseCommandMessage(command, settings);

    CountingKeys keys;
    keys.preset["Auto Settings"] = "0"; // the manual values are read too
    LoadSettingsKeys(keys, settings, command, ping, {});
    EXPECT_EQ(keys.gets, kSystemReadOrder + kSonarReadOrder);
    StoreSettingsKeys(keys, settings, command, {});
    EXPECT_EQ(keys.sets, kSystemWriteOrder + kSonarWriteOrder);

    // Every entry of the table is written; all but the write-only ones are read.
    std::size_t writeOnly = 0;
    for (const SettingsKey& key : SettingsKeys())
        writeOnly += (key.flags & kKeyWriteOnly) != 0;
    EXPECT_EQ(keys.sets.size(), SettingsKeys().size());
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
    EXPECT_EQ(keys.gets, kSystemReadOrder);
    StoreSettingsKeys(keys, settings, command, {true});
    EXPECT_EQ(keys.sets, std::vector<KeyName>(kSystemWriteOrder.begin() + 1, kSystemWriteOrder.end()));
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
        return std::to_string(command[static_cast<std::size_t>(std::get<CommandByte>(field).index)]);
    }
    // A valid value other than the current one: numbers step toward zero by
    // one (by 0.5 for reals), or up from zero; texts become other texts.
    void Change(const SettingsKey& key) const
    {
        const auto step = [](auto& v, auto by) { v = v > 0 ? v - by : v + by; };
        if (auto m = std::get_if<std::string SonarSettings::*>(&key.field))
            s.** m = key.format == KeyFormat::Folder ? "/tmp/velmaris round trip/" : "127.0.0.77";
        else if (auto m = std::get_if<double SonarSettings::*>(&key.field))
            step(s.**m, 0.5);
        else if (auto m = std::get_if<int SonarSettings::*>(&key.field))
            step(s.**m, 1);
        else if (auto m = std::get_if<std::uint8_t SonarSettings::*>(&key.field))
            s.** m = static_cast<std::uint8_t>(s.**m > 0 ? s.**m - 1 : 1);
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

} // namespace
} // namespace velmaris
