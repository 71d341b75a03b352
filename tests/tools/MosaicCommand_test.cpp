// Mosaics of the simulated boat's survey, read back by GDAL's own tools
// (gdalinfo, gdaltransform, gdal_translate), never by the writer's code:
// each isolated scene target's brightest cluster lies where the target is,
// in the expected UTM zone, with no data outside the covered area; the KMZ
// covers the track; a long recording mosaics in bounded memory.
#include "ToolRunner.h"
#include "support/ChildProcess.h"

#include "image/SonarBitmap.h"
#include "links/Navigation.h"
#include "sim/Geodesy.h"
#include "sim/SceneLayout.h"
#include "station/GisModule.h"
#include "station/MosaicSurvey.h"

#include <gtest/gtest.h>

#include <algorithm>
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

constexpr double kStartLat = 59.43;
constexpr double kStartLon = 10.55;

std::string Shell(const std::string& command)
{
    std::string out;
    std::FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    if (pipe != nullptr)
        pclose(pipe);
    return out;
}

// What gdalinfo -json and gdal_translate say of a mosaic.
struct Raster {
    int width = 0, height = 0;
    double transform[6] {};
    std::string info; // gdalinfo -json
    std::vector<std::uint8_t> cells;

    int At(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height ? cells[std::size_t(y) * width + x] : 255;
    }
};

Raster ReadRaster(const fs::path& path, const fs::path& dir)
{
    Raster r;
    r.info = Shell("gdalinfo -json " + Quote(path.string()) + " 2>/dev/null");
    std::smatch m;
    if (std::regex_search(r.info, m, std::regex(R"("size":\s*\[\s*(\d+),\s*(\d+))"))) {
        r.width = std::stoi(m[1]);
        r.height = std::stoi(m[2]);
    }
    if (std::regex_search(r.info, m, std::regex(R"("geoTransform":\s*\[([^\]]*)\])"))) {
        std::istringstream values(std::regex_replace(m[1].str(), std::regex(","), " "));
        for (double& v : r.transform)
            values >> v;
    }
    const fs::path raw = dir / "cells.bil";
    Shell("gdal_translate -q -of EHdr " + Quote(path.string()) + " " + Quote(raw.string()) + " 2>/dev/null");
    std::ifstream in(raw, std::ios::binary);
    r.cells.assign(std::istreambuf_iterator<char>(in), {});
    return r;
}

struct Place {
    double x, y; // cells from the raster's north-west corner
};

// WGS84 points to cells through gdaltransform and the raster's transform.
std::vector<Place> CellsOf(
    const Raster& r, int epsg, const std::vector<sim::GeoPoint>& points, const fs::path& dir)
{
    const fs::path list = dir / "points.txt";
    {
        std::ofstream out(list);
        out.precision(12);
        for (const sim::GeoPoint& p : points)
            out << p.longitude << ' ' << p.latitude << '\n';
    }
    std::istringstream lines(Shell("gdaltransform -s_srs EPSG:4326 -t_srs EPSG:" + std::to_string(epsg)
        + " < " + Quote(list.string()) + " 2>/dev/null"));
    std::vector<Place> places;
    for (double e, n, z; lines >> e >> n >> z;)
        places.push_back({(e - r.transform[0]) / r.transform[1], (n - r.transform[3]) / r.transform[5]});
    return places;
}

// The brightest 3 x 3 cluster within `reach` cells of `near`: its centre.
Place BrightestCluster(const Raster& r, Place near, int reach)
{
    double best = -1;
    Place at {near};
    for (int y = int(near.y) - reach; y <= int(near.y) + reach; ++y)
        for (int x = int(near.x) - reach; x <= int(near.x) + reach; ++x) {
            double sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += r.At(x + dx, y + dy) == 255 ? 0 : r.At(x + dx, y + dy);
            if (sum > best) {
                best = sum;
                at = {x + 0.5, y + 0.5};
            }
        }
    return at;
}

class MosaicCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!GisModuleFound())
            GTEST_SKIP() << "this build has no GDAL module";
        char pattern[] = "/tmp/velmaris-mosaic-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        if (!dir.empty())
            fs::remove_all(dir);
    }
    fs::path dir;
};

