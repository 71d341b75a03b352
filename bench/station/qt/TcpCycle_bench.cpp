// The K52L cycle on loopback with the real Qt links against the simulated
// head answering at once: time per ping (command out, reply back, decode,
// paint) and the latency from a decoded reply to the next command leaving.

#include "files/SettingsFile.h"
#include "links/qt/CSSocket.h"
#include "links/qt/CUdpSocket.h"
#include "links/qt/QtTimerHost.h"
#include "links/qt/SerialHeadLink.h"
#include "sim/TcpHeadServer.h"
#include "station/PingCycle.h"
#include "support/CycleFakes.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <filesystem>
#include <unistd.h>
#include <vector>
#include <stdexcept>

namespace velmaris {
namespace {

using testing::RecordingReporter;
using testing::RecordingUi;

// Notes when each command leaves, to measure the reply-to-command latency.
class TimedTcp final : public TcpLink {
public:
    explicit TimedTcp(CSSocket& socket)
        : socket_(socket)
    {
        clock_.start();
    }
    bool Connect(const std::string& host, int port) override { return socket_.Connect(host, port); }
    bool Send(std::span<const std::uint8_t> bytes) override
    {
        lastSendNs = clock_.nsecsElapsed();
        return socket_.Send(bytes);
    }
    void Close() override { socket_.Close(); }
    qint64 Now() const { return clock_.nsecsElapsed(); }
    qint64 lastSendNs = 0;

private:
    CSSocket& socket_;
    QElapsedTimer clock_;
};

// Forwards the link events and notes when each reply completed a ping.
class TimedEvents final : public LinkEvents {
public:
    TimedEvents(LinkEvents& inner, TimedTcp& tcp, const SonarState& state)
        : inner_(inner)
        , tcp_(tcp)
        , state_(state)
    { }
    void OnTimer(int id) override
    {
        const qint64 before = tcp_.lastSendNs;
        inner_.OnTimer(id);
        if (id == kSendTimer && tcp_.lastSendNs != before && decodedAt_ > 0)
            latenciesNs.push_back(tcp_.lastSendNs - decodedAt_);
    }
    void OnSerialTransfer(
        std::span<const std::uint8_t> r, bool open, std::span<const std::uint8_t> sent) override
    {
        inner_.OnSerialTransfer(r, open, sent);
    }
    void OnTcpConnected(bool ok) override { inner_.OnTcpConnected(ok); }
    void OnTcpBytes(std::span<const std::uint8_t> bytes) override
    {
        const int before = state_.ping.pingCount;
        inner_.OnTcpBytes(bytes);
        if (state_.ping.pingCount != before)
            decodedAt_ = tcp_.Now();
    }
    void OnTcpClosed() override { inner_.OnTcpClosed(); }
    void OnUdpDatagram(std::span<const std::uint8_t> d, std::size_t size) override
    {
        inner_.OnUdpDatagram(d, size);
    }
    std::vector<qint64> latenciesNs;

private:
    LinkEvents& inner_;
    TimedTcp& tcp_;
    const SonarState& state_;
    qint64 decodedAt_ = 0;
};

void BM_TcpCycleOnLoopback(benchmark::State& bench)
{
    const std::string folder = "/tmp/velmaris-bench-tcp-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const std::string ini = folder + "/Velmaris.INI";
    {
        SettingsFile file(ini);
        SonarSettings settings;
        settings.sonarType = SonarType::EthernetK52L;
        settings.ipAddress = "127.0.0.1";
        file.StoreKeys({"Sonar Type", "IP Address"}, settings, CommandMessage {});
        if (!file.Write())
            throw std::runtime_error("cannot write the settings file");
    }
    sim::TcpHeadOptions options;
    options.address = "127.0.0.1:0";
    options.fast = true;
    sim::TcpHeadServer head(options);
    std::string error;
    if (!head.Start(&error)) {
        bench.SkipWithError(error.c_str());
        return;
    }

    RecordingReporter reporter;
    RecordingUi ui;
    auto state = std::make_unique<SonarState>();
    RecordWriter recorder {reporter};
    DataFile playbackFile;
    QtTimerHost timers;
    SerialHeadLink serial;
    CSSocket socket;
    TimedTcp tcp {socket};
    CUdpSocket udp;
    PingCycle cycle {*state, CycleLinks {timers, serial, tcp, udp}, SteadyClock::Instance(), reporter, ui,
        recorder, playbackFile};
    TimedEvents events {cycle, tcp, *state};
    timers.SetEvents(&events);
    socket.SetEvents(&events);
    testing::FileSettingsReloader reloader {*state, ini};
    cycle.SetSettingsReloader(&reloader);
    cycle.Configure(CycleConfig {head.Port(), 0});
    cycle.StartRealTime();

    for (auto _ : bench) {
        const int target = state->ping.pingCount + 100;
        while (state->ping.pingCount < target)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    bench.SetItemsProcessed(bench.iterations() * 100);
    std::vector<qint64> latencies = events.latenciesNs;
    if (!latencies.empty()) {
        std::sort(latencies.begin(), latencies.end());
        bench.counters["reply_to_command_median_us"] = double(latencies[latencies.size() / 2]) / 1000.0;
        bench.counters["reply_to_command_p99_us"] = double(latencies[latencies.size() * 99 / 100]) / 1000.0;
    }
    cycle.Shutdown();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_TcpCycleOnLoopback)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace velmaris

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
