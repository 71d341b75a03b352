// velmaris-tool's streaming commands on 10,000-ping polar recordings:
// replay as fast as the socket takes it and at 20 pings a second (how late
// each datagram leaves), export with and without samples, and the frames of
// an animation: its frames alone (painting and sampling), and the whole
// command's work with the GIF and the MP4 encoder writing the file, against
// the goal of 50,000 pings a second (`of_goal`: the measured rate over it).

#include "Animation.h"
#include "AnimationFrames.h"
#include "DatagramSender.h"
#include "ExportColumns.h"
#include "RecordCursor.h"
#include "ReplayPacing.h"
#include "ToolDocument.h"

#include "BenchRecording.h"
#include "files/RecordReader.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace velmaris::tool {
namespace {

constexpr int kPings = 10000;

const std::string& PolarRecording()
{
    static const std::string path = [] {
        sim::SynthOptions options;
        options.pings = kPings;
        options.command.mode = sim::SimMode::Polar;
        return WriteBenchRecording("toolbench", options);
    }();
    return path;
}

// A UDP socket on 127.0.0.1 that is never read: the kernel drops what does
// not fit, as it would for a station too slow to keep up.
struct SilentReceiver {
    SilentReceiver()
    {
        fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa {};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        socklen_t length = sizeof sa;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &length);
        address = "127.0.0.1:" + std::to_string(ntohs(sa.sin_port));
    }
    ~SilentReceiver() { ::close(fd); }
    int fd = -1;
    std::string address;
};

struct Sending {
    Sending()
    {
        DatagramTarget target;
        ParseDatagramTarget(receiver.address, 0, target, nullptr);
        sender.Open(target, nullptr);
    }
    SilentReceiver receiver;
    DatagramSender sender;
};

// One replay pass as the command runs it: read, time, pace, send.
template <typename OnSent>
std::int64_t ReplayPass(ReplayPacer& pacer, Sending& sending, std::int64_t limit, OnSent onSent)
{
    DataFile file;
    if (file.Open(PolarRecording()) != DataFile::OpenResult::Ok)
        throw std::runtime_error("cannot open the recording");
    RecordCursor cursor(file, SonarType::EthernetK52L);
    RecordTimingReader timing;
    RecordFrame frame;
    std::vector<std::uint8_t> buffer;
    std::int64_t sent = 0;
    while (sent < limit && cursor.Next(frame, [](std::int64_t, const RecordFrame&) {})) {
        const Nanoseconds elapsed = pacer.Pace(timing.Read(frame.header));
        sent += sending.sender.Send(cursor.WholeRecord(frame, buffer), nullptr)
            != DatagramSender::Result::Failed;
        onSent(elapsed);
    }
    return sent;
}

void BM_ReplayAsFastAsPossible(benchmark::State& bench)
{
    PolarRecording(); // written before the timing starts
    Sending sending;
    SteadyReplayClock clock;
    std::int64_t sent = 0;
    for (auto _ : bench) {
        ReplayPacer pacer(clock, 0.0);
        sent += ReplayPass(pacer, sending, kPings, [](Nanoseconds) {});
    }
    bench.SetItemsProcessed(sent);
}
BENCHMARK(BM_ReplayAsFastAsPossible)->Unit(benchmark::kMillisecond);

