// Navigation for one ping against a one-hour track (ten fixes, ten headings
// and ten course/speed sentences a second): the goal is under 1 us a ping,
// stamp parsing included. Pings come in time order, as in a playback or an
// export, and at random, as under a cursor; with the antenna offsets
// applied and a sample position computed from the head.

#include "files/TrackFile.h"
#include "links/Navigation.h"
#include "links/NmeaSentence.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace velmaris {
namespace {

constexpr int kSeconds = 3600;
constexpr int kPerSecond = 10;

std::string Nmea(const std::string& body)
{
    const auto sum = NmeaChecksumDigits(body);
    return "$" + body + "*" + sum[0] + sum[1];
}

const NavigationTrack& HourTrack()
{
    static const NavigationTrack track = [] {
        std::string text;
        for (int i = 0; i < kSeconds * kPerSecond; ++i) {
            const int centis = i * (100 / kPerSecond);
            const LocalTime t {
                2026, 12, 9, 10 + centis / 360000, centis / 6000 % 60, centis / 100 % 60, centis % 100 * 10};
            char rmc[160];
            std::snprintf(rmc, sizeof rmc,
                "GNRMC,%02d%02d%02d.%02d,A,5926.%06d,N,01041.%06d,E,5.0,45.0,091226,,", t.hour - 1, t.minute,
                t.second, centis % 100, i % 1000000, (i * 3) % 1000000);
            text += TrackLine(t, 60, Nmea(rmc));
            text += TrackLine(t, 60, Nmea("HEHDT," + std::to_string(i % 360) + ".0,T"));
            text += TrackLine(t, 60, Nmea("GNVTG,45.0,T,,M,5.0,N,9.3,K,A"));
        }
        return NavigationTrack::FromText(text);
    }();
    return track;
}

// Record header stamps of pings a tenth of a second apart.
struct PingStamp {
    std::string date, time, hundredths;
};

std::vector<PingStamp> Stamps(bool shuffled)
{
    std::vector<PingStamp> stamps;
    for (int i = 0; i < kSeconds * 10; i += 7) {
        char time[16];
        char hundredths[8];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", 10 + i / 36000, i / 600 % 60, i / 10 % 60);
        std::snprintf(hundredths, sizeof hundredths, ".%2d", i % 10 * 10 + 3);
        stamps.push_back({"09-DEC-2026", time, hundredths});
    }
    if (shuffled)
        std::shuffle(stamps.begin(), stamps.end(), std::mt19937(52));
    return stamps;
}

void NavigationPerPing(benchmark::State& state)
{
    const NavigationTrack& track = HourTrack();
    const std::vector<PingStamp> stamps = Stamps(state.range(0) != 0);
    const AntennaOffsets offsets {2.5, -0.8, 90};
    std::size_t at = 0;
    int withPosition = 0;
    for (auto _ : state) {
        const PingStamp& s = stamps[at];
        at = at + 1 == stamps.size() ? 0 : at + 1;
        const auto seconds = PingStampSeconds(s.date, s.time, s.hundredths);
        const PingNavigation nav = track.At(*seconds, offsets);
        const auto sample = PointFromHead(nav, offsets, 30.0, 45.0);
        withPosition += sample.has_value();
        benchmark::DoNotOptimize(sample);
    }
    state.counters["with_position"]
        = benchmark::Counter(static_cast<double>(withPosition) / static_cast<double>(state.iterations()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(NavigationPerPing)->ArgName("shuffled")->Arg(0)->Arg(1);

} // namespace
} // namespace velmaris
