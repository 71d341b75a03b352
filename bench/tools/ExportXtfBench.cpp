// export --xtf: a 100,000-ping side-scan survey of the simulated boat with
// its track (one fix a second), the track's reading included, into an XTF
// file on the disk of the temporary folder, against the goal of 100,000
// pings a second (`of_goal`: the measured rate over it).

#include "ToolDocument.h"
#include "XtfExport.h"

#include "BenchRecording.h"
#include "files/TrackFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace velmaris::tool {
namespace {

constexpr int kPings = 100'000;
constexpr double kGoalPingsPerSecond = 100'000.0;

const std::string& SideScanSurvey()
{
    static const std::string path = [] {
        sim::SynthOptions options;
        options.pings = kPings;
        options.command.mode = sim::SimMode::SideScan;
        options.command.rangeMetres = 20;
        options.track = true;
        return WriteBenchRecording("exportxtf", options);
    }();
    return path;
}

void BM_ExportXtf(benchmark::State& bench)
{
    const std::string& data = SideScanSurvey();
    const std::string out = BenchPath("exportxtf", ".xtf").string();
    std::int64_t pings = 0;
    for (auto _ : bench) {
        std::string text;
        std::string error;
        ReadTrackText(TrackPathFor(data), text, error);
        const NavigationTrack track = NavigationTrack::FromText(text);
        const ExportNavigation navigation {&track, AntennaOffsets {}};
        XtfExportOptions options;
        options.navigation = &navigation;
        options.utcOffsetMinutes = TrackUtcOffset(text);
        ToolDocument doc;
        DataFile file;
        SonarType fileType = SonarType::SerialK52A;
        OpenDataFile(data, file, fileType);
        std::FILE* sink = std::fopen(out.c_str(), "wb");
        XtfExportCounts counts;
        const bool written = sink != nullptr && ExportXtf(file, fileType, doc, sink, options, counts);
        if (sink != nullptr)
            std::fclose(sink);
        if (!written || counts.pings != kPings) {
            bench.SkipWithError("the export failed or left pings out");
            break;
        }
        pings += counts.pings;
    }
    std::filesystem::remove(out);
    bench.SetItemsProcessed(pings);
    bench.counters["of_goal"]
        = benchmark::Counter(double(pings) / kGoalPingsPerSecond, benchmark::Counter::kIsRate);
}
// Processor time, as the other exports: the work is the processor's alone
// (the file's pages are written back by the system later).
BENCHMARK(BM_ExportXtf)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmaris::tool
