// Playing a whole 10,000-ping recording through the playback path (read,
// decode, paint), as `velmaris-tool render` does, side-scan and polar,
// against its floor: the same records already in memory, decoded and
// painted. The ratio (x_floor) is what reading the file adds; the file is
// read front to back, so seeks_per_record stays 0. Each iteration plays the
// file and then the memory, so both run under the same load.

#include "files/DataFile.h"
#include "files/PlaybackDecode.h"
#include "files/RecordReader.h"
#include "image/SonarState.h"
#include "sim/SyntheticRecording.h"

#include "../FloorTiming.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>
#include <stdexcept>

namespace velmaris {
namespace {

constexpr int kPings = 10000;

std::string Recording(sim::SimMode mode)
{
    const auto path = std::filesystem::temp_directory_path()
        / ("velmaris-bench-" + std::to_string(getpid())
            + (mode == sim::SimMode::SideScan ? "-ss.52a" : "-polar.52l"));
    sim::SynthOptions options;
    options.pings = kPings;
    options.command.mode = mode;
    options.command.rangeMetres = mode == sim::SimMode::SideScan ? 50 : 30;
    std::string error;
    sim::WriteSyntheticRecording(path.string(), options, &error);
    return path.string();
}

int PlayFile(const std::string& path, SonarState& state, std::int64_t& seeks)
{
    DataFile file;
    if (file.Open(path) != DataFile::OpenResult::Ok)
        throw std::runtime_error("cannot open " + path);
    int pings = 0;
    WalkRecords(
        file, SonarType::SerialK52A,
        [&](const RecordFrame& frame) {
            if (DecodePlaybackRecord(state, frame).valid) {
                PaintCurrentPing(state);
                ++pings;
            }
        },
        [](std::int64_t, const RecordFrame&) {});
    seeks = file.Seeks();
    return pings;
}

int PlayMemory(const std::vector<RecordFrame>& frames, SonarState& state)
{
    int pings = 0;
    for (const RecordFrame& frame : frames) {
        if (DecodePlaybackRecord(state, frame).valid) {
            PaintCurrentPing(state);
            ++pings;
        }
    }
    return pings;
}

void PlayWholeFile(benchmark::State& bench, sim::SimMode mode)
{
    using Clock = std::chrono::steady_clock;
    const std::string path = Recording(mode);
    std::vector<RecordFrame> frames;
    {
        DataFile file;
        if (file.Open(path) != DataFile::OpenResult::Ok)
            throw std::runtime_error("cannot open " + path);
        WalkRecords(
            file, SonarType::SerialK52A, [&](const RecordFrame& frame) { frames.push_back(frame); },
            [](std::int64_t, const RecordFrame&) {});
    }
    auto state = std::make_unique<SonarState>();
    FloorTiming timing;
    std::int64_t seeks = 0;
    for (auto _ : bench) {
        const Clock::time_point t0 = Clock::now();
        benchmark::DoNotOptimize(PlayFile(path, *state, seeks));
        const Clock::time_point t1 = Clock::now();
        benchmark::DoNotOptimize(PlayMemory(frames, *state));
        const Clock::time_point t2 = Clock::now();
        const double f = std::chrono::duration<double>(t1 - t0).count();
        timing.Add(f, std::chrono::duration<double>(t2 - t1).count());
        bench.SetIterationTime(f);
    }
    bench.SetItemsProcessed(bench.iterations() * kPings);
    bench.counters["pings_per_s"] = kPings / timing.Product();
    bench.counters["floor_pings_per_s"] = kPings / timing.Floor();
    bench.counters["x_floor"] = timing.Ratio();
    bench.counters["seeks_per_record"] = double(seeks) / double(frames.size());
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
BENCHMARK(BM_PlaySideScan10000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayPolar10000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmaris
