// Records played per second through the document's playback tick at speed
// 12 with real-time play off: read, decode, paint, position slider; the
// views are not repainted (the window calls go nowhere).

#include "sim/SyntheticRecording.h"
#include "station/CVelmarisDoc.h"
#include "support/CycleFakes.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace velmaris {
namespace {

void PlayThroughTheTick(benchmark::State& bench, sim::SimMode mode)
{
    const std::string folder = std::filesystem::temp_directory_path().string() + "/velmaris-tick-bench-"
        + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(folder);
    const std::string path = folder + (mode == sim::SimMode::SideScan ? "sidescan.52a" : "polar.52a");
    sim::SynthOptions options;
    options.pings = 10000;
    options.command.mode = mode;
    options.command.rangeMetres = mode == sim::SimMode::SideScan ? 50 : 30;
    std::string error;
    if (!sim::WriteSyntheticRecording(path, options, &error)) {
        bench.SkipWithError(error.c_str());
        return;
    }

    testing::StationFakes fakes; // the window calls and the links go nowhere
    auto doc = std::make_unique<CVelmarisDoc>(fakes.ui, fakes.Links(), fakes.reporter);
    doc->Initialise(DocumentSetup {folder + "Velmaris.INI", folder});
    Playback& playback = doc->PlaybackControl();
    if (!playback.OpenDroppedFile(path)) {
        bench.SkipWithError("playback did not open");
        return;
    }
    doc->State().settings.playbackSpeed = 12;

    const std::uint64_t first = playback.RecordsRead();
    for (auto _ : bench)
        doc->Events().OnTimer(kPingTimer);
    const std::uint64_t records = playback.RecordsRead() - first;
    bench.SetItemsProcessed(static_cast<std::int64_t>(records));
    bench.counters["records/tick"]
        = benchmark::Counter(static_cast<double>(records) / static_cast<double>(bench.iterations()));
    doc.reset();
    std::filesystem::remove_all(folder);
}

void BM_TickPolar10000(benchmark::State& bench)
{
    PlayThroughTheTick(bench, sim::SimMode::Polar);
}
void BM_TickSideScan10000(benchmark::State& bench)
{
    PlayThroughTheTick(bench, sim::SimMode::SideScan);
}
BENCHMARK(BM_TickPolar10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickSideScan10000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace velmaris
