// velmaris-tool export: the columns against dump on the same file, RFC 4180
// quoting, the samples, and a damaged file.
#include "sim/SyntheticRecording.h"
#include "support/RecordFixture.h"
#include "tools/ToolRunner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace velmaris::tool {
namespace {

using namespace velmaris::testing;
using Row = std::vector<std::string>;

// An RFC 4180 reader, strict about what the writer promises: CR LF after
// every row, quotes only around whole fields.
std::vector<Row> ParseCsv(const std::string& text)
{
    std::vector<Row> rows;
    Row row;
    std::string field;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            for (++i; i < text.size(); ++i) {
                if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"')
                    field += text[++i];
                else if (text[i] == '"')
                    break;
                else
                    field += text[i];
            }
            ++i;
        } else {
            while (i < text.size() && text[i] != ',' && text[i] != '\r')
                field += text[i++];
        }
        row.push_back(field);
        field.clear();
        if (i < text.size() && text[i] == ',') {
            ++i;
        } else {
            EXPECT_EQ(text.compare(i, 2, "\r\n"), 0) << "row " << rows.size() << " ends without CR LF";
            i += 2;
            rows.push_back(row);
            row.clear();
        }
    }
    return rows;
}

// The value of `key` in one of dump's JSON lines, as it is written
// (strings without their quotes).
std::string JsonField(const std::string& line, const std::string& key)
{
    const std::size_t at = line.find("\"" + key + "\":");
    if (at == std::string::npos)
        return "<missing " + key + ">";
    std::size_t start = at + key.size() + 3;
    if (line[start] == '"')
        return line.substr(start + 1, line.find('"', start + 1) - start - 1);
    return line.substr(start, line.find_first_of(",}", start) - start);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

const Row kColumns {"index", "date", "time", "hundredths", "tag", "mode", "range (m)", "gain (dB)",
    "head angle (degrees)", "step", "train (degrees)", "sector width (degrees)", "sound velocity (m/s)",
    "profile range (m)"};

TEST(ExportCommand, ColumnsAgreeWithDumpOnTheSameFile)
{
    TempFolder dir("tool-export");
    const auto path = dir / "dive.52a";
    sim::SynthOptions synth;
    synth.pings = 120;
    std::string error;
    ASSERT_TRUE(sim::WriteSyntheticRecording(path.string(), synth, &error)) << error;
    // Then other modes, steps and widths, a short range (its profile value is
    // divided by 5) and a record whose reply does not decode.
    std::vector<std::uint8_t> bytes;
    Append(bytes,
        MakeRecord(
            PingSpec {.kind = "IMX", .range = 4, .mode = DisplayMode::Sector, .step = kStepSlow, .width = 30}));
    Append(bytes, MakeRecord(PingSpec {.range = 50, .mode = DisplayMode::SideScan, .step = kStepFastest}));
    auto bad = MakeRecord(PingSpec {});
    bad[100] = 'Q';
    Append(bytes, bad);
    Append(bytes, MakeRecord(PingSpec {.kind = "IPX", .headPosition = 900, .train = 30}));
    std::ofstream(path, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    const ToolRun dump = RunTool("dump " + Quote(path.string()));
    const ToolRun csv = RunTool("export " + Quote(path.string()) + " --csv -");
    ASSERT_EQ(dump.exitCode, 0);
    ASSERT_EQ(csv.exitCode, 0);
    const auto lines = Lines(dump.out);
    const auto rows = ParseCsv(csv.out);
    ASSERT_EQ(lines.size(), 124u);
    ASSERT_EQ(rows.size(), 1u + 123u) << "a header and every record but the one that does not decode";
    EXPECT_EQ(rows[0], kColumns);

    const std::map<std::string, std::string> modes {{"0", "Sector"}, {"1", "Polar"}, {"2", "SideScan"}};
    const std::map<std::string, std::string> steps {
        {"1", "Slow"}, {"2", "Medium"}, {"3", "Fast"}, {"4", "Faster"}, {"8", "Fastest"}};
    std::size_t r = 1;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (JsonField(line, "valid") != "true")
            continue;
        ASSERT_LT(r, rows.size());
        const Row& row = rows[r++];
        ASSERT_EQ(row.size(), kColumns.size()) << "record " << n + 1;
        EXPECT_EQ(row[0], std::to_string(n + 1));
        for (const auto& [column, key] :
            std::vector<std::pair<int, const char*>> {{1, "date"}, {2, "time"}, {3, "hundredths"}, {4, "tag"},
                {6, "range"}, {7, "gain"}, {8, "head_angle"}, {12, "sound_velocity"}})
            EXPECT_EQ(row[std::size_t(column)], JsonField(line, key)) << "record " << n + 1 << " " << key;
        EXPECT_EQ(row[5], modes.at(JsonField(line, "mode"))) << "record " << n + 1;
        EXPECT_EQ(row[9], steps.at(JsonField(line, "step"))) << "record " << n + 1;
        // The record carries the train in degrees / 3, as the painters take it.
        EXPECT_EQ(row[10], std::to_string(3 * std::stoi(JsonField(line, "train"))));
        EXPECT_EQ(row[11], std::to_string(3 * std::stoi(JsonField(line, "sector_width"))));
        const double profile
            = std::stod(JsonField(line, "profile")) / (std::stoi(JsonField(line, "range")) < 5 ? 5 : 1);
        EXPECT_NEAR(
            std::stod(row[13]), profile * std::stod(JsonField(line, "sound_velocity")) / 1500 / 100, 0.0005)
            << "record " << n + 1;
    }
    EXPECT_EQ(rows[121][5], "Sector");
    EXPECT_EQ(rows[122][5], "SideScan");
    EXPECT_EQ(rows[123][0], "124") << "numbered as records, the one without a row counted";
}

TEST(ExportCommand, OddTextsAreQuotedAndTheFileStaysUtf8)
{
    TempFolder dir("tool-export-quote");
    auto record = MakeRecord(PingSpec {}, "52A");
    const std::string date = "A,B\"C\xE9"; // comma, quote and a Latin-1 byte
    const std::string time = "line\nbr";
    std::fill(record.begin() + 8, record.begin() + 29, 0);
    std::copy(date.begin(), date.end(), record.begin() + 8);
    std::copy(time.begin(), time.end(), record.begin() + 20);
    WriteBytes(dir / "q.52a", record);

    const ToolRun run = RunTool("export " + Quote((dir / "q.52a").string()) + " --csv -");
    ASSERT_EQ(run.exitCode, 0);
    const std::string header = run.out.substr(0, run.out.find("\r\n") + 2);
    EXPECT_EQ(header,
        "index,date,time,hundredths,tag,mode,range (m),gain (dB),head angle (degrees),step,train (degrees),"
        "sector width (degrees),sound velocity (m/s),profile range (m)\r\n");
    EXPECT_EQ(run.out.substr(header.size(), 40), "1,\"A,B\"\"C\xC3\xA9\",\"line\nbr\",.25,52A,Polar,30,");
    const auto rows = ParseCsv(run.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][1], "A,B\"C\xC3\xA9");
    EXPECT_EQ(rows[1][2], "line\nbr");
}

