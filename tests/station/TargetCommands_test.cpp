// "Export Targets...": grey while no target was measured, the save dialog it
// asks, the CSV it writes (atomically), and a failed write reported.

#include "CommandsFixture.h"

#include "station/ChartFiles.h"
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

namespace velmaris {
namespace {

// Takes the waypoints instead of writing a chart.
class FakeChartWriter final : public ChartWriter {
public:
    bool WriteWaypoints(const std::string& path, ChartFormat format, const std::vector<Waypoint>& waypoints,
        std::string& error) const override
    {
        calls.push_back({path, format, waypoints.size()});
        error = "disk full";
        return !fail;
    }
    bool WriteTrack(
        const std::string&, ChartFormat, const std::vector<TrackPoint>&, std::string&) const override
    {
        return false;
    }
    struct Call {
        std::string path;
        ChartFormat format;
        std::size_t waypoints;
    };
    mutable std::vector<Call> calls;
    bool fail = false;
};

class ExportChartsTest : public ExportTargetsTest {
protected:
    ExportChartsTest() { hooks.charts = &writer; }
    void AddPlacedTarget()
    {
        AddTarget(1.0);
        doc.Targets().back().places = TargetPlaces {{59.1, 10.1}, {59.2, 10.2}, {59.3, 10.3}};
    }
    FakeChartWriter writer;
};

TEST_F(ExportChartsTest, TheExtensionChosenPicksTheFormat)
{
    AddPlacedTarget();
    AddTarget(2.0); // without a position: on no chart, in the CSV
    AddPlacedTarget();
    const struct {
        const char* name;
        std::optional<ChartFormat> chart; // nullopt: the CSV as without charts
    } cases[] = {
        {"t.gpx", ChartFormat::Gpx},
        {"t.GeoJSON", ChartFormat::GeoJson},
        {"t.kml", ChartFormat::Kml},
        {"t.csv", std::nullopt},
        {"t.txt", std::nullopt},
    };
    for (const auto& c : cases) {
        writer.calls.clear();
        const std::string path = folder / c.name;
        dialogs.saveAnswers = {path};
        commands.Execute(cmd::kExportTargets);
        EXPECT_EQ(dialogs.saves.back().moreFilters.size(), 3u) << "GeoJSON, KML and GPX are offered";
        if (c.chart) {
            ASSERT_EQ(writer.calls.size(), 1u) << c.name;
            EXPECT_EQ(writer.calls[0].path, path);
            EXPECT_EQ(writer.calls[0].format, *c.chart) << c.name;
            EXPECT_EQ(writer.calls[0].waypoints, 2u) << "the targets with positions";
        } else {
            EXPECT_TRUE(writer.calls.empty()) << c.name;
            EXPECT_EQ(ReadFile(path), TargetsCsv(doc.Targets())) << c.name;
        }
    }
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(ExportChartsTest, NoPositionOrAFailedWriteIsReported)
{
    AddTarget(1.0);
    dialogs.saveAnswers = {folder / "t.gpx"};
    commands.Execute(cmd::kExportTargets);
    EXPECT_TRUE(writer.calls.empty());
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0],
        "Can't export the targets to " + std::string(folder / "t.gpx") + ": no target has a position");

    AddPlacedTarget();
    writer.fail = true;
    reporter.messages.clear();
    dialogs.saveAnswers = {folder / "t.kml"};
    commands.Execute(cmd::kExportTargets);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(
        reporter.messages[0], "Can't export the targets to " + std::string(folder / "t.kml") + ": disk full");
}

TEST_F(ExportTargetsTest, WithoutAChartWriterOnlyCsvIsOffered)
{
    AddTarget(1.0);
    commands.Execute(cmd::kExportTargets);
    ASSERT_EQ(dialogs.saves.size(), 1u);
    EXPECT_TRUE(dialogs.saves[0].moreFilters.empty());
}

} // namespace
} // namespace velmaris
