// The document with a settings file it cannot read, or none at all: the
// operator's file is kept and moved aside before the first save, the
// operator is told once, a failed save is reported once, and without the
// operator's settings no default serial port or head address is contacted
// until the operator chooses the head's.

#include "CommandsFixture.h"

#include "station/CommandIds.h"
#include "support/RecordFixture.h"

#include <random>

namespace velmaris {
namespace {

using namespace velmaris::testing;

std::string Utf16(const std::string& ascii, bool bigEndian)
{
    std::string out;
    for (const char c : ascii)
        out += bigEndian ? std::string {'\0', c} : std::string {c, '\0'};
    return out;
}

std::string FileText(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& bytes)
{
    WriteBytes(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::string Garbage()
{
    std::mt19937 random(7);
    std::string bytes(600, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

struct UnreadableCase {
    const char* name;
    std::string bytes;
};

const std::vector<UnreadableCase> kUnreadable {
    {"UTF-16 without a byte-order mark", Utf16("[System Settings]\r\nGrid=0\r\nSonar Type=1\r\n", false)},
    {"binary garbage", Garbage()},
    {"text after a NUL byte", std::string("[System Settings]\nGrid=0\n\0\nZoom=2\n", 34)},
};

class SettingsFaultsTest : public ::testing::Test, protected StationFakes {
protected:
    DocumentSetup Setup() const { return DocumentSetup {iniPath, folder / "", 14040, 15040}; }
    ScratchFolder folder {"settingsfaults"};
    std::string iniPath = folder / "Velmaris.INI";
    std::string aside = iniPath + ".unreadable-2026-12-07";
};

TEST_F(SettingsFaultsTest, AnUnreadableFileIsKeptToldOnceAndMovedAsideBeforeTheSave)
{
    for (const UnreadableCase& c : kUnreadable) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(aside);
        reporter.messages.clear();
        WriteText(iniPath, c.bytes);
        CVelmarisDoc doc {ui, Links(), reporter, clock};
        doc.Settings().SetLocalTimeSource(&FixedLocalTime);
        doc.Initialise(Setup());
        EXPECT_EQ(doc.State().settings.grid, 1); // the default
        doc.Cycle().StartRealTime(); // reloads: nothing more is said
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_NE(reporter.messages[0].find(iniPath), std::string::npos);
        EXPECT_NE(reporter.messages[0].find(aside), std::string::npos);
        EXPECT_EQ(FileText(iniPath), c.bytes);

        doc.State().settings.grid = 2;
        EXPECT_TRUE(doc.Close());
        EXPECT_EQ(FileText(aside), c.bytes);
        EXPECT_NE(FileText(iniPath).find("Grid=2"), std::string::npos);
        EXPECT_EQ(reporter.messages.size(), 1u);
    }
}

TEST_F(SettingsFaultsTest, Utf16WithAByteOrderMarkIsRead)
{
    for (const bool bigEndian : {false, true}) {
        WriteText(iniPath,
            (bigEndian ? "\xFE\xFF" : "\xFF\xFE")
                + Utf16("[System Settings]\r\nGrid=0\r\nZoom=0.5\r\n", bigEndian));
        CVelmarisDoc doc {ui, Links(), reporter, clock};
        doc.Initialise(Setup());
        EXPECT_EQ(doc.State().settings.grid, 0) << bigEndian;
        EXPECT_EQ(doc.State().settings.zoom, 0.5) << bigEndian;
    }
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(SettingsFaultsTest, AFailedSaveIsReportedOnce)
{
    const std::string unreachable = folder / "no-such-folder/Velmaris.INI";
    CVelmarisDoc doc {ui, Links(), reporter, clock};
    doc.Initialise(DocumentSetup {unreachable, folder / "", 14040, 15040});
    EXPECT_FALSE(doc.SaveSettings());
    EXPECT_FALSE(doc.Close());
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_NE(reporter.messages[0].find(unreachable), std::string::npos);
}

// Without the operator's settings the defaults (COM1, the machine's first
// serial port; 192.168.0.5) are never contacted: the station waits for the
// head's port or address, and says so.
TEST_F(SettingsFaultsTest, WithoutSettingsNoDefaultPortOrAddressIsContacted)
{
    const struct {
        const char* name;
        std::optional<std::string> ini;
        SonarType sonarType;
    } cases[] = {
        {"no file, serial head", std::nullopt, SonarType::SerialK52A},
        {"no file, Ethernet head", std::nullopt, SonarType::EthernetK52L},
        {"unreadable file", kUnreadable[0].bytes, SonarType::SerialK52A},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(iniPath);
        if (c.ini)
            WriteText(iniPath, *c.ini);
        serial.opens.clear();
        tcp.connects.clear();
        timers.armed.clear();
        CVelmarisDoc doc {ui, Links(), reporter, clock};
        timers.events = &doc.Events();
        doc.Initialise(Setup());
        doc.Cycle().StartRealTime();
        doc.State().settings.sonarType = c.sonarType;
        doc.SaveSettings(); // the station's own defaults are no choice
        EXPECT_EQ(FileText(iniPath).find("SonarComPort="), std::string::npos);
        EXPECT_EQ(FileText(iniPath).find("IP Address="), std::string::npos);
        doc.Cycle().StartRealTime();
        timers.Fire(kWatchdogTimer);
        EXPECT_TRUE(serial.opens.empty());
        EXPECT_TRUE(tcp.connects.empty());
        EXPECT_FALSE(timers.Armed(kWatchdogTimer));
        EXPECT_FALSE(doc.Cycle().HeadChosen());
        EXPECT_NE(HeadNotChosenStatus(c.sonarType)
                      .find(c.sonarType == SonarType::SerialK52A ? "Choose COM Ports" : "IP Address"),
            std::string::npos);

        // Connect asks for the head first; the choice connects.
        RecordingHooks hooks;
        DocumentCommands commands {doc, hooks};
        ComPortChoice choice;
        choice.sonarPort = 1; // the default port, chosen on purpose
        hooks.portAnswer = choice;
        hooks.ipAddress = "127.0.0.1";
        commands.Execute(cmd::kConnect);
        EXPECT_TRUE(doc.Cycle().HeadChosen());
        // Saved now as the operator's choice: the next run connects at once.
        EXPECT_NE(FileText(iniPath).find(
                      c.sonarType == SonarType::SerialK52A ? "SonarComPort=1" : "IP Address=127.0.0.1"),
            std::string::npos);
        if (c.sonarType == SonarType::SerialK52A) {
            ASSERT_FALSE(serial.opens.empty());
            EXPECT_EQ(serial.opens.back().port, 1);
        } else {
            ASSERT_FALSE(tcp.connects.empty());
            EXPECT_EQ(tcp.connects.back().first, "127.0.0.1");
        }
        doc.Close();
    }
}

} // namespace
} // namespace velmaris
