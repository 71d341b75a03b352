// The head's wait on the wire in the real station: the station program runs
// (offscreen, its window 1920 x 1080 unless --size says otherwise) against
// the simulated K52L head answering at once on loopback, and the head
// times, for every ping, the gap from the last byte of its reply leaving to
// the next command arriving. Prints the median, p90 and p99 of that gap, and
// the time from starting the program to the head's first command against
// its goal of 100 ms (`of goal`: the goal over the time, 1 or more meets it).
//
//   bench_station_wire [--seconds N] [--warmup N] [--size WxH]
//                      [--station PATH] [--goal-us N] [--starts N]
//
// With --goal-us the exit status is 1 when the median is above the goal.
// With --starts N it only starts the station N times, each stopped once its
// first command has arrived, and prints the median, least and most time from
// starting it to that command (bench/first-command.sh does the same against
// `velmaris-tool headsim` under Xvfb).
// Not run by ctest: the figures depend on the machine and its load.

#include "files/SettingsFile.h"
#include "protocol/CommandMessage.h"
#include "protocol/SonarSettings.h"
#include "sim/TcpHeadServer.h"
#include "support/ChildProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>
#include <stdexcept>

namespace {

using namespace velmaris;

struct Options {
    int seconds = 10;
    int warmup = 3;
    int width = 1920;
    int height = 1080;
    std::string station = std::string(VELMARIS_BINARY_DIR) + "/bin/velmaris";
    double goalUs = 0;
    int starts = 0;
};

constexpr double kFirstCommandGoalMs = 100;

bool Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seconds" && hasValue)
            o.seconds = std::atoi(argv[++i]);
        else if (arg == "--warmup" && hasValue)
            o.warmup = std::atoi(argv[++i]);
        else if (arg == "--station" && hasValue)
            o.station = argv[++i];
        else if (arg == "--starts" && hasValue)
            o.starts = std::atoi(argv[++i]);
        else if (arg == "--goal-us" && hasValue)
            o.goalUs = std::atof(argv[++i]);
        else if (arg == "--size" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &o.width, &o.height) != 2)
                return false;
        } else
            return false;
    }
    return o.seconds > 0 && o.warmup >= 0 && o.width > 0 && o.height > 0 && o.starts >= 0;
}

