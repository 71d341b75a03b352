// The live pipeline per ping: time stamp, decode, record (to a temporary
// file), prepare and paint, loop time and the window calls; the variants
// "WithDiagnostics" add the diagnostics refresh after every ping (its
// decisions and the copy of the texts it wrote, what the window shows).

#include "controls/DiagnosticsLines.h"
#include "image/SonarState.h"
#include "station/PingPipeline.h"
#include "support/CycleFakes.h"

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include <stdexcept>
#include <unistd.h>

namespace velmaris {
namespace {

// The window side of the pipeline with the diagnostics window shown: each
// refresh runs the line decisions and copies the texts of the written lines.
class DiagnosticsUi final : public DocumentUi {
public:
    DiagnosticsUi(const SonarState& state, const AcquisitionState& acq, bool shown)
        : state_(state)
        , acq_(acq)
        , shown_(shown)
    { }
    void UpdateAllViews() override { }
    void RefreshStatusLine() override { }
    void RefreshDiagnostics() override
    {
        if (!shown_)
            return;
        const DiagnosticsLines::Mask written = lines_.Refresh(DiagnosticsInputFrom(state_, acq_));
        for (int line = 0; line < kDiagLineCount; ++line)
            if ((written >> line) & 1U)
                shownTexts_[static_cast<std::size_t>(line)] = lines_.Text(line);
    }
    void ResetDiagnostics() override { lines_.Reset(); }
    void SetWindowTitle(const std::string&) override { }
    void SetControlBars(ControlBars) override { }
    void RefreshSettingsPanel() override { }
    void HidePlaybackProgress() override { }
    void SettingsLoaded() override { }
    void RefreshMiniSettingsBar() override { }
    bool SettingsPanelExists() const override { return false; }
    void RepaintAllViews() override { }
    void CreateFloatingWindows() override { }

private:
    const SonarState& state_;
    const AcquisitionState& acq_;
    bool shown_;
    DiagnosticsLines lines_;
    std::array<std::string, kDiagLineCount> shownTexts_;
};

void LivePipeline(benchmark::State& bench, DisplayMode mode, bool record, bool diagnostics = false)
{
    auto state = std::make_unique<SonarState>();
    state->settings.sectorMode = mode;
    AcquisitionState acq(SteadyClock::Instance());
    acq.linkState = LinkState::Up;
    DiagnosticsUi ui(*state, acq, diagnostics);
    testing::FakeTimerHost timers;
    testing::RecordingReporter reporter;
    RecordWriter recorder(reporter);
    const auto path
        = std::filesystem::temp_directory_path() / ("velmaris-bench-" + std::to_string(::getpid()) + ".52a");
    if (record && !recorder.Open(path.string()))
        throw std::runtime_error("cannot create " + path.string());
    PingPipeline pipeline(*state, acq, ui, recorder, timers);
    pipeline.SetLocalTimeSource(&testing::FixedLocalTime);

    std::vector<std::uint8_t> reply(513);
    for (std::size_t i = 12; i < reply.size(); ++i)
        reply[i] = static_cast<std::uint8_t>((i * 37) % 120);
    reply[0] = 'I';
    reply[1] = 'G';
    reply[2] = 'X';
    reply[7] = 30;
    reply[10] = 500 & 0x7F;
    reply[11] = 500 >> 7;
    int position = 0;
    for (auto _ : bench) {
        position = (position + 3) % 1200; // the head sweeps the full circle
        reply[5] = static_cast<std::uint8_t>(position & 0x7F);
        reply[6] = static_cast<std::uint8_t>((position >> 7) & 0x3F);
        std::copy(reply.begin(), reply.end(), acq.replyBuffer.begin());
        acq.receivedByteCount = 513;
        acq.awaitingReply = false;
        benchmark::DoNotOptimize(pipeline.RunLive());
        if (record && recorder.Length() > 64 * 1024 * 1024 && !recorder.Open(path.string()))
            throw std::runtime_error("cannot create " + path.string()); // kept small
    }
    recorder.Close();
    std::filesystem::remove(path);
}

void BM_LivePipelinePolar(benchmark::State& s)
{
    LivePipeline(s, DisplayMode::Polar, true);
}
void BM_LivePipelineSideScan(benchmark::State& s)
{
    LivePipeline(s, DisplayMode::SideScan, true);
}
void BM_LivePipelinePolarNoRecording(benchmark::State& s)
{
    LivePipeline(s, DisplayMode::Polar, false);
}

void BM_LivePipelinePolarWithDiagnostics(benchmark::State& s)
{
    LivePipeline(s, DisplayMode::Polar, true, true);
}
void BM_LivePipelinePolarNoRecordingWithDiagnostics(benchmark::State& s)
{
    LivePipeline(s, DisplayMode::Polar, false, true);
}
// One diagnostics refresh alone, for a ping that moved the head only.
void BM_DiagnosticsRefresh(benchmark::State& bench)
{
    auto state = std::make_unique<SonarState>();
    AcquisitionState acq(SteadyClock::Instance());
    DiagnosticsUi ui(*state, acq, true);
    for (auto _ : bench) {
        state->ping.headPosition = (state->ping.headPosition + 3) % 1200;
        ui.RefreshDiagnostics();
    }
}

BENCHMARK(BM_LivePipelinePolar)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LivePipelineSideScan)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LivePipelinePolarNoRecording)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LivePipelinePolarWithDiagnostics)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LivePipelinePolarNoRecordingWithDiagnostics)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DiagnosticsRefresh);

} // namespace
} // namespace velmaris
