// Records played per second through the document's playback tick at speed
// 12 with real-time play off: read, decode, paint, position slider; the
// views are not repainted (the window calls go nowhere).

#include "document/CVelmarisDoc.h"
#include "sim/SyntheticRecording.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace velmaris {
namespace {

class NullUi final : public DocumentUi {
public:
    void UpdateAllViews() override { }
    void RefreshStatusLine() override { }
    void RefreshDiagnostics() override { }
    void ResetDiagnostics() override { }
    void SetWindowTitle(const std::string&) override { }
    void SetControlBars(ControlBars) override { }
    void RefreshSettingsPanel() override { }
    void HidePlaybackProgress() override { }
    void SettingsLoaded() override { }
    void RefreshMiniSettingsBar() override { }
    bool SettingsPanelExists() const override { return false; }
    void RepaintAllViews() override { }
    void CreateFloatingWindows() override { }
};

class NullTimers final : public TimerHost {
public:
    void SetTimer(int, int) override { }
    void KillTimer(int) override { }
};

class NullSerial final : public SerialLink {
public:
    SerialOpenResult Open(int, int, bool) override { return SerialOpenResult::Ok; }
    void RequestTransfer(std::span<const std::uint8_t, kCommandSize>) override { }
    void SetSuspended(bool) override { }
    void SetRtsMode(bool) override { }
    void Close() override { }
    void Quit() override { }
};

class NullTcp final : public TcpLink {
public:
    bool Connect(const std::string&, int) override { return false; }
    bool Send(std::span<const std::uint8_t>) override { return true; }
    void Close() override { }
};

class NullUdp final : public UdpLink {
public:
    bool Open(int) override { return true; }
    void Close() override { }
};

class NullReporter final : public Reporter {
public:
    void ShowMessage(const std::string&) override { }
};

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

    NullUi ui;
    NullTimers timers;
    NullSerial serial;
    NullTcp tcp;
    NullUdp udp;
    NullReporter reporter;
    auto doc = std::make_unique<CVelmarisDoc>(ui, CycleLinks {timers, serial, tcp, udp}, reporter);
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
