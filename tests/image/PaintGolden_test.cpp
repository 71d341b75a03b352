// Pinned checksums of whole rasters after fixed ping sequences. Any change
// to the painting arithmetic (rounding, evaluation order, tables) shows up
// here, on every machine.
#include <cstring>

#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "ReferencePainter.h"
#include "image/ScanLinePainter.h"
#include "image/SonarBitmap.h"

namespace velmaris {
namespace {

// Deterministic echoes: no random engine, so the sequence cannot drift
// between standard libraries.
void SyntheticEchoes(ScanLineHistory& h, int ping, int count)
{
    for (int n = 0; n < count; ++n) {
        const int target = (n * 7 + ping * 13) % 97 == 0 ? 240 : 0;
        h.l0[n] = std::uint8_t(((n * 31 + ping * 17) % 53) + target / (1 + n % 3));
    }
}

struct Sums {
    std::uint64_t painted;
    std::uint64_t reference;
};

// Paints the sequence with the painters and with the plain transcription.
Sums PaintSequence(int mode)
{
    static const PaintTables tables;
    ImageRaster raster;
    ScanLineHistory h;
    reference::Image ref;
    ScanLineHistory refHistory;
    static constexpr int kSteps[] = {1, 2, 3, 4, 5, 6, 8, 3};
    static constexpr double kZooms[] = {1.0, 2.0, 0.5, 1.25};
    double angle = 10.0;
    for (int ping = 0; ping < 160; ++ping) {
        PaintInputs in;
        in.displayMode = mode;
        in.dataPoints = ping % 3 == 0 ? 25 : 50;
        in.step = kSteps[ping / 20];
        in.zoom = kZooms[ping / 40];
        in.directionFlag = (ping / 10) % 2;
        in.sonarUpDown = (ping / 80) % 2;
        angle += (in.directionFlag ? 1 : -1) * in.step * 0.3;
        in.headAngle = angle;
        in.statusOffset = ping % 2 ? 202 : -41;
        in.pulseLength = 4 + ping % 9;
        in.pingRange = 5 + ping % 30;
        in.rangeSetting = in.pingRange;
        in.speedOfSound = 1400 + ping * 1.25;
        in.profileDispMode = (ping / 5) % 5;
        in.mixWeight = ProfileMixWeightFor(in.profileDispMode);
        in.profilePointSize = ping % 3;
        for (int e = 0; e < 3; ++e) {
            in.profileHistory[e] = {in.pingRange * (20.0 + 10 * e + ping % 40), angle - e};
        }
        SyntheticEchoes(h, ping, in.dataPoints * 10);
        refHistory.l0 = h.l0;
        PaintPing(raster, h, in, tables);
        PrepareScanLine(refHistory, in.dataPoints);
        if (mode == kModeSideScan) {
            reference::PaintSideScan(ref, refHistory, in);
        } else {
            reference::PaintSector(ref, refHistory, in, tables.trig, tables.blend);
        }
    }
    return {testing::Checksum(raster), testing::Fnv1a(ref.px.data(), ref.px.size())};
}

TEST(PaintGoldenTest, TablesArePinned)
{
    const TrigTable trig;
    std::uint64_t sum = testing::Fnv1a(nullptr, 0);
    for (int k = 0; k < TrigTable::kEntries; ++k) {
        double v[2] = {trig.Cos(k), trig.Sin(k)};
        std::uint8_t bytes[sizeof v];
        std::memcpy(bytes, v, sizeof v);
        sum = testing::Fnv1a(bytes, sizeof bytes, sum);
    }
    EXPECT_EQ(sum, 4641249977994571661ull); // the nearest doubles, on every platform

    const CSonarBitmap bmp;
    std::uint64_t colours = testing::Fnv1a(nullptr, 0);
    for (int t = 0; t < kColorTableCount; ++t) {
        const DrawingPalette pal = bmp.Palette(t);
        colours = testing::Fnv1a(pal.data(), pal.size(), colours);
    }
    EXPECT_EQ(colours, 235007577316921149ull);
}

TEST(PaintGoldenTest, SectorAndPolarSequence)
{
    const Sums sector = PaintSequence(kModeSector);
    EXPECT_EQ(sector.painted, 16073157336189073903ull);
    EXPECT_EQ(sector.reference, sector.painted);
    EXPECT_EQ(PaintSequence(kModePolar).painted, sector.painted); // Polar paints like Sector
}

TEST(PaintGoldenTest, SideScanSequence)
{
    const Sums sums = PaintSequence(kModeSideScan);
    EXPECT_EQ(sums.painted, 16903159619528901291ull);
    EXPECT_EQ(sums.reference, sums.painted);
}

} // namespace
} // namespace velmaris
