// Charts read back by GDAL's own ogrinfo: target waypoints from the chart
// writer, and the tool's track and export --csv of a synthetic recording
// with its track.
#include "ToolRunner.h"

#include "station/ChartFiles.h"
#include "station/GisModule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace velmaris {
namespace {

using namespace velmaris::testing;
namespace fs = std::filesystem;

constexpr double kMetresPerDegree = 111'320.0;

class ChartExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!GisModuleFound())
            GTEST_SKIP() << "this build has no GDAL module";
        char pattern[] = "/tmp/velmaris-charts-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        if (!dir.empty())
            fs::remove_all(dir);
    }

    // Every point of the geometries ogrinfo reads in `layer` ("" for all).
    static std::vector<GeoPoint> OgrPoints(const std::string& path, const std::string& layer)
    {
        const ToolRun run = Ogrinfo(path, layer);
        std::vector<GeoPoint> points;
        const std::regex geometry(R"((POINT|LINESTRING)(?: Z)? \(([^)]*)\))");
        for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), geometry);
             it != std::sregex_iterator(); ++it) {
            std::istringstream pairs((*it)[2].str());
            for (std::string pair; std::getline(pairs, pair, ',');) {
                GeoPoint p;
                std::istringstream(pair) >> p.longitude >> p.latitude;
                points.push_back(p);
            }
        }
        return points;
    }
    static ToolRun Ogrinfo(const std::string& path, const std::string& layer)
    {
        ToolRun run;
        const std::string command = "ogrinfo -ro -q " + (layer.empty() ? std::string("-al ") : "")
            + Quote(path) + " " + layer + " 2>/dev/null";
        std::FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            run.out.append(buffer, n);
        run.exitCode = pipe != nullptr ? pclose(pipe) : -1;
        return run;
    }
    static void ExpectSamePlaces(
        const std::vector<GeoPoint>& read, const std::vector<GeoPoint>& written, const std::string& what)
    {
        ASSERT_EQ(read.size(), written.size()) << what;
        for (std::size_t i = 0; i < read.size(); ++i) {
            const double cosine = std::cos(written[i].latitude * 3.14159265358979 / 180.0);
            EXPECT_LT(std::fabs(read[i].latitude - written[i].latitude) * kMetresPerDegree, 0.1)
                << what << " " << i;
            EXPECT_LT(std::fabs(read[i].longitude - written[i].longitude) * kMetresPerDegree * cosine, 0.1)
                << what << " " << i;
        }
    }

    fs::path dir;
};

TEST_F(ChartExportTest, TargetWaypointsAreWhereTheyWereMeasured)
{
    std::vector<MeasuredTarget> targets(3);
    const std::vector<GeoPoint> middles {{59.4301234, 10.5512345}, {-33.9, 151.2}, {0.0000005, -179.9999995}};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        targets[i].pingDate = "09-DEC-2026";
        targets[i].pingTime = "18:44:3" + std::to_string(i);
        targets[i].size = 1.5;
        const TargetPlace m {middles[i].latitude, middles[i].longitude};
        targets[i].places = TargetPlaces {m, m, m};
    }
    targets.insert(targets.begin() + 1, MeasuredTarget {}); // no position: on no chart
    const std::vector<Waypoint> waypoints = TargetWaypoints(targets);
    ASSERT_EQ(waypoints.size(), 3u);
    EXPECT_EQ(waypoints[1].name, "Target 3") << "named by the place in the run's list";

    const struct {
        const char* name;
        ChartFormat format;
        const char* layer;
    } cases[] = {
        {"targets.geojson", ChartFormat::GeoJson, ""},
        {"targets.kml", ChartFormat::Kml, ""},
        {"targets.gpx", ChartFormat::Gpx, "waypoints"},
    };
    for (const auto& c : cases) {
        const std::string path = (dir / c.name).string();
        std::string error;
        ASSERT_TRUE(ModuleChartWriter().WriteWaypoints(path, c.format, waypoints, error))
            << c.name << ": " << error;
        EXPECT_FALSE(fs::exists(path + ".part")) << c.name;
        ExpectSamePlaces(OgrPoints(path, c.layer), middles, c.name);
        EXPECT_NE(Ogrinfo(path, c.layer).out.find("Target 3"), std::string::npos) << c.name;
    }
    std::string error;
    EXPECT_FALSE(ModuleChartWriter().WriteWaypoints(
        (dir / "none" / "t.kml").string(), ChartFormat::Kml, waypoints, error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ChartExportTest, TrackAndExportOfARecordingWithItsTrack)
{
    const std::string data = (dir / "survey.52l").string();
    ASSERT_EQ(RunTool("synth " + Quote(data) + " --pings 300 --range 20 --track").exitCode, 0);
    ASSERT_TRUE(fs::exists(data + ".nmea"));

    const ToolRun csv = RunTool("track " + Quote(data));
    ASSERT_EQ(csv.exitCode, 0);
    std::vector<GeoPoint> fixes;
    std::istringstream rows(csv.out);
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "time,latitude,longitude\r");
    while (std::getline(rows, row)) {
        std::istringstream fields(row);
        std::string time, lat, lon;
        std::getline(fields, time, ',');
        std::getline(fields, lat, ',');
        std::getline(fields, lon, ',');
        EXPECT_TRUE(std::regex_match(time, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d\dZ)"))) << time;
        fixes.push_back({std::stod(lat), std::stod(lon)});
    }
    ASSERT_GT(fixes.size(), 5u);

    const struct {
        const char* name;
        const char* layer;
    } cases[] = {{"track.gpx", "track_points"}, {"track.geojson", ""}, {"track.kml", ""}};
    for (const auto& c : cases) {
        const std::string out = (dir / c.name).string();
        ASSERT_EQ(RunTool("track " + Quote(data) + " --out " + Quote(out)).exitCode, 0) << c.name;
        ExpectSamePlaces(OgrPoints(out, c.layer), fixes, c.name);
    }
    EXPECT_EQ(RunTool("track " + Quote(data) + " --out t.shp").exitCode, 2) << "an unknown extension";
    EXPECT_EQ(RunTool("track " + Quote((dir / "none.52l").string())).exitCode, 1) << "no track";

    // export --csv: the head's place and the heading after the profile range.
    const ToolRun exported = RunTool("export " + Quote(data) + " --csv -");
    ASSERT_EQ(exported.exitCode, 0);
    std::istringstream lines(exported.out);
    std::getline(lines, row);
    EXPECT_NE(row.find("profile range (m),latitude,longitude,heading (degrees)"), std::string::npos) << row;
    int placed = 0, pings = 0;
    const std::regex placedRow(R"(.*,5\d\.\d{7},\d+\.\d{7},\d+\.\d\r)");
    while (std::getline(lines, row)) {
        ++pings;
        placed += std::regex_match(row, placedRow) ? 1 : 0;
    }
    EXPECT_EQ(pings, 300);
    EXPECT_GT(placed, 290) << "every ping inside the track has a place and a heading";

    fs::remove(data + ".nmea");
    const ToolRun plain = RunTool("export " + Quote(data) + " --csv -");
    EXPECT_EQ(plain.out.find("latitude"), std::string::npos) << "no track: the columns as they always were";
}

} // namespace
} // namespace velmaris