TEST_F(MosaicCommandTest, PutsEachSceneTargetWhereItIs)
{
    struct Case {
        const char* mode;
        const char* options;
        double cell;
    };
    // Three lines 20 m apart and 200 m long; the floor lies some 5 m below.
    const Case cases[] = {
        {"polar", "--pings 12000 --range 30", 0.75},
        {"sidescan", "--pings 30000 --range 30", 0.75},
    };
    for (const Case& c : cases) {
        const std::string data = (dir / (std::string(c.mode) + ".52l")).string();
        const std::string tif = (dir / (std::string(c.mode) + ".tif")).string();
        ASSERT_EQ(RunTool("synth " + Quote(data) + " --mode " + c.mode + " " + c.options
                      + " --track --gps-rate 5 --lines 3 --line-length 200 --line-spacing 20")
                      .exitCode,
            0);
        const ToolRun run = RunTool("mosaic " + Quote(data) + " --out " + Quote(tif) + " --altitude 5 --cell "
            + std::to_string(c.cell));
        ASSERT_EQ(run.exitCode, 0) << c.mode;
        EXPECT_NE(run.out.find("UTM zone 32N (EPSG:32632)"), std::string::npos) << run.out;

        const Raster r = ReadRaster(tif, dir);
        ASSERT_GT(r.width, 100) << c.mode;
        ASSERT_EQ(r.cells.size(), std::size_t(r.width) * r.height) << c.mode;
        EXPECT_NE(r.info.find(R"(EPSG\",32632]])"), std::string::npos) << c.mode << ": UTM zone 32N";
        EXPECT_NE(r.info.find(R"("noDataValue":255)"), std::string::npos) << c.mode;
        EXPECT_NEAR(r.transform[1], c.cell, 1e-9);
        EXPECT_NEAR(r.transform[5], -c.cell, 1e-9);
        // The station's colours, entry by entry.
        const CSonarBitmap colours;
        const ColorTable& table = colours.Table(0);
        std::smatch entry;
        ASSERT_TRUE(std::regex_search(
            r.info, entry, std::regex(R"("entries":\s*\[\s*\[[^\]]*\],\s*\[\s*(\d+),\s*(\d+),\s*(\d+))")));
        EXPECT_EQ(std::stoi(entry[1]), table[1].red);
        EXPECT_EQ(std::stoi(entry[2]), table[1].green);
        EXPECT_EQ(std::stoi(entry[3]), table[1].blue);

        // No data at the corners, far off the track; echoes stop at 117.
        EXPECT_EQ(r.At(0, 0), 255);
        EXPECT_EQ(r.At(r.width - 1, r.height - 1), 255);
        EXPECT_EQ(
            std::count_if(r.cells.begin(), r.cells.end(), [](int v) { return v > 117 && v != 255; }), 0);

        // Targets abeam of the lines (not only glimpsed in a turn), alone
        // within 6 m and bright enough to stand out of the floor.
        std::vector<sim::SceneTarget> all;
        sim::SceneLayout(1).CollectTargets(-60, 100, -60, 220, all);
        std::vector<sim::SceneTarget> targets;
        std::vector<sim::GeoPoint> where;
        for (const auto& t : all) {
            const bool alone = std::none_of(all.begin(), all.end(), [&](const sim::SceneTarget& o) {
                const double d = std::hypot(o.x - t.x, o.y - t.y);
                return d > 0 && d < 6.0;
            });
            if (alone && t.strengthDb >= -10.0 && t.y > 5 && t.y < 195) {
                targets.push_back(t);
                where.push_back(sim::OffsetToGeo(sim::GeoPoint {kStartLat, kStartLon}, t.x, t.y));
            }
        }
        const std::vector<Place> cells = CellsOf(r, 32632, where, dir);
        ASSERT_EQ(cells.size(), targets.size());
        int checked = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const Place p = cells[i];
            if (r.At(int(p.x), int(p.y)) == 255)
                continue; // not covered
            ++checked;
            const Place found = BrightestCluster(r, p, 8);
            EXPECT_LE(std::hypot(found.x - p.x, found.y - p.y), 2.0)
                << c.mode << ": target at " << targets[i].x << ", " << targets[i].y << " found "
                << found.x - p.x << ", " << found.y - p.y << " cells off";
        }
        EXPECT_GE(checked, 3) << c.mode;
    }
}

