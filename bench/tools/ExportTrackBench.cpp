// export --csv with the position columns: a 100,000-ping recording of the
// simulated boat with its one-hour track (one fix a second), the track's
// reading included, against the goal of 200,000 pings a second (`of_goal`:
// the measured rate over it).

#include "ExportColumns.h"
#include "ToolDocument.h"

#include "BenchRecording.h"
#include "files/RecordReader.h"
#include "files/TrackFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace velmaris::tool {
namespace {

constexpr int kPings = 100'000;
constexpr double kGoalPingsPerSecond = 200'000.0;

const std::string& SurveyRecording()
{
    static const std::string path = [] {
        sim::SynthOptions options;
        options.pings = kPings;
        options.command.mode = sim::SimMode::Sector;
        options.command.rangeMetres = 10;
        options.command.dataPoints = 25; // 'IMX': a ping every 36 ms, 100,000 in an hour
        options.track = true;
        return WriteBenchRecording("exporttrack", options);
    }();
    return path;
}

void BM_ExportWithTrack(benchmark::State& bench)
{
    const std::string& data = SurveyRecording();
    std::FILE* sink = std::fopen("/dev/null", "wb");
    std::int64_t rows = 0;
    double trackSeconds = 0;
    for (auto _ : bench) {
        NavigationTrack track;
        std::string error;
        track.Load(TrackPathFor(data), error);
        if (!track.Fixes().empty())
            trackSeconds = track.Fixes().back().seconds - track.Fixes().front().seconds;
        const ExportNavigation navigation {&track, AntennaOffsets {}};
        ToolDocument doc;
        DataFile file;
        SonarType fileType = SonarType::SerialK52A;
        OpenDataFile(data, file, fileType);
        CsvLine header;
        ExportHeader(header, false, true);
        std::fwrite(header.Text().data(), 1, header.Text().size(), sink);
        std::int64_t walked = 0;
        if (!ExportRecords(file, fileType, doc, sink, false, &navigation, walked)) {
            bench.SkipWithError("the export's writes failed");
            break;
        }
        rows += walked;
    }
    std::fclose(sink);
    bench.SetItemsProcessed(rows);
    bench.counters["of_goal"]
        = benchmark::Counter(double(rows) / kGoalPingsPerSecond, benchmark::Counter::kIsRate);
    bench.counters["track_s"] = trackSeconds;
}
// Processor time, as the other exports: the work is the processor's alone.
BENCHMARK(BM_ExportWithTrack)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmaris::tool
