// What keeping a recording on the device costs. The keeper flushes once a
// second, off the ping path: BM_RecordFlushOneSecond times one flush
// (fdatasync) of a second of pings (20 pings of 640 bytes, a fast K52L),
// which the keeper thread waits for; BM_RecordAppend times the ping path's
// own part, one record handed to the system while the keeper runs beside
// it. The flush's cost is the device's: run the benchmark on the disk that
// takes the recordings (VELMARIS_BENCH_FOLDER, default the temporary folder).

#include "files/PlatformFiles.h"
#include "files/RecordWriter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmaris {
namespace {

constexpr int kPingsPerSecond = 20;
const std::vector<std::uint8_t> kRecord(640, 0x5A);

std::string BenchFile()
{
    const char* folder = std::getenv("VELMARIS_BENCH_FOLDER");
    const std::filesystem::path base
        = folder ? std::filesystem::path(folder) : std::filesystem::temp_directory_path();
    return (base / ("velmaris-flush-bench-" + std::to_string(getpid()) + ".52l")).string();
}

class QuietReporter final : public Reporter {
    void Report(const std::string&, MessageIcon) override { }
};

void BM_RecordFlushOneSecond(benchmark::State& state)
{
    const std::string path = BenchFile();
    AppendFile file;
    std::string error;
    if (!file.Create(path, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kPingsPerSecond; ++i) {
            if (!file.Write(kRecord, error)) {
                state.SkipWithError(error.c_str());
                return;
            }
        }
        state.ResumeTiming();
        if (!file.Flush(error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.counters["bytes_per_flush"] = kPingsPerSecond * double(kRecord.size());
    file.Close();
    std::filesystem::remove(path);
}
BENCHMARK(BM_RecordFlushOneSecond)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RecordAppend(benchmark::State& state)
{
    const std::string path = BenchFile();
    QuietReporter reporter;
    RecordWriter writer(reporter);
    if (!writer.Open(path)) {
        state.SkipWithError(writer.LastError().c_str());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(writer.Append(kRecord));
    state.counters["flushes"] = double(writer.Flushes());
    writer.Close();
    std::filesystem::remove(path);
}
BENCHMARK(BM_RecordAppend)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(50000);

} // namespace
} // namespace velmaris