double Percentile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0;
    const auto at = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(stderr,
            "usage: bench_station_wire [--seconds N] [--warmup N] [--size WxH] [--station PATH] "
            "[--goal-us N] [--starts N]\n");
        return 2;
    }
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("velmaris-wire-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "runtime");
    std::filesystem::permissions(dir / "runtime", std::filesystem::perms::owner_all);
    const std::string ini = (dir / "Velmaris.INI").string();
    {
        SettingsFile file(ini);
        SonarSettings settings;
        settings.sonarType = SonarType::EthernetK52L;
        settings.ipAddress = "127.0.0.1";
        file.StoreKeys({"Sonar Type", "IP Address"}, settings, CommandMessage {});
        if (!file.Write())
            throw std::runtime_error("cannot write the settings file");
    }
    const std::string screen = (dir / "screen.json").string();
    std::ofstream(screen) << "{\"screens\": [{\"name\": \"wire\", \"x\": 0, \"y\": 0, \"width\": " << o.width
                          << ", \"height\": " << o.height
                          << ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}\n";

    std::mutex mutex;
    std::vector<double> gapsUs;
    bool measuring = false;
    sim::TcpHeadOptions head;
    head.address = "127.0.0.1:0";
    head.fast = true;
    using Clock = std::chrono::steady_clock;
    Clock::time_point started {}, firstCommand {};
    head.log = [&](const std::string&) { // the head's line per command handled
        const std::lock_guard lock(mutex);
        if (firstCommand == Clock::time_point {})
            firstCommand = Clock::now();
    };
    sim::TcpHeadServer server(head);
    server.SetTurnaroundProbe([&](std::chrono::nanoseconds gap) {
        const std::lock_guard lock(mutex);
        if (measuring)
            gapsUs.push_back(static_cast<double>(gap.count()) / 1000.0);
    });
    std::string error;
    if (!server.Start(&error)) {
        std::fprintf(stderr, "bench_station_wire: %s\n", error.c_str());
        return 1;
    }

    const std::vector<std::string> environment {"QT_QPA_PLATFORM=offscreen:configfile=" + screen,
        "VELMARIS_HEAD_PORT=" + std::to_string(server.Port()), "VELMARIS_UDP_PORT=0", "HOME=" + dir.string(),
        "XDG_CONFIG_HOME=" + dir.string(), "XDG_RUNTIME_DIR=" + (dir / "runtime").string()};
    if (o.starts > 0) {
        std::vector<double> ms;
        for (int i = 0; i < o.starts; ++i) {
            {
                const std::lock_guard lock(mutex);
                firstCommand = Clock::time_point {};
            }
            started = Clock::now();
            tool::test::ToolProcess station(o.station, {"--ini", ini}, environment);
            for (int wait = 0; wait < 5000 && station.Started(); ++wait) {
                const std::lock_guard lock(mutex);
                if (firstCommand != Clock::time_point {})
                    break;
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            {
                const std::lock_guard lock(mutex);
                if (firstCommand != Clock::time_point {})
                    ms.push_back(std::chrono::duration<double, std::milli>(firstCommand - started).count());
            }
            station.Signal(SIGTERM);
            station.Wait();
        }
        server.Stop();
        std::filesystem::remove_all(dir);
        std::sort(ms.begin(), ms.end());
        if (ms.empty()) {
            std::fprintf(stderr, "bench_station_wire: no command arrived\n");
            return 1;
        }
        const double median = Percentile(ms, 0.5);
        std::printf(
            "station %s, window %dx%d: %zu starts\n", o.station.c_str(), o.width, o.height, ms.size());
        std::printf("start -> first command on the wire: median %.1f ms, least %.1f, most %.1f "
                    "(goal %.0f ms, of goal %.2f)\n",
            median, ms.front(), ms.back(), kFirstCommandGoalMs, kFirstCommandGoalMs / median);
        return 0;
    }

    started = Clock::now();
    tool::test::ToolProcess station(o.station, {"--ini", ini}, environment);
    if (!station.Started()) {
        std::fprintf(stderr, "bench_station_wire: cannot start %s\n", o.station.c_str());
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(o.warmup));
    const std::uint64_t pingsBefore = server.Pings();
    {
        const std::lock_guard lock(mutex);
        measuring = true;
    }
    std::this_thread::sleep_for(std::chrono::seconds(o.seconds));
    std::vector<double> gaps;
    {
        const std::lock_guard lock(mutex);
        measuring = false;
        gaps = gapsUs;
    }
    const std::uint64_t pings = server.Pings() - pingsBefore;
    station.Signal(SIGTERM);
    const int status = station.Wait();
    server.Stop();
    std::filesystem::remove_all(dir);

    std::sort(gaps.begin(), gaps.end());
    const double median = Percentile(gaps, 0.5);
    std::printf("station %s, window %dx%d, %d s\n", o.station.c_str(), o.width, o.height, o.seconds);
    std::printf("pings %llu (%.0f per second), gaps timed %zu\n", static_cast<unsigned long long>(pings),
        static_cast<double>(pings) / o.seconds, gaps.size());
    std::printf("reply -> next command on the wire: median %.1f us, p90 %.1f us, p99 %.1f us, max %.1f us\n",
        median, Percentile(gaps, 0.9), Percentile(gaps, 0.99), gaps.empty() ? 0.0 : gaps.back());
    if (firstCommand != Clock::time_point {}) {
        const double ms = std::chrono::duration<double, std::milli>(firstCommand - started).count();
        std::printf("start -> first command on the wire: %.1f ms (goal %.0f ms, of goal %.2f)\n", ms,
            kFirstCommandGoalMs, kFirstCommandGoalMs / ms);
    }
    if (status != 0)
        std::printf("the station exited with status %d\n", status);
    if (gaps.empty())
        return 1;
    return o.goalUs > 0 && median > o.goalUs ? 1 : 0;
}