TEST(ExportCommand, SamplesFillFiveHundredColumnsEveryRow)
{
    TempFolder dir("tool-export-samples");
    std::vector<std::uint8_t> bytes;
    Append(bytes, MakeRecord(PingSpec {.kind = "IMX", .echo = 7}));
    Append(bytes, MakeRecord(PingSpec {.kind = "IGX", .echo = 250}));
    Append(bytes, MakeRecord(PingSpec {.kind = "IPX"}));
    WriteBytes(dir / "s.52a", bytes);
    const auto out = dir / "s.csv";

    ASSERT_EQ(RunTool("export " + Quote((dir / "s.52a").string()) + " --samples --csv " + Quote(out.string()))
                  .exitCode,
        0);
    const auto rows = ParseCsv(testing::ReadFileText(out));
    ASSERT_EQ(rows.size(), 4u);
    for (const Row& row : rows)
        ASSERT_EQ(row.size(), kColumns.size() + 500);
    EXPECT_EQ(rows[0][14], "sample 1");
    EXPECT_EQ(rows[0][513], "sample 500");
    const std::size_t kinds[][2] = {{250, 7}, {500, 250}, {0, 0}}; // samples and their value
    for (std::size_t k = 0; k < 3; ++k) {
        const Row& row = rows[k + 1];
        for (std::size_t i = 0; i < 500; ++i)
            ASSERT_EQ(row[14 + i], i < kinds[k][0] ? std::to_string(kinds[k][1]) : "")
                << "row " << k + 1 << " sample " << i + 1;
    }
}

TEST(ExportCommand, DamagedFileExportsItsWholeRecordsWithDumpsNotes)
{
    TempFolder dir("tool-export-damage");
    std::vector<std::uint8_t> bytes;
    Append(bytes, MakeRecord(PingSpec {.headPosition = 610}));
    Append(bytes, {'5', '2', 'A', 0, 0x00, 0x10, 9, 9}); // a record length of 16
    Append(bytes, MakeRecord(PingSpec {.headPosition = 620}));
    auto cut = MakeRecord(PingSpec {.headPosition = 630});
    cut.resize(300); // the file ends inside it
    Append(bytes, cut);
    WriteBytes(dir / "d.52a", bytes);
    const std::string file = Quote((dir / "d.52a").string());

    const auto dumpErr = dir / "dump.txt";
    const auto exportErr = dir / "export.txt";
    const ToolRun dump = RunTool("dump " + file, dumpErr.string());
    const ToolRun csv = RunTool("export " + file + " --csv -", exportErr.string());
    ASSERT_EQ(dump.exitCode, 0);
    ASSERT_EQ(csv.exitCode, 0);
    std::string expected = testing::ReadFileText(dumpErr);
    ASSERT_FALSE(expected.empty());
    for (std::size_t at; (at = expected.find("tool dump:")) != std::string::npos;)
        expected.replace(at, 10, "tool export:");
    EXPECT_EQ(testing::ReadFileText(exportErr), expected);
    const auto rows = ParseCsv(csv.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][0], "1");
    EXPECT_EQ(rows[2][0], "2");
    EXPECT_EQ(rows[2][8], JsonField(Lines(dump.out)[1], "head_angle"));
}

TEST(ExportCommand, CommandLineMistakesAreUsageErrors)
{
    TempFolder dir("tool-export-usage");
    WriteBytes(dir / "u.52a", MakeRecord(PingSpec {}));
    const std::string file = Quote((dir / "u.52a").string());
    const auto err = dir / "err.txt";
    struct Case {
        std::string args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {file, 2, "--csv OUT is required (- for standard output)"},
        {file + " --csv", 2, "option --csv needs a value"},
        {file + " --csv - --json", 2, "unknown option --json"},
        {"--csv -", 2, "expected exactly one FILE"},
        {file + " --csv " + Quote((dir / "no" / "x.csv").string()), 1, "cannot write"},
        {Quote((dir / "none.52a").string()) + " --csv -", 1, "Error opening file !"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunTool("export " + c.args, err.string()).exitCode, c.exitCode) << c.args;
        EXPECT_NE(testing::ReadFileText(err).find(c.message), std::string::npos) << c.args << "\n" << testing::ReadFileText(err);
    }
}

} // namespace
} // namespace velmaris::tool
