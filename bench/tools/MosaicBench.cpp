// velmaris-tool mosaic: the simulated boat's survey (five lines of 200 m)
// made into a GeoTIFF at the default cell, both passes over the records
// and the file included, against the goals of 30,000 polar pings (500
// samples each) and 100,000 side-scan pings a second (`of_goal`: the
// measured rate over it); and the peak memory of the program mosaicking a
// 100,000-ping recording (`peak_MB`).

#include "MosaicMaking.h"

#include "BenchRecording.h"
#include "station/GisModule.h"
#include "support/ChildProcess.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace velmaris::tool {
namespace {

const std::string& Survey(sim::SimMode mode, int pings)
{
    static std::string paths[3];
    std::string& path = paths[int(mode)];
    if (path.empty()) {
        sim::SynthOptions options;
        options.pings = pings;
        options.command.mode = mode;
        options.command.rangeMetres = 30;
        options.command.dataPoints = 50; // 500 samples
        options.track = true;
        path = WriteBenchRecording("mosaic-" + std::to_string(int(mode)), options);
    }
    return path;
}

void Mosaic(benchmark::State& bench, sim::SimMode mode, int pings, double goal)
{
    if (!GisModuleFound()) {
        bench.SkipWithError("this build has no GDAL module");
        return;
    }
    MosaicRequest request;
    request.file = Survey(mode, pings);
    request.out = request.file + ".tif";
    std::int64_t placed = 0;
    MosaicOutcome outcome;
    for (auto _ : bench) {
        if (MakeMosaic(request, ModuleMosaicWriter(), &outcome) != 0) {
            bench.SkipWithError("the mosaic failed");
            break;
        }
        placed += outcome.pings;
    }
    std::filesystem::remove(request.out);
    bench.SetItemsProcessed(placed);
    bench.counters["of_goal"] = benchmark::Counter(double(placed) / goal, benchmark::Counter::kIsRate);
    bench.counters["cells_M"] = double(outcome.frame.width) * outcome.frame.height / 1e6;
    bench.counters["tiles_MB"] = double(outcome.tiles * MosaicGrid::kTileBytes) / 1e6;
}

void BM_MosaicPolar(benchmark::State& bench)
{
    Mosaic(bench, sim::SimMode::Polar, 50'000, 30'000.0);
}
BENCHMARK(BM_MosaicPolar)->Unit(benchmark::kMillisecond);

void BM_MosaicSideScan(benchmark::State& bench)
{
    Mosaic(bench, sim::SimMode::SideScan, 100'000, 100'000.0);
}
BENCHMARK(BM_MosaicSideScan)->Unit(benchmark::kMillisecond);

// The program itself on 100,000 sector pings: its peak resident memory,
// counted in a child of a child so nothing else of the benchmark counts.
void BM_MosaicPeakMemory(benchmark::State& bench)
{
    const std::string data = Survey(sim::SimMode::Sector, 100'000);
    const std::string command = std::string("'") + VELMARIS_BINARY_DIR + "/bin/velmaris-tool' mosaic '" + data
        + "' --out '" + data + ".tif' >/dev/null 2>&1";
    long peak = 0;
    for (auto _ : bench) {
        peak = test::PeakKilobytes(command);
        if (peak <= 0) {
            bench.SkipWithError("velmaris-tool mosaic failed");
            break;
        }
    }
    std::filesystem::remove(data + ".tif");
    bench.counters["peak_MB"] = double(peak) / 1024.0;
}
BENCHMARK(BM_MosaicPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
} // namespace velmaris::tool
