// What one tick of the web view costs the station's user-interface thread
// at 1920 x 1080 (goal: under 2 ms): the view window composed as colour
// indices and compared with the last one (and, after a scroll, with the
// last one moved), the changed rectangle encoded,
// the colour table and the texts built. Between ticks, 20 pings' worth of
// rays are painted into a Polar fan, as the fast head does in 100 ms.
#include <cmath>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "image/SectorClip.h"
#include "image/SonarState.h"
#include "web/WebPicture.h"
#include "web/WebTexts.h"

namespace velmaris {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kPingsPerTick = 20;

SonarState& State()
{
    static SonarState* state = [] {
        auto* s = new SonarState();
        std::mt19937 rng(52);
        for (int y = 0; y < 1000; ++y)
            for (int x = 0; x < 1000; ++x)
                s->raster.Set(x, y, std::uint8_t(rng() % 118));
        return s;
    }();
    return *state;
}

// One ping: a ray of 500 pixels from the fan's centre (500, 500 at zoom 1), three wide.
void PaintRay(ImageRaster& raster, double degrees, std::mt19937& rng)
{
    const double a = degrees * 3.14159265358979 / 180.0;
    for (int r = 0; r < 500; ++r)
        for (int w = -1; w <= 1; ++w)
            raster.Set(500 + int(std::lround(r * std::sin(a))) + w, 500 - int(std::lround(r * std::cos(a))),
                std::uint8_t(rng() % 118));
}

void BM_WebTick(benchmark::State& bench)
{
    SonarState& state = State();
    const ViewGeometry geo = ComputeViewGeometry(kWidth, kHeight, 1.0, state.settings.sectorMode, 0, 0);
    WebPicture picture;
    picture.Update(state.raster, geo.rasterLeft, geo.rasterTop,
        MakeViewClip(geo, state.settings, state.command), kWidth, kHeight);
    std::mt19937 rng(7);
    double heading = 0;
    std::vector<std::uint8_t> frame(picture.FrameMessageBytes(picture.Whole()));
    std::size_t bytes = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        for (int i = 0; i < kPingsPerTick; ++i, heading += 0.9)
            PaintRay(state.raster, heading, rng);
        bench.ResumeTiming();
        const SectorClip clip = MakeViewClip(geo, state.settings, state.command);
        const FrameRect changed
            = picture.Update(state.raster, geo.rasterLeft, geo.rasterTop, clip, kWidth, kHeight);
        picture.EncodeFrame(changed, frame.data());
        bytes += picture.FrameMessageBytes(changed);
        benchmark::DoNotOptimize(EncodePalette(state.colors.Table(state.settings.colorTable)));
        benchmark::DoNotOptimize(BuildWebState(state, ViewStatus {}, ViewInteraction {}, geo, nullptr));
    }
    bench.counters["frame_bytes"] = benchmark::Counter(double(bytes) / double(bench.iterations()));
}
BENCHMARK(BM_WebTick)->Unit(benchmark::kMicrosecond);

// A side-scan tick: the waterfall scrolled by the tick's pings, each a new
// top row, sent as a scroll and the new rows (frame_bytes against the
// whole picture's 2 MB).
void BM_WebTickSideScan(benchmark::State& bench)
{
    static ImageRaster raster;
    std::mt19937 rng(11);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = raster.Row(y);
        for (int x = 0; x < kWidth; ++x)
            row[x] = std::uint8_t(rng() % 118);
    }
    const SectorClip clip = SectorClip::Unclipped(kWidth);
    WebPicture picture;
    picture.Update(raster, 0, 0, clip, kWidth, kHeight);
    std::vector<std::uint8_t> frame(picture.FrameMessageBytes(picture.Whole()));
    std::size_t bytes = 0;
    std::int64_t scrolled = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        for (int i = 0; i < kPingsPerTick; ++i) {
            raster.ScrollDown();
            std::uint8_t* row = raster.Row(0);
            for (int x = 0; x < kWidth; ++x)
                row[x] = std::uint8_t(rng() % 118);
        }
        bench.ResumeTiming();
        const FrameRect changed = picture.Update(raster, 0, 0, clip, kWidth, kHeight);
        picture.EncodeFrame(changed, frame.data(), picture.Scroll());
        bytes += picture.FrameMessageBytes(changed);
        scrolled += picture.Scroll() != 0;
    }
    bench.counters["frame_bytes"] = benchmark::Counter(double(bytes) / double(bench.iterations()));
    bench.counters["scrolled"] = benchmark::Counter(double(scrolled) / double(bench.iterations()));
}
BENCHMARK(BM_WebTickSideScan)->Unit(benchmark::kMicrosecond);

// The same with nothing painted between ticks: the compare alone.
void BM_WebTickUnchanged(benchmark::State& bench)
{
    SonarState& state = State();
    const ViewGeometry geo = ComputeViewGeometry(kWidth, kHeight, 1.0, state.settings.sectorMode, 0, 0);
    const SectorClip clip = MakeViewClip(geo, state.settings, state.command);
    WebPicture picture;
    picture.Update(state.raster, geo.rasterLeft, geo.rasterTop, clip, kWidth, kHeight);
    for (auto _ : bench)
        benchmark::DoNotOptimize(
            picture.Update(state.raster, geo.rasterLeft, geo.rasterTop, clip, kWidth, kHeight));
}
BENCHMARK(BM_WebTickUnchanged)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace velmaris