// The placer transforms only a ping's ends and lays its samples on the
// chord between them: each sample still lands in the 5 cm cell that holds
// GDAL's own transform of its place, 170 km off the zone's central meridian
// and 200 m from the head.
TEST_F(MosaicCommandTest, SamplesLandWhereGdalTransformsTheirPlaces)
{
    std::string error;
    const UtmZone zone {32, true};
    const auto projection = ModuleMosaicWriter().Projection(zone, error);
    ASSERT_TRUE(projection) << error;
    MosaicPing ping;
    ping.navigation.hasPosition = ping.navigation.offsetApplied = true;
    ping.navigation.head = ping.navigation.antenna = GeoPoint {59.43, 11.9};
    ping.navigation.headingSource = HeadingSource::Heading;
    ping.navigation.heading = 37;
    ping.headBearing = 20;
    ping.ranges = LineSampleRanges {0.5, 2.0, 100};
    for (int k = 0; k < 100; ++k)
        ping.levels[std::size_t(k)] = std::uint8_t(k + 1);

    double e = ping.navigation.head.longitude, n = ping.navigation.head.latitude;
    ASSERT_TRUE(projection->Forward(&e, &n, 1));
    MosaicFrame frame {zone, std::floor(e) - 250, std::ceil(n) + 250, 0.05, 10'000, 10'000};
    MosaicGrid grid(frame.width, frame.height);
    MosaicPlacer placer(grid, frame, *projection, std::nullopt);
    placer.Add(ping);
    ASSERT_TRUE(placer.Flush());

    std::vector<Place> found(100, Place {-1, -1});
    std::vector<std::uint8_t> block(256 * 256);
    for (int y = 0; y < frame.height; y += 256)
        for (int x = 0; x < frame.width; x += 256)
            if (grid.ReadBlock(x, y, 256, 256, block.data()))
                for (int i = 0; i < 256 * 256; ++i)
                    if (block[std::size_t(i)] != MosaicCells::kNoData)
                        found[block[std::size_t(i)] - 1u] = Place {double(x + i % 256), double(y + i / 256)};

    std::vector<sim::GeoPoint> places;
    for (int k = 0; k < 100; ++k) {
        const GeoPoint p = Destination(ping.navigation.head, 57, 0.5 + 2.0 * k);
        places.push_back({p.latitude, p.longitude});
    }
    Raster r;
    r.transform[0] = frame.west;
    r.transform[1] = frame.cell;
    r.transform[3] = frame.north;
    r.transform[5] = -frame.cell;
    const std::vector<Place> expected = CellsOf(r, zone.Epsg(), places, dir);
    ASSERT_EQ(expected.size(), 100u);
    for (int k = 0; k < 100; ++k) {
        // Within the cell, give or take a millimetre (a fiftieth of a cell).
        EXPECT_GT(expected[k].x, found[k].x - 0.02) << k;
        EXPECT_LT(expected[k].x, found[k].x + 1.02) << k;
        EXPECT_GT(expected[k].y, found[k].y - 0.02) << k;
        EXPECT_LT(expected[k].y, found[k].y + 1.02) << k;
    }
}

