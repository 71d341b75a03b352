// "Export Targets...": grey while no target was measured, the save dialog it
// asks, the CSV it writes (atomically), and a failed write reported.

#include "CommandsFixture.h"

#include "station/CommandIds.h"
#include "station/TargetCommands.h"
#include "support/PlaybackRig.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace velmaris {
namespace {

using namespace velmaris::testing;
namespace fs = std::filesystem;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ExportTargetsTest : public CommandsTest {
protected:
    ExportTargetsTest()
    {
        doc.SetFileWindows(&dialogs, nullptr);
        Settings().writeFileDirectory = folder / "";
        filesBefore = FilesInFolder();
    }
    ~ExportTargetsTest() override { doc.SetFileWindows(nullptr, nullptr); }

    void AddTarget(double size)
    {
        MeasuredTarget target;
        target.measuredAt = "2026-12-09 10:00:00";
        target.pingDate = "09-DEC-2026";
        target.pingTime = "09:59:58";
        target.anchorRange = 3.0;
        target.anchorBearing = 10.0;
        target.endRange = 4.0;
        target.endBearing = 20.0;
        target.size = size;
        doc.Targets().push_back(target);
    }
    std::size_t FilesInFolder() const
    {
        std::size_t n = 0;
        for (const auto& entry : fs::directory_iterator(fs::path(folder / "")))
            n += entry.is_regular_file() ? 1 : 0;
        return n;
    }

    FakeFileDialogs dialogs;
    std::size_t filesBefore = 0;
};

TEST_F(ExportTargetsTest, GreyUntilATargetIsMeasured)
{
    EXPECT_FALSE(commands.IsEnabled(cmd::kExportTargets));
    EXPECT_FALSE(commands.IsChecked(cmd::kExportTargets));
    commands.Execute(cmd::kExportTargets);
    EXPECT_TRUE(dialogs.saves.empty()) << "a grey command asks nothing";

    const int told = observer.count;
    AddTarget(1.0);
    doc.NotifyStateChange(); // what the shell does after each measurement
    EXPECT_TRUE(commands.IsEnabled(cmd::kExportTargets));
    EXPECT_EQ(observer.count, told + 1) << "the frame hears that the item turned on";
    // Live, UDP and playback alike: the list belongs to the run.
    GoPlayback();
    EXPECT_TRUE(commands.IsEnabled(cmd::kExportTargets));
}

TEST_F(ExportTargetsTest, WritesTheListAsCsvWhereTheOperatorChose)
{
    AddTarget(1.0);
    AddTarget(2.5);
    const std::string path = folder / "targets.csv";
    std::ofstream(path) << "an older export\n";
    dialogs.saveAnswers = {path};
    commands.Execute(cmd::kExportTargets);

    ASSERT_EQ(dialogs.saves.size(), 1u);
    const SaveDialogRequest& asked = dialogs.saves[0];
    EXPECT_EQ(asked.title, "Export Targets As:");
    EXPECT_EQ(asked.initialFolder, folder / "");
    EXPECT_EQ(asked.fileName, folder / "Targets.csv");
    EXPECT_EQ(asked.filterPattern, "*.csv");
    EXPECT_EQ(asked.defaultExtension, "csv");
    EXPECT_TRUE(asked.overwritePrompt);
    EXPECT_EQ(ReadFile(path), TargetsCsv(doc.Targets()));
    EXPECT_NE(ReadFile(path).find(",2.50,8.20\r\n"), std::string::npos);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(FilesInFolder(), filesBefore + 1) << "the export alone: no temporary file is left";
    EXPECT_EQ(doc.Targets().size(), 2u) << "exporting keeps the list";

    // Nothing of the list goes into the settings file.
    ASSERT_TRUE(doc.SaveSettings());
    EXPECT_EQ(ReadFile(iniPath).find("09:59:58"), std::string::npos);
    EXPECT_EQ(ReadFile(iniPath).find("arget"), std::string::npos);
}

TEST_F(ExportTargetsTest, CancelWritesNothing)
{
    AddTarget(1.0);
    commands.Execute(cmd::kExportTargets);
    EXPECT_EQ(dialogs.saves.size(), 1u);
    EXPECT_EQ(FilesInFolder(), filesBefore);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(ExportTargetsTest, AFailedWriteIsReportedAndLeavesNothingBehind)
{
    AddTarget(1.0);
    fs::create_directories(folder / "a folder");
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {folder / "missing/targets.csv", "No such file or directory"},
        {folder / "a folder", "Is a directory"},
    };
    for (const auto& c : cases) {
        reporter.messages.clear();
        dialogs.saveAnswers = {c.path};
        commands.Execute(cmd::kExportTargets);
        ASSERT_EQ(reporter.messages.size(), 1u) << c.path;
        const std::string prefix = "Can't export the targets to " + c.path + ": ";
        ASSERT_GT(reporter.messages[0].size(), prefix.size()) << "the cause follows the path";
        EXPECT_EQ(reporter.messages[0].substr(0, prefix.size()), prefix);
#ifndef _WIN32 // Windows words its causes its own way
        EXPECT_EQ(reporter.messages[0].substr(prefix.size()), c.reason);
#endif
        EXPECT_EQ(FilesInFolder(), filesBefore) << "no partial or temporary file";
    }
    EXPECT_TRUE(fs::is_directory(folder / "a folder"));
}

} // namespace
} // namespace velmaris