// 40 datagrams recorded 50 ms apart (two seconds): how long after its
// recorded moment each one left.
void BM_ReplayAt20PingsPerSecond(benchmark::State& bench)
{
    PolarRecording();
    Sending sending;
    SteadyReplayClock clock;
    double worstUs = 0, totalUs = 0;
    std::int64_t withinOneMs = 0;
    std::int64_t sent = 0;
    for (auto _ : bench) {
        ReplayPacer pacer(clock, 1.0);
        DataFile file;
        if (file.Open(PolarRecording()) != DataFile::OpenResult::Ok)
            throw std::runtime_error("cannot open the recording");
        RecordCursor cursor(file, SonarType::EthernetK52L);
        RecordFrame frame;
        std::vector<std::uint8_t> buffer;
        const Nanoseconds origin = clock.Now(); // the pacer's origin is taken just after
        for (int n = 0; n < 40 && cursor.Next(frame, [](std::int64_t, const RecordFrame&) {}); ++n) {
            const RecordTiming timing {std::int64_t(5) * n, 50};
            const Nanoseconds elapsed = pacer.Pace(timing);
            sending.sender.Send(cursor.WholeRecord(frame, buffer), nullptr);
            const Nanoseconds now = clock.Now();
            const double lateUs = std::chrono::duration<double, std::micro>(now - origin - elapsed).count();
            worstUs = std::max(worstUs, lateUs);
            totalUs += lateUs;
            withinOneMs += lateUs <= 1000.0;
            ++sent;
        }
    }
    bench.counters["worst_late_us"] = worstUs;
    bench.counters["mean_late_us"] = totalUs / double(std::max<std::int64_t>(sent, 1));
    bench.counters["within_1ms_pct"] = 100.0 * double(withinOneMs) / double(std::max<std::int64_t>(sent, 1));
    bench.SetItemsProcessed(sent);
}
BENCHMARK(BM_ReplayAt20PingsPerSecond)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void Export(benchmark::State& bench, bool samples)
{
    PolarRecording();
    std::FILE* sink = std::fopen("/dev/null", "wb");
    std::int64_t rows = 0;
    for (auto _ : bench) {
        ToolDocument doc;
        DataFile file;
        SonarType fileType = SonarType::SerialK52A;
        OpenDataFile(PolarRecording(), file, fileType);
        CsvLine header;
        ExportHeader(header, samples);
        std::fwrite(header.Text().data(), 1, header.Text().size(), sink);
        std::int64_t walked = 0;
        if (!ExportRecords(file, fileType, doc, sink, samples, nullptr, walked)) {
            bench.SkipWithError("the export's writes failed");
            break;
        }
        rows += walked;
    }
    std::fclose(sink);
    bench.SetItemsProcessed(rows);
}
void BM_ExportPolar(benchmark::State& bench)
{
    Export(bench, false);
}
void BM_ExportPolarWithSamples(benchmark::State& bench)
{
    Export(bench, true);
}
BENCHMARK(BM_ExportPolar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPolarWithSamples)->Unit(benchmark::kMillisecond);

// The default animation: a 1000 x 1000 frame after every 20 pings
// (argument: the frame width).
void BM_AnimatePolarFrames(benchmark::State& bench)
{
    const int width = static_cast<int>(bench.range(0));
    PolarRecording();
    std::int64_t pings = 0, frames = 0;
    for (auto _ : bench) {
        ToolDocument doc;
        DataFile file;
        SonarType fileType = SonarType::SerialK52A;
        OpenDataFile(PolarRecording(), file, fileType);
        const FrameSampler sampler(PaintedSide(doc.settings.zoom), width);
        const AnimationCounts counts
            = PlayIntoFrames(file, fileType, doc, sampler, 20, [](const std::uint8_t* const* rows) {
                  benchmark::DoNotOptimize(rows[0][0]);
                  return true;
              });
        pings += counts.pings;
        frames += counts.frames;
    }
    bench.SetItemsProcessed(pings);
    bench.counters["frames"] = double(frames) / double(bench.iterations());
}
BENCHMARK(BM_AnimatePolarFrames)->Arg(1000)->Arg(400)->Unit(benchmark::kMillisecond);

constexpr double kAnimateGoalPingsPerSecond = 50000;

// `render --animate` as the command runs it, the default 1000 x 1000 frame
// after every 20 pings, encoder and file included (the file is written
// beside the recording and removed).
void AnimateWhole(benchmark::State& bench, AnimationFormat format)
{
    PolarRecording();
    AnimationRequest request;
    request.input = PolarRecording();
    request.output = PolarRecording() + (format == AnimationFormat::Gif ? ".gif" : ".mp4");
    request.format = format;
    // Each run's closing line goes to /dev/null, not between the results.
    const int savedStderr = ::dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ::dup2(null, STDERR_FILENO);
    std::int64_t pings = 0;
    const std::clock_t cpuStart = std::clock(); // every thread of the process
    for (auto _ : bench) {
        if (RunAnimation(request) != 0) {
            bench.SkipWithError("the animation failed");
            break;
        }
        pings += kPings;
    }
    ::dup2(savedStderr, STDERR_FILENO);
    ::close(savedStderr);
    ::close(null);
    std::filesystem::remove(request.output);
    bench.SetItemsProcessed(pings);
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    bench.counters["of_goal"]
        = benchmark::Counter(double(pings) / kAnimateGoalPingsPerSecond, benchmark::Counter::kIsRate);
    // The same over the processor time of all its threads (painting, coding).
    bench.counters["cpu_of_goal"]
        = cpuSeconds > 0 ? double(pings) / cpuSeconds / kAnimateGoalPingsPerSecond : 0;
}
void BM_AnimatePolarGif(benchmark::State& bench)
{
    AnimateWhole(bench, AnimationFormat::Gif);
}
// The frames are coded on a second thread while the next are painted: the
// command's rate is by the clock (of_goal); cpu_of_goal counts both threads.
BENCHMARK(BM_AnimatePolarGif)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
void BM_AnimatePolarMp4(benchmark::State& bench)
{
    AnimateWhole(bench, AnimationFormat::Mp4);
}
// Painting and coding on one thread: by the clock, and cpu_of_goal.
BENCHMARK(BM_AnimatePolarMp4)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
} // namespace velmaris::tool
