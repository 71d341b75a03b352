// Cost of painting one ping, against the floors it cannot beat:
// - fan: a loop that only stores the same bytes at the same precomputed
//   addresses (the write log of the plain transcription);
// - waterfall: the plain whole-image row shift the ring raster avoids;
// - clear (each change of mode or range): the whole-image memset the
//   raster's written spans avoid.
#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "../../tests/image/ReferencePainter.h"
#include "image/ScanLinePainter.h"
#include "image/SectorPainter.h"
#include "image/SideScanPainter.h"

namespace velmaris {
namespace {

constexpr int kHeadings = 32;

PaintTables& Tables()
{
    static PaintTables tables;
    return tables;
}

ScanLineHistory MakeHistory()
{
    std::mt19937 rng(52);
    std::uniform_int_distribution<int> byte(0, 255);
    ScanLineHistory h;
    for (int k = 0; k < 3; ++k) {
        for (int n = 0; n < 500; ++n) {
            h.l0[n] = std::uint8_t(byte(rng) / (n % 7 == 0 ? 1 : 4));
        }
        PrepareScanLine(h, 50);
    }
    return h;
}

PaintInputs MakeInputs(int step, double zoom, int heading, DisplayMode mode, double speed = 1480)
{
    PaintInputs in;
    in.displayMode = mode;
    in.step = step;
    in.zoom = zoom;
    in.headAngle = heading * 360.0 / kHeadings + 0.37;
    in.directionFlag = heading % 2;
    in.statusOffset = 202;
    in.pulseLength = 10;
    in.pingRange = 30;
    in.speedOfSound = speed;
    in.mixWeight = 1.0;
    return in;
}

void BM_SectorPing(benchmark::State& state)
{
    const int step = int(state.range(0));
    const double zoom = state.range(1) / 100.0;
    const double speed = double(state.range(2));
    ImageRaster raster;
    const ScanLineHistory h = MakeHistory();
    int k = 0;
    for (auto _ : state) {
        PaintSectorLine(raster, h, MakeInputs(step, zoom, k, DisplayMode::Polar, speed), Tables());
        k = (k + 1) % kHeadings;
        benchmark::ClobberMemory();
    }
}

void BM_SectorReference(benchmark::State& state)
{
    const int step = int(state.range(0));
    const double zoom = state.range(1) / 100.0;
    const double speed = double(state.range(2));
    reference::Image img;
    const ScanLineHistory h = MakeHistory();
    int k = 0;
    for (auto _ : state) {
        reference::PaintSector(
            img, h, MakeInputs(step, zoom, k, DisplayMode::Polar, speed), Tables().trig, Tables().blend);
        k = (k + 1) % kHeadings;
        benchmark::ClobberMemory();
    }
}

void BM_SectorFloor(benchmark::State& state)
{
    const int step = int(state.range(0));
    const double zoom = state.range(1) / 100.0;
    const double speed = double(state.range(2));
    reference::Image img;
    const ScanLineHistory h = MakeHistory();
    std::vector<std::vector<std::uint32_t>> offsets(kHeadings);
    std::vector<std::vector<std::uint8_t>> values(kHeadings);
    for (int k = 0; k < kHeadings; ++k) {
        reference::WriteLog log;
        img.log = &log;
        reference::PaintSector(
            img, h, MakeInputs(step, zoom, k, DisplayMode::Polar, speed), Tables().trig, Tables().blend);
        for (const auto& [off, v] : log) {
            offsets[k].push_back(off);
            values[k].push_back(v);
        }
    }
    img.log = nullptr;
    std::uint8_t* data = img.px.data();
    int k = 0;
    for (auto _ : state) {
        const std::uint32_t* off = offsets[k].data();
        const std::uint8_t* val = values[k].data();
        const std::size_t n = offsets[k].size();
        for (std::size_t i = 0; i < n; ++i) {
            data[off[i]] = val[i];
        }
        k = (k + 1) % kHeadings;
        benchmark::ClobberMemory();
    }
    state.counters["writes"] = double(offsets[0].size());
}

// The machine is shared: the fastest repetition is the best estimate.
double Fastest(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

void SectorArgs(benchmark::internal::Benchmark* b)
{
    b->ComputeStatistics("min", Fastest);
    // 1480 m/s: radii step by less than a pixel; 1540 m/s: by more, so the
    // skipped pixels are filled.
    for (int speed : {1480, 1540}) {
        for (int step : {1, 3, 8}) {
            for (int zoom : {100, 200}) {
                b->Args({step, zoom, speed});
            }
        }
    }
}

BENCHMARK(BM_SectorPing)->Apply(SectorArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SectorFloor)->Apply(SectorArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SectorReference)->Apply(SectorArgs)->Unit(benchmark::kMicrosecond);

void BM_SideScanPing(benchmark::State& state)
{
    const double zoom = state.range(0) / 100.0;
    ImageRaster raster;
    const ScanLineHistory h = MakeHistory();
    PaintInputs in = MakeInputs(0, zoom, 0, DisplayMode::SideScan, double(state.range(1)));
    in.profileDispMode = 2;
    in.mixWeight = 0.25;
    in.profileHistory[2] = {900.0, 0.0};
    for (auto _ : state) {
        PaintSideScanLine(raster, h, in, Tables());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SideScanPing)
    ->Args({100, 1480})
    ->Args({200, 1480})
    ->Args({100, 1540})
    ->Args({200, 1540})
    ->ComputeStatistics("min", Fastest)
    ->Unit(benchmark::kMicrosecond);

void BM_WholeRasterRowShift(benchmark::State& state)
{
    std::vector<std::uint8_t> img(ImageRaster::kBytes, 1);
    for (auto _ : state) {
        std::memmove(img.data() + ImageRaster::kWidth, img.data(), ImageRaster::kBytes - ImageRaster::kWidth);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WholeRasterRowShift)->ComputeStatistics("min", Fastest)->Unit(benchmark::kMicrosecond);

// One fan at the given zoom, then the clear a mode or range change makes.
void BM_ClearAfterFan(benchmark::State& state)
{
    const double zoom = state.range(0) / 100.0;
    ImageRaster raster;
    const ScanLineHistory h = MakeHistory();
    const PaintInputs in = MakeInputs(0, zoom, 0, DisplayMode::Polar);
    for (auto _ : state) {
        state.PauseTiming();
        PaintSectorLine(raster, h, in, Tables());
        state.ResumeTiming();
        raster.Clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClearAfterFan)
    ->Arg(100)
    ->Arg(400)
    ->ComputeStatistics("min", Fastest)
    ->Unit(benchmark::kMicrosecond);

void BM_WholeRasterClear(benchmark::State& state)
{
    std::vector<std::uint8_t> img(ImageRaster::kBytes, 1);
    for (auto _ : state) {
        std::memset(img.data(), 0, img.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WholeRasterClear)->ComputeStatistics("min", Fastest)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace velmaris