TEST_F(MosaicCommandTest, KmzCoversTheTrackAndARecordingWithoutTrackIsRefused)
{
    const std::string data = (dir / "survey.52l").string();
    const std::string kmz = (dir / "survey.kmz").string();
    ASSERT_EQ(RunTool("synth " + Quote(data) + " --pings 3000 --range 20 --track").exitCode, 0);
    ASSERT_EQ(RunTool("mosaic " + Quote(data) + " --out " + Quote(kmz) + " --cell 0.5").exitCode, 0);
    EXPECT_FALSE(fs::exists(dir / "survey.part.kmz"));
    const std::string info = Shell("gdalinfo -json " + Quote(kmz) + " 2>/dev/null");
    EXPECT_NE(info.find("KMLSUPEROVERLAY"), std::string::npos);
    EXPECT_NE(info.find(R"(EPSG\",4326]])"), std::string::npos) << "WGS84";
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m,
        std::regex(
            R"("wgs84Extent":[^\[]*\[\s*\[\s*\[\s*([-\d.]+),\s*([-\d.]+)\s*\],\s*\[[^\]]*\],\s*\[\s*([-\d.]+),\s*([-\d.]+))")));
    const double west = std::stod(m[1]), north = std::stod(m[2]), east = std::stod(m[3]),
                 south = std::stod(m[4]);
    std::ifstream in(data + ".nmea");
    const NavigationTrack track
        = NavigationTrack::FromText(std::string(std::istreambuf_iterator<char>(in), {}));
    ASSERT_GT(track.Fixes().size(), 100u);
    int inside = 0;
    for (const TrackFix& fix : track.Fixes())
        inside += fix.position.longitude > west && fix.position.longitude < east
            && fix.position.latitude > south && fix.position.latitude < north;
    // The fixes a second before the first ping and after the last lie off the pings' reach.
    EXPECT_GE(inside, int(track.Fixes().size()) - 2) << west << " " << east << " " << south << " " << north;
    EXPECT_LT(east - west, 0.01) << "the overlay lies over the survey, not the world";

    // Without its track: refused, naming the file it looked for.
    fs::remove(data + ".nmea");
    const std::string err = (dir / "err.txt").string();
    EXPECT_EQ(RunTool("mosaic " + Quote(data) + " --out " + Quote(kmz), err).exitCode, 1);
    std::ifstream message(err);
    const std::string said(std::istreambuf_iterator<char>(message), {});
    EXPECT_NE(said.find("survey.52l.nmea"), std::string::npos) << said;
    EXPECT_EQ(RunTool("mosaic " + Quote(data) + " --out x.png").exitCode, 2) << "an unknown extension";
}

// A survey over the 180th meridian: one small GeoTIFF in the zone of its
// centre; a KMZ, whose box cannot cross the meridian, is refused saying so.
TEST_F(MosaicCommandTest, ASurveyAcrossThe180thMeridian)
{
    const std::string data = (dir / "dateline.52l").string();
    ASSERT_EQ(RunTool("synth " + Quote(data)
                  + " --pings 2000 --mode sidescan --track --start 60,179.999 --line-bearing 90")
                  .exitCode,
        0);
    const std::string tif = (dir / "dateline.tif").string();
    ASSERT_EQ(RunTool("mosaic " + Quote(data) + " --out " + Quote(tif) + " --cell 0.25").exitCode, 0);
    const std::string info = Shell("gdalinfo -json " + Quote(tif) + " 2>/dev/null");
    EXPECT_NE(info.find(R"(UTM zone 1N)"), std::string::npos);
    std::smatch size;
    ASSERT_TRUE(std::regex_search(info, size, std::regex(R"("size":\s*\[\s*(\d+),\s*(\d+))")));
    EXPECT_LT(std::stoi(size[1]) * 0.25, 1000.0) << "metres across, not the earth";

    const std::string kmz = (dir / "dateline.kmz").string();
    const std::string err = (dir / "err.txt").string();
    EXPECT_EQ(RunTool("mosaic " + Quote(data) + " --out " + Quote(kmz) + " --cell 0.25", err).exitCode, 1);
    std::ifstream message(err);
    const std::string said(std::istreambuf_iterator<char>(message), {});
    EXPECT_NE(said.find("180th meridian"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(kmz));
}

TEST_F(MosaicCommandTest, MemoryFollowsTheAreaNotTheLengthOfTheRecording)
{
    // The boat goes round two short lines: ten times the pings cover the same area.
    long peak[2] = {};
    const int pings[2] = {10'000, 100'000};
    for (int i = 0; i < 2; ++i) {
        const std::string data = (dir / ("loop" + std::to_string(i) + ".52l")).string();
        ASSERT_EQ(RunTool("synth " + Quote(data) + " --pings " + std::to_string(pings[i])
                      + " --mode sidescan --range 30 --track --lines 2 --line-length 40")
                      .exitCode,
            0);
        peak[i] = tool::test::PeakKilobytes("'" + ToolPath() + "' mosaic " + Quote(data) + " --out "
            + Quote((dir / "loop.tif").string()) + " >/dev/null 2>&1");
        ASSERT_GT(peak[i], 0) << pings[i] << " pings";
        fs::remove(data);
    }
    EXPECT_LT(peak[1], peak[0] + 16 * 1024) << "kilobytes at 10,000 and 100,000 pings";
    EXPECT_LT(peak[1], 400 * 1024);
}

} // namespace
} // namespace velmaris
