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
    std::uint64_t unfilled; // the transcription leaving the gaps above 1500 m/s
};

// Paints the sequence with the painters and with the plain transcription.
// The speed of sound runs from 1400 m/s up by speedStep per ping.
Sums PaintSequence(DisplayMode mode, double speedStep)
{
    static PaintTables tables;
    ImageRaster raster;
    ScanLineHistory h;
    reference::Image ref;
    reference::Image unfilled;
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
        in.speedOfSound = 1400 + ping * speedStep;
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
        if (mode == DisplayMode::SideScan) {
            reference::PaintSideScan(ref, refHistory, in);
            reference::PaintSideScan(unfilled, refHistory, in, reference::Gaps::Leave);
        } else {
            reference::PaintSector(ref, refHistory, in, tables.trig, tables.blend);
            reference::PaintSector(
                unfilled, refHistory, in, tables.trig, tables.blend, reference::Gaps::Leave);
        }
    }
    return {testing::Checksum(raster), testing::Fnv1a(ref.px.data(), ref.px.size()),
        testing::Fnv1a(unfilled.px.data(), unfilled.px.size())};
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

// Speeds of 1400 to 1598.75 m/s: above 1500 the skipped pixels are filled,
// which is all that sets the pictures apart from the unfilled ones.
TEST(PaintGoldenTest, SectorAndPolarSequence)
{
    const Sums sector = PaintSequence(DisplayMode::Sector, 1.25);
    EXPECT_EQ(sector.painted, 13828207850908268412ull);
    EXPECT_EQ(sector.reference, sector.painted);
    EXPECT_EQ(sector.unfilled, 16073157336189073903ull);
    EXPECT_EQ(PaintSequence(DisplayMode::Polar, 1.25).painted, sector.painted); // Polar paints like Sector
}

TEST(PaintGoldenTest, SideScanSequence)
{
    const Sums sums = PaintSequence(DisplayMode::SideScan, 1.25);
    EXPECT_EQ(sums.painted, 4372714860215702702ull);
    EXPECT_EQ(sums.reference, sums.painted);
    EXPECT_EQ(sums.unfilled, 16903159619528901291ull);
}

// Speeds of 1400 to 1499.4 m/s: the pictures painters have always made.
TEST(PaintGoldenTest, SequencesUpTo1500AreUnchanged)
{
    for (DisplayMode mode : {DisplayMode::Sector, DisplayMode::SideScan}) {
        const Sums sums = PaintSequence(mode, 0.625);
        EXPECT_EQ(sums.painted, mode == DisplayMode::Sector ? 11460765326762261075ull : 12419572704830819240ull)
            << CodeOf(mode);
        EXPECT_EQ(sums.unfilled, sums.painted);
        EXPECT_EQ(sums.reference, sums.painted);
    }
}

} // namespace
} // namespace velmaris
