#pragma once
// Helpers shared by the painting tests: checksums of whole images in logical
// row order and random but reproducible pings.

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "image/ImageRaster.h"
#include "image/PaintInputs.h"
#include "image/ScanLineHistory.h"

namespace velmaris::testing {

inline std::uint64_t Fnv1a(const std::uint8_t* p, std::size_t n, std::uint64_t h = 1469598103934665603ull)
{
    for (std::size_t i = 0; i < n; ++i) {
        h = (h ^ p[i]) * 1099511628211ull;
    }
    return h;
}

inline std::vector<std::uint8_t> Logical(const ImageRaster& raster)
{
    std::vector<std::uint8_t> out(ImageRaster::kBytes);
    raster.CopyAll(out.data());
    return out;
}

// How many pixels hold each value.
inline std::array<int, 256> Histogram(const ImageRaster& raster)
{
    std::array<int, 256> h {};
    for (int y = 0; y < ImageRaster::kHeight; ++y) {
        const std::uint8_t* row = raster.Row(y);
        for (int x = 0; x < ImageRaster::kWidth; ++x) {
            ++h[row[x]];
        }
    }
    return h;
}

inline std::uint64_t Checksum(const ImageRaster& raster)
{
    const std::vector<std::uint8_t> img = Logical(raster);
    return Fnv1a(img.data(), img.size());
}

// Stores `count` echo bytes into L0 from a smooth random profile with a few
// strong targets, the way the head's returns look.
inline void FillEchoes(ScanLineHistory& h, int count, std::mt19937& rng)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> base(0, 60);
    for (int n = 0; n < count; ++n) {
        h.l0[n] = std::uint8_t(n % 37 == 0 ? byte(rng) : base(rng));
    }
}

inline constexpr DisplayMode kEveryMode[] {DisplayMode::Sector, DisplayMode::Polar, DisplayMode::SideScan};

inline PaintInputs RandomInputs(std::mt19937& rng, DisplayMode mode)
{
    static constexpr int kSteps[] = {1, 2, 3, 4, 5, 6, 8, 0, 7};
    static constexpr double kZooms[] = {0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0};
    static constexpr double kWeights[] = {1.0, 0.0, 0.25, 0.5, 1.0, 0.3, 1.7};
    static constexpr int kOffsets[] = {-41, -18, 202, 112};
    static constexpr int kRanges[] = {1, 2, 3, 4, 5, 10, 20, 30, 40, 50, 60, 80, 100, 150, 200};
    std::uniform_real_distribution<double> angle(-30.0, 400.0);
    std::uniform_real_distribution<double> speed(1400.0, 1600.0);
    std::uniform_int_distribution<int> pick(0, 1000);
    PaintInputs in;
    in.displayMode = mode;
    in.dataPoints = pick(rng) % 2 ? 50 : 25;
    in.directionFlag = pick(rng) % 2;
    in.sonarUpDown = pick(rng) % 2;
    in.headAngle = angle(rng);
    in.step = kSteps[pick(rng) % 9];
    in.zoom = kZooms[pick(rng) % 7];
    in.speedOfSound = speed(rng);
    in.statusOffset = kOffsets[pick(rng) % 4];
    in.pulseLength = 1 + pick(rng) % 100;
    in.pingRange = kRanges[pick(rng) % 15];
    in.rangeSetting = kRanges[pick(rng) % 15];
    in.profileDispMode = pick(rng) % 5;
    in.mixWeight = kWeights[pick(rng) % 8 == 0 ? 5 + pick(rng) % 2 : in.profileDispMode];
    in.profilePointSize = pick(rng) % 3;
    for (ProfileEntry& e : in.profileHistory) {
        e.value = pick(rng) * 20.0 * in.pingRange / 200.0;
        e.angle = angle(rng);
    }
    return in;
}

} // namespace velmaris::testing
