// One ping painted by the product, against its floor in the same program:
// - Sector / Polar: the scatter floor replays the painter's pixel writes of
//   the same ping (packed offset | value << 24) and does nothing else;
// - SideScan: the ring floor keeps the waterfall as a ring of rows, copies
//   the old top row into the recycled row and writes the new row with the
//   plain transcription of the rule.
// Inputs: one 500-byte line of uniform random bytes per ping, 1500 m/s,
// pulse length 10, status offset 202 us, range 20 m, k = 1, forward sweep,
// the head stepping step x 0.3 degrees per ping over one full turn.
//
// Each iteration times one turn of the product and one of the floor, so
// the ratio (counter x_floor, FloorTiming.h) is taken under the same load.
// Under callgrind (bench/callgrind-ratios.sh) each case first counts one
// product turn and one floor turn after a warm-up turn: instruction counts,
// repeatable. The waterfall's "turn" is 400 pings.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../../tests/image/ReferencePainter.h"
#include "../CallgrindSections.h"
#include "../FloorTiming.h"
#include "image/ScanLinePainter.h"
#include "image/SectorPainter.h"
#include "image/SideScanPainter.h"

namespace velmaris {
namespace {

PaintTables& Tables()
{
    static PaintTables tables;
    return tables;
}

// One ping's echo line per ping of the longest turn (step 1), shared.
const std::vector<ScanLine>& Lines()
{
    static const std::vector<ScanLine> lines = [] {
        std::mt19937 rng(1500);
        std::uniform_int_distribution<int> byte(0, 255);
        std::vector<ScanLine> v(1200);
        for (ScanLine& line : v) {
            for (int n = 0; n < 500; ++n) {
                line[n] = std::uint8_t(byte(rng));
            }
        }
        return v;
    }();
    return lines;
}

PaintInputs Inputs(DisplayMode mode, int step, double zoom, int ping)
{
    PaintInputs in;
    in.displayMode = mode;
    in.dataPoints = 50;
    in.step = step;
    in.zoom = zoom;
    in.headAngle = std::fmod(ping * step * 0.3, 360.0);
    in.directionFlag = 1;
    in.statusOffset = 202;
    in.pulseLength = 10;
    in.pingRange = 20;
    in.rangeSetting = 20;
    in.speedOfSound = 1500;
    in.mixWeight = 1.0;
    return in;
}

using Clock = std::chrono::steady_clock;

// The product and its floor over one case; a turn is `pings` pings.
struct Case {
    DisplayMode mode = DisplayMode::Polar;
    int step = 0;
    double zoom = 1;
    int pings = 0;

    std::unique_ptr<ImageRaster> raster = std::make_unique<ImageRaster>();
    ScanLineHistory history;
    ScanLineHistory floorHistory;
    std::vector<std::vector<std::uint32_t>> writes; // per ping: offset | value << 24
    std::unique_ptr<reference::Image> floorImage = std::make_unique<reference::Image>();
    int ringOrigin = 0;

    Case(DisplayMode m, int s, double z)
        : mode(m)
        , step(s)
        , zoom(z)
        , pings(m == DisplayMode::SideScan ? 400 : int(1200 / s))
    {
        if (mode == DisplayMode::SideScan) {
            return;
        }
        // The scatter floor's writes: the plain transcription's, ping by ping.
        ScanLineHistory h;
        writes.resize(std::size_t(pings));
        for (int k = 0; k < pings; ++k) {
            reference::WriteLog log;
            floorImage->log = &log;
            h.l0 = Lines()[std::size_t(k)];
            PrepareScanLine(h, 50);
            reference::PaintSector(
                *floorImage, h, Inputs(mode, step, zoom, k), Tables().trig, Tables().blend);
            for (const auto& [off, v] : log) {
                writes[std::size_t(k)].push_back(off | std::uint32_t(v) << 24);
            }
        }
        floorImage->log = nullptr;
    }

    void ProductTurn()
    {
        for (int k = 0; k < pings; ++k) {
            history.l0 = Lines()[std::size_t(k)];
            PaintPing(*raster, history, Inputs(mode, step, zoom, k), Tables());
        }
        benchmark::ClobberMemory();
    }

    void FloorTurn()
    {
        std::uint8_t* px = floorImage->px.data();
        if (mode == DisplayMode::SideScan) {
            for (int k = 0; k < pings; ++k) {
                const int old = ringOrigin;
                ringOrigin = ringOrigin == 0 ? reference::kSide - 1 : ringOrigin - 1;
                std::uint8_t* top = px + std::size_t(ringOrigin) * reference::kSide;
                std::memcpy(top, px + std::size_t(old) * reference::kSide, reference::kSide);
                floorHistory.l0 = Lines()[std::size_t(k)];
                reference::PaintSideScanTop([top](int x, int, std::uint8_t v) { top[x] = v; }, floorHistory,
                    Inputs(mode, 0, zoom, k));
            }
        } else {
            for (int k = 0; k < pings; ++k) {
                for (const std::uint32_t w : writes[std::size_t(k)]) {
                    px[w & 0xFFFFFF] = std::uint8_t(w >> 24);
                }
            }
        }
        benchmark::ClobberMemory();
    }

    std::string Name() const
    {
        return (mode == DisplayMode::SideScan ? std::string("sidescan") : "polar step " + std::to_string(step))
            + " zoom " + std::to_string(int(zoom));
    }
};

double Seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

void RunCase(benchmark::State& state, DisplayMode mode, int step, double zoom)
{
    Case c(mode, step, zoom);
    c.ProductTurn(); // warm-up turns
    c.FloorTurn();
    if (CountingInstructions()) {
        const std::string name = c.Name();
        CountSection(name + " product", c.pings, [&] { c.ProductTurn(); });
        CountSection(name + " floor", c.pings, [&] { c.FloorTurn(); });
    }
    FloorTiming timing;
    std::size_t writes = 0;
    for (const auto& w : c.writes) {
        writes += w.size();
    }
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        c.ProductTurn();
        const double p = Seconds(t0);
        const Clock::time_point t1 = Clock::now();
        c.FloorTurn();
        const double f = Seconds(t1);
        timing.Add(p, f);
        state.SetIterationTime(p);
    }
    state.counters["us_per_ping"] = timing.Product() * 1e6 / c.pings;
    state.counters["floor_us_per_ping"] = timing.Floor() * 1e6 / c.pings;
    state.counters["x_floor"] = timing.Ratio();
    if (writes > 0) {
        state.counters["writes_per_ping"] = double(writes) / c.pings;
    }
}

void BM_FanPingVsScatterFloor(benchmark::State& state)
{
    RunCase(state, DisplayMode::Polar, int(state.range(0)), double(state.range(1)));
}
BENCHMARK(BM_FanPingVsScatterFloor)
    ->ArgNames({"step", "zoom"})
    ->ArgsProduct({{1, 3, 8}, {1, 2}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_SideScanPingVsRingFloor(benchmark::State& state)
{
    RunCase(state, DisplayMode::SideScan, 0, double(state.range(0)));
}
BENCHMARK(BM_SideScanPingVsRingFloor)
    ->ArgNames({"zoom"})
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmaris
