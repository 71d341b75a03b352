// Where an unreadable settings file goes (the document's tests drive the
// rest of the store: tests/station/SettingsFaults_test.cpp).
#include "files/SettingsStore.h"

#include "support/CycleFakes.h"
#include "support/RecordFixture.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

using namespace velmaris::testing;

std::string FileText(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsStoreTest() { store.SetLocalTimeSource(&FixedLocalTime); }
    void Write(const std::string& bytes)
    {
        WriteBytes(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    IniRead Load()
    {
        settings = SonarSettings {};
        InitialiseCommandMessage(command, settings);
        return store.Load(settings, command, ping, {});
    }

    TempFolder folder {"settingsstore"};
    std::filesystem::path path = folder / "Velmaris.INI";
    RecordingReporter reporter;
    SettingsStore store {reporter};
    SonarSettings settings;
    CommandMessage command;
    PingRecord ping;
};

TEST_F(SettingsStoreTest, AnUnreadableFileOfTheSameDayDoesNotTakeTheNameOfTheFirst)
{
    store.SetPath(path.string());
    const std::string first("[\0S\0", 4);
    const auto aside = folder / "Velmaris.INI.unreadable-2026-12-07";
    WriteBytes(aside, std::vector<std::uint8_t>(first.begin(), first.end()));
    Write(std::string("\0\1\2", 3));
    Load();
    ASSERT_TRUE(store.Save(settings, command, {}));
    EXPECT_EQ(FileText(aside), first);
    EXPECT_EQ(FileText(aside.string() + "-2"), std::string("\0\1\2", 3));
}

} // namespace
} // namespace velmaris
