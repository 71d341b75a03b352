// The live pipeline per ping: time stamp, decode, record (to a temporary
// file), prepare and paint, loop time and the (empty) window calls.

#include "image/SonarState.h"
#include "station/PingPipeline.h"
#include "support/CycleFakes.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include <unistd.h>

namespace velmaris {
namespace {

void LivePipeline(benchmark::State& bench, int mode, bool record)
{
    auto state = std::make_unique<SonarState>();
    state->settings.sectorMode = mode;
    AcquisitionState acq(SteadyClock::Instance());
    acq.linkState = kLinkUp;
    testing::RecordingUi ui;
    testing::FakeTimerHost timers;
    testing::RecordingReporter reporter;
    RecordWriter recorder(reporter);
    const auto path
        = std::filesystem::temp_directory_path() / ("velmaris-bench-" + std::to_string(::getpid()) + ".52a");
    if (record)
        recorder.Open(path.string());
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
        acq.awaitingReply = 0;
        benchmark::DoNotOptimize(pipeline.RunLive());
        if (record && recorder.Length() > 64 * 1024 * 1024)
            recorder.Open(path.string()); // keep the temporary file small
    }
    recorder.Close();
    std::filesystem::remove(path);
}

void BM_LivePipelinePolar(benchmark::State& s)
{
    LivePipeline(s, kModePolar, true);
}
void BM_LivePipelineSideScan(benchmark::State& s)
{
    LivePipeline(s, kModeSideScan, true);
}
void BM_LivePipelinePolarNoRecording(benchmark::State& s)
{
    LivePipeline(s, kModePolar, false);
}

BENCHMARK(BM_LivePipelinePolar)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LivePipelineSideScan)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LivePipelinePolarNoRecording)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
} // namespace velmaris
