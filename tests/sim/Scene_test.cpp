#include "sim/Scene.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>

namespace velmaris::sim {
namespace {

using Echoes = std::array<std::uint8_t, 500>;

// Mean echo over samples [from, to) of a few pings swept across bearings.
double MeanEcho(PingGeometry ping, int from = 0, int to = 500, std::uint64_t seed = 7)
{
    Scene scene(seed);
    Echoes echoes {};
    double sum = 0.0;
    int count = 0;
    for (int k = 0; k < 12; ++k) {
        ping.bearingDegrees = -30.0 + 5.0 * k;
        scene.RenderPing(ping, echoes);
        sum += std::accumulate(echoes.begin() + from, echoes.begin() + to, 0.0);
        count += to - from;
    }
    return sum / count;
}

TEST(Scene, GainPulseLengthAndAbsorptionMoveEchoesTheExpectedWay)
{
    PingGeometry ping;
    ping.gainDb = 10;
    const double low = MeanEcho(ping);
    ping.gainDb = 25;
    const double high = MeanEcho(ping);
    EXPECT_GT(high, low + 15.0); // about two counts per dB

    ping.gainDb = 15;
    ping.pulseLength = 5;
    const double shortPulse = MeanEcho(ping, 250, 500);
    ping.pulseLength = 40;
    const double longPulse = MeanEcho(ping, 250, 500);
    EXPECT_GT(longPulse, shortPulse + 5.0); // a longer pulse lights more floor

    ping.pulseLength = 10;
    ping.absorption = 0;
    const double clearNear = MeanEcho(ping, 250, 330), clearFar = MeanEcho(ping, 420, 500);
    ping.absorption = 40;
    const double lossyNear = MeanEcho(ping, 250, 330), lossyFar = MeanEcho(ping, 420, 500);
    EXPECT_LT(lossyFar, clearFar - 10.0);
    EXPECT_GT(clearFar - lossyFar, clearNear - lossyNear); // the loss grows with range
}

// The quay wall lies 22 m to port; nothing but noise comes from behind it.
int LastEchoAbove(Scene& scene, int range, int threshold)
{
    PingGeometry ping;
    ping.bearingDegrees = -90.0;
    ping.rangeMetres = range;
    ping.gainDb = 20;
    Echoes echoes {};
    scene.RenderPing(ping, echoes);
    int last = -1;
    for (int i = 0; i < 500; ++i)
        if (echoes[i] > threshold)
            last = i;
    return last;
}

TEST(Scene, RangeScalesWhereAWallAppearsAndTheWallCastsAShadow)
{
    Scene scene(3);
    for (int range : {30, 50, 80}) {
        const int last = LastEchoAbove(scene, range, 40);
        ASSERT_GE(last, 0) << range;
        const double metres = (last + 0.5) * range / 500.0;
        EXPECT_NEAR(metres, 22.5, 1.0) << "range " << range;
    }
}

TEST(Scene, SameSeedRendersTheSameEchoes)
{
    Scene a(99), b(99);
    PingGeometry ping;
    ping.sideScan = true;
    ping.bearingDegrees = -90.0;
    Echoes ea {}, eb {};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(a.RenderPing(ping, ea), b.RenderPing(ping, eb));
        ASSERT_EQ(ea, eb);
        a.AdvanceVessel(0.2);
        b.AdvanceVessel(0.2);
    }
}

TEST(Scene, SideScanWaterfallShowsWaterColumnThenFloor)
{
    Scene scene(5);
    scene.AdvanceVessel(300.0); // clear of the harbour
    PingGeometry ping;
    ping.sideScan = true;
    ping.bearingDegrees = -90.0;
    ping.rangeMetres = 50;
    Echoes echoes {};
    double water = 0.0, floor = 0.0;
    for (int i = 0; i < 40; ++i) {
        scene.RenderPing(ping, echoes);
        scene.AdvanceVessel(0.15);
        // The head rides a few metres above the floor: the first metres are water.
        water += std::accumulate(echoes.begin(), echoes.begin() + 20, 0.0) / 20.0;
        floor += std::accumulate(echoes.begin() + 100, echoes.begin() + 200, 0.0) / 100.0;
    }
    EXPECT_GT(floor, water * 3.0);
}

} // namespace
} // namespace velmaris::sim
