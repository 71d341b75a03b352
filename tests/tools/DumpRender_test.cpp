#include "support/RecordFixture.h"
#include "tools/ToolRunner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace velmaris {
namespace {

using namespace velmaris::testing;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(ToolDump, OneJsonLinePerRecordWithDecodedFields)
{
    TempFolder dir("tool-dump");
    std::vector<std::uint8_t> bytes;
    Append(bytes, MakeRecord(PingSpec {.kind = "IMX", .headPosition = 700, .range = 20}, "52L"));
    auto bad = MakeRecord(PingSpec {}, "52L");
    bad[101] = 'Q'; // not a reply kind
    Append(bytes, bad);
    WriteBytes(dir / "d.52l", bytes);

    const ToolRun run = RunTool("dump " + Quote((dir / "d.52l").string()));
    ASSERT_EQ(run.exitCode, 0);
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("{\"offset\":0,\"tag\":\"52L\",\"record_length\":384,\"reply_length\":265,"
                             "\"date\":\"07-DEC-2026\",\"time\":\"14:30:05\",\"hundredths\":\".25\","
                             "\"valid\":true,\"kind\":\"IMX\",\"echo_count\":250,",
                  0),
        0u)
        << lines[0];
    EXPECT_NE(lines[0].find("\"head_position\":700,\"head_angle\":30,\"range\":20,"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[0].find("\"sound_velocity\":1500,\"loop_time\":85,\"rotate\":0}"), std::string::npos)
        << lines[0];
    EXPECT_EQ(lines[1],
        "{\"offset\":384,\"tag\":\"52L\",\"record_length\":640,\"reply_length\":513,"
        "\"date\":\"07-DEC-2026\",\"time\":\"14:30:05\",\"hundredths\":\".25\",\"valid\":false}");
}

TEST(ToolDump, ZeroDownFromTheIniTurnsTheHeadAngle)
{
    TempFolder dir("tool-dump-ini");
    WriteBytes(dir / "d.52a", MakeRecord(PingSpec {.headPosition = 600}));
    std::ofstream(dir / "v.ini") << "[System Settings]\r\nZero Down=1\r\n";
    const ToolRun run
        = RunTool("dump " + Quote((dir / "d.52a").string()) + " --ini " + Quote((dir / "v.ini").string()));
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("\"head_angle\":180,"), std::string::npos) << run.out;
}

TEST(ToolDump, UsageAndFileErrors)
{
    TempFolder dir("tool-errors");
    EXPECT_EQ(RunTool("dump").exitCode, 2);
    EXPECT_EQ(RunTool("dump a.52a --bogus").exitCode, 2);
    EXPECT_EQ(RunTool("render a.52a").exitCode, 2); // no --out
    EXPECT_EQ(RunTool("render a.52a --out x.xyz").exitCode, 2);
    EXPECT_EQ(RunTool("nonsense").exitCode, 2);
    EXPECT_EQ(RunTool("--version").exitCode, 0);

    const std::string err = (dir / "err.txt").string();
    EXPECT_EQ(RunTool("dump " + Quote((dir / "x.txt").string()), err).exitCode, 1);
    EXPECT_EQ(ReadAll(err), "ERROR: Application can not recognize this file type!\n");
    WriteBytes(dir / "short.52a", std::vector<std::uint8_t>(99, '5'));
    EXPECT_EQ(RunTool("dump " + Quote((dir / "short.52a").string()), err).exitCode, 1);
    EXPECT_EQ(ReadAll(err), "File has no data!!!  \n");
}

TEST(ToolRender, RawPgmAndPictures)
{
    TempFolder dir("tool-render");
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 40; ++i)
        Append(bytes,
            MakeRecord(PingSpec {.headPosition = 550 + 3 * i, .echo = static_cast<std::uint8_t>(20 + i)}));
    WriteBytes(dir / "r.52a", bytes);
    const std::string in = Quote((dir / "r.52a").string());

    ASSERT_EQ(RunTool("render " + in + " --raw --out " + Quote((dir / "r.pgm").string())).exitCode, 0);
    const std::string pgm = ReadAll(dir / "r.pgm");
    const std::string header = "P5\n4000 4000\n255\n";
    ASSERT_EQ(pgm.size(), header.size() + 16000000u);
    EXPECT_EQ(pgm.substr(0, header.size()), header);
    // The fan points up from the origin (500, 500) at zoom 1: pixels just above it are painted.
    EXPECT_NE(pgm[header.size() + 400 * 4000 + 500], 0);
    EXPECT_EQ(pgm[header.size() + 600 * 4000 + 500], 0);

    for (const char* ext : {"png", "gif", "bmp", "jpg", "tif"}) {
        const auto out = dir / (std::string("r.") + ext);
        EXPECT_EQ(RunTool("render " + in + " --out " + Quote(out.string())).exitCode, 0) << ext;
        EXPECT_GT(std::filesystem::file_size(out), 1000u) << ext;
    }
    EXPECT_EQ(ReadAll(dir / "r.png").substr(1, 3), "PNG");

    // A crop is the same bytes as the rectangle of the whole raster.
    ASSERT_EQ(RunTool("render " + in + " --raw --crop 490,380,20,30 --out " + Quote((dir / "c.pgm").string()))
                  .exitCode,
        0);
    const std::string crop = ReadAll(dir / "c.pgm");
    const std::string cropHeader = "P5\n20 30\n255\n";
    ASSERT_EQ(crop.size(), cropHeader.size() + 600u);
    EXPECT_EQ(crop.substr(0, cropHeader.size()), cropHeader);
    for (int row = 0; row < 30; ++row)
        EXPECT_EQ(crop.substr(cropHeader.size() + 20 * row, 20),
            pgm.substr(header.size() + (380 + row) * 4000 + 490, 20));
    EXPECT_EQ(RunTool("render " + in + " --raw --crop 3990,0,20,30 --out x.pgm").exitCode, 2);
    EXPECT_EQ(ReadAll(dir / "r.gif").substr(0, 6), "GIF87a");
}

TEST(ToolDamagedFiles, DumpAndRenderFinishCleanly)
{
    TempFolder dir("tool-damage");
    std::vector<std::uint8_t> bytes;
    auto zero = MakeRecord(PingSpec {});
    zero[4] = zero[5] = 0;
    Append(bytes, zero);
    Append(bytes, MakeRecord(PingSpec {}));
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i)
        bytes.push_back(static_cast<std::uint8_t>(random()));
    auto truncated = MakeRecord(PingSpec {});
    truncated.resize(300);
    Append(bytes, truncated);
    WriteBytes(dir / "bad.52a", bytes);
    const std::string err = (dir / "err.txt").string();
    const ToolRun dump = RunTool("dump " + Quote((dir / "bad.52a").string()), err);
    EXPECT_EQ(dump.exitCode, 0);
    EXPECT_EQ(Lines(dump.out).size(), 1u); // only the whole record between the damage
    EXPECT_NE(ReadAll(err).find("damaged record at offset 0"), std::string::npos);
    EXPECT_EQ(RunTool("render " + Quote((dir / "bad.52a").string()) + " --raw --out "
                  + Quote((dir / "bad.pgm").string()))
                  .exitCode,
        0);
}

} // namespace
} // namespace velmaris
