// A full view repaint at 1920 x 1080 (raster through the clip, grid, texts,
// indicator bar) in each display mode, against (a) the floor: a bare
// palette lookup over the visible raster window into a 32-bit buffer, and
// (b) the platform path: the indexed raster as an 8-bit QImage with the
// palette handed to QPainter::drawImage through the same clip.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "../../CallgrindSections.h"
#include "../../FloorTiming.h"
#include "image/RasterBlit.h"
#include "image/SectorClip.h"
#include "image/ViewSource.h"
#include "image/qt/StrokeCache.h"
#include "image/qt/ViewRenderer.h"

namespace velmaris {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// CPU time of the whole process, every thread.
double ProcessSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct BenchSource : ViewSource {
    SonarState state;
    ViewStatus status;
    const SonarState& State() const override { return state; }
    ViewStatus Status() const override { return status; }
    ViewRequests TakeRequests() override { return TakeViewRequests(state); }
};

// One source per mode, built once: a raster full of echo values, grid,
// read-outs, recording status line and indicator bar on.
// The mode a case runs in, from its code in the first argument.
DisplayMode ModeArg(const benchmark::State& st)
{
    return DisplayModeForCode(static_cast<int>(st.range(0))).value_or(DisplayMode::Polar);
}

BenchSource& SourceFor(DisplayMode mode)
{
    static std::unique_ptr<BenchSource> sources[3];
    std::unique_ptr<BenchSource>& s = sources[CodeOf(mode)];
    if (!s) {
        s = std::make_unique<BenchSource>();
        for (int y = 0; y < ImageRaster::kHeight; ++y) {
            std::uint8_t* row = s->state.raster.Row(y);
            for (int x = 0; x < ImageRaster::kWidth; ++x) {
                row[x] = std::uint8_t(1 + (x * 7 + y * 3) % 117);
            }
        }
        SonarSettings& settings = s->state.settings;
        settings.sectorMode = mode;
        settings.grid = 1;
        settings.viewRangeMark = 1;
        settings.colorTable = 0;
        s->state.command[CommandMessage::kSectorWidth] = mode == DisplayMode::Sector ? 60
            : mode == DisplayMode::Polar                                             ? 120
                                                                                     : 0;
        s->state.ping.headAngle = 37.0;
        s->status.linkState = LinkState::Up;
        s->status.recording = true;
        s->status.outputFileLength = 123456789;
        s->status.pingCount = 1234;
        s->status.colorIndicator = true;
    }
    return *s;
}

void BM_FullRepaint(benchmark::State& st)
{
    BenchSource& source = SourceFor(ModeArg(st));
    ViewInteraction view;
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    StrokeCache strokes;
    for (auto _ : st) {
        RenderViewFrame(frame, source, view, strokes);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

// The pieces of the repaint: the raster blit alone and the overlays alone.
void BM_ComposeOnly(benchmark::State& st)
{
    BenchSource& source = SourceFor(ModeArg(st));
    const SonarSettings& s = source.state.settings;
    const ViewGeometry geo = ComputeViewGeometry(kWidth, kHeight, s.zoom, s.sectorMode, 0, 0);
    const PixelLut lut = MakePixelLut(source.state.colors.Table(s.colorTable));
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    const FrameBuffer buffer {reinterpret_cast<std::uint32_t*>(frame.bits()), kWidth, kHeight,
        std::size_t(frame.bytesPerLine()) / 4};
    for (auto _ : st) {
        ComposeRasterFrame(source.state.raster, lut, geo.rasterLeft, geo.rasterTop,
            MakeViewClip(geo, s, source.state.command), buffer);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

void BM_OverlaysOnly(benchmark::State& st)
{
    BenchSource& source = SourceFor(ModeArg(st));
    const SonarSettings& s = source.state.settings;
    const ViewGeometry geo = ComputeViewGeometry(kWidth, kHeight, s.zoom, s.sectorMode, 0, 0);
    ViewInteraction view;
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    frame.fill(Qt::black);
    for (auto _ : st) {
        const ViewScene scene = BuildViewScene(source.state, source.status, view, geo);
        QPainter painter(&frame);
        DrawViewScene(painter, scene);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}

// The visible raster window of the mode's geometry.
QRect VisibleRaster(const BenchSource& source)
{
    const SonarSettings& s = source.state.settings;
    const ViewGeometry geo = ComputeViewGeometry(kWidth, kHeight, s.zoom, s.sectorMode, 0, 0);
    return QRect(geo.rasterLeft, geo.rasterTop, ImageRaster::kWidth, ImageRaster::kHeight)
        .intersected(QRect(0, 0, kWidth, kHeight));
}

void BM_LookupFloor(benchmark::State& st)
{
    const BenchSource& source = SourceFor(ModeArg(st));
    const SonarSettings& s = source.state.settings;
    const ViewGeometry geo = ComputeViewGeometry(kWidth, kHeight, s.zoom, s.sectorMode, 0, 0);
    const QRect window = VisibleRaster(source);
    const PixelLut lut = MakePixelLut(source.state.colors.Table(s.colorTable));
    std::vector<std::uint32_t> buffer(std::size_t(kWidth) * kHeight);
    for (auto _ : st) {
        for (int y = window.top(); y <= window.bottom(); ++y) {
            const std::uint8_t* src
                = source.state.raster.Row(y - geo.rasterTop) + (window.left() - geo.rasterLeft);
            std::uint32_t* dst = buffer.data() + std::size_t(y) * kWidth + window.left();
            for (int n = window.width(); n > 0; --n) {
                *dst++ = lut[*src++];
            }
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    st.counters["pixels"] = double(window.width()) * window.height();
}

void BM_DrawImageIndexed8(benchmark::State& st)
{
    const BenchSource& source = SourceFor(ModeArg(st));
    const SonarSettings& s = source.state.settings;
    const ViewGeometry geo = ComputeViewGeometry(kWidth, kHeight, s.zoom, s.sectorMode, 0, 0);
    // Converted once, outside the timing.
    QImage indexed(ImageRaster::kWidth, ImageRaster::kHeight, QImage::Format_Indexed8);
    for (int y = 0; y < ImageRaster::kHeight; ++y) {
        std::memcpy(indexed.scanLine(y), source.state.raster.Row(y), ImageRaster::kWidth);
    }
    QList<QRgb> palette;
    for (const Rgb& c : source.state.colors.Table(s.colorTable)) {
        palette.push_back(qRgb(c.red, c.green, c.blue));
    }
    indexed.setColorTable(palette);
    QPainterPath pie;
    if (s.sectorMode != DisplayMode::SideScan) {
        const int w = source.state.command[CommandMessage::kSectorWidth];
        const double r = 1000.0 * s.zoom;
        pie.moveTo(geo.originX, geo.originY);
        pie.arcTo(QRectF(geo.originX - r, geo.originY - r, 2 * r, 2 * r), 90.0 - 1.5 * w, 3.0 * w);
        pie.closeSubpath();
    }
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : st) {
        QPainter painter(&frame);
        painter.fillRect(frame.rect(), Qt::black);
        if (s.sectorMode != DisplayMode::SideScan) {
            painter.setClipPath(pie);
        }
        painter.drawImage(geo.rasterLeft, geo.rasterTop, indexed);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}

// The floor with its window, for the interleaved comparison below.
struct PaletteLoop {
    explicit PaletteLoop(const BenchSource& source)
        : source(source)
    {
        const SonarSettings& s = source.state.settings;
        geo = ComputeViewGeometry(kWidth, kHeight, s.zoom, s.sectorMode, 0, 0);
        window = VisibleRaster(source);
        lut = MakePixelLut(source.state.colors.Table(s.colorTable));
    }
    void Run()
    {
        for (int y = window.top(); y <= window.bottom(); ++y) {
            const std::uint8_t* src
                = source.state.raster.Row(y - geo.rasterTop) + (window.left() - geo.rasterLeft);
            std::uint32_t* dst = buffer.data() + std::size_t(y) * kWidth + window.left();
            for (int n = window.width(); n > 0; --n) {
                *dst++ = lut[*src++];
            }
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    const BenchSource& source;
    ViewGeometry geo;
    QRect window;
    PixelLut lut;
    std::vector<std::uint32_t> buffer = std::vector<std::uint32_t>(std::size_t(kWidth) * kHeight);
};

// The full repaint and the palette loop one after the other in every
// iteration, so both run under the same load (CPU time of the process:
// QPainter may use threads); x_floor as FloorTiming.h takes it. The grid is
// recorded in the warm-up, as in a view whose picture is not being dragged.
void BM_RepaintVsPaletteLoop(benchmark::State& st)
{
    BenchSource& source = SourceFor(ModeArg(st));
    ViewInteraction view;
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    StrokeCache strokes;
    PaletteLoop floor(source);
    for (int warm = 0; warm < 3; ++warm) { // fonts, the recorded grid
        RenderViewFrame(frame, source, view, strokes);
    }
    floor.Run();
    if (CountingInstructions()) {
        const std::string name = std::string("repaint mode ") + std::to_string(st.range(0));
        CountSection(name + " product", 1, [&] { RenderViewFrame(frame, source, view, strokes); });
        CountSection(name + " floor", 1, [&] { floor.Run(); });
    }
    FloorTiming timing;
    for (auto _ : st) {
        const double t0 = ProcessSeconds();
        RenderViewFrame(frame, source, view, strokes);
        benchmark::DoNotOptimize(frame.constBits());
        const double t1 = ProcessSeconds();
        floor.Run();
        const double t2 = ProcessSeconds();
        timing.Add(t1 - t0, t2 - t1);
        st.SetIterationTime(t1 - t0);
    }
    st.counters["us"] = timing.Product() * 1e6;
    st.counters["floor_us"] = timing.Floor() * 1e6;
    st.counters["x_floor"] = timing.Ratio();
}
BENCHMARK(BM_RepaintVsPaletteLoop)
    ->ArgName("mode")
    ->Arg(CodeOf(DisplayMode::Sector))
    ->Arg(CodeOf(DisplayMode::Polar))
    ->Arg(CodeOf(DisplayMode::SideScan))
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void Modes(benchmark::internal::Benchmark* b)
{
    b->ArgName("mode")
        ->Arg(CodeOf(DisplayMode::Sector))
        ->Arg(CodeOf(DisplayMode::Polar))
        ->Arg(CodeOf(DisplayMode::SideScan))
        ->Unit(benchmark::kMicrosecond);
    // QPainter spreads large image work over a thread pool: count every thread.
    b->MeasureProcessCPUTime()->UseRealTime();
}

BENCHMARK(BM_FullRepaint)->Apply(Modes);
BENCHMARK(BM_LookupFloor)->Apply(Modes);
BENCHMARK(BM_ComposeOnly)->Apply(Modes);
BENCHMARK(BM_OverlaysOnly)->Apply(Modes);
BENCHMARK(BM_DrawImageIndexed8)->Apply(Modes);

} // namespace
} // namespace velmaris

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
