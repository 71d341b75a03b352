// Playing a whole 10,000-ping recording through the playback path (read,
// decode, paint), as `velmaris-tool render` does: side-scan and polar.

#include "files/DataFile.h"
#include "files/PlaybackDecode.h"
#include "files/RecordReader.h"
#include "image/SonarState.h"
#include "sim/SyntheticRecording.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace velmaris {
namespace {

std::string Recording(sim::SimMode mode)
{
    const auto path = std::filesystem::temp_directory_path()
        / ("velmaris-bench-" + std::to_string(getpid())
            + (mode == sim::SimMode::SideScan ? "-ss.52a" : "-polar.52l"));
    sim::SynthOptions options;
    options.pings = 10000;
    options.command.mode = mode;
    options.command.rangeMetres = mode == sim::SimMode::SideScan ? 50 : 30;
    std::string error;
    sim::WriteSyntheticRecording(path.string(), options, &error);
    return path.string();
}

void PlayWholeFile(benchmark::State& bench, sim::SimMode mode)
{
    const std::string path = Recording(mode);
    auto state = std::make_unique<SonarState>();
    for (auto _ : bench) {
        DataFile file;
        file.Open(path);
        int pings = 0;
        WalkRecords(
            file, kFileTypeSerial,
            [&](const RecordFrame& frame) {
                if (DecodePlaybackRecord(*state, frame).valid) {
                    PaintCurrentPing(*state);
                    ++pings;
                }
            },
            [](std::int64_t, const RecordFrame&) {});
        benchmark::DoNotOptimize(pings);
    }
    bench.SetItemsProcessed(bench.iterations() * 10000);
    std::filesystem::remove(path);
}

void BM_PlaySideScan10000(benchmark::State& bench)
{
    PlayWholeFile(bench, sim::SimMode::SideScan);
}
void BM_PlayPolar10000(benchmark::State& bench)
{
    PlayWholeFile(bench, sim::SimMode::Polar);
}
BENCHMARK(BM_PlaySideScan10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayPolar10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmaris
