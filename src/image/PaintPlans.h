#pragma once
// What the painters derive from the settings rather than from the ping:
// the fan's pixel radii and their samples, the pixel scale of blended
// levels, the waterfall's column-to-sample map and its byte-to-pixel table.
// They change only with the zoom, the speed of sound, the start delay
// (status offset, pulse length, data points, ping range) and the mix weight,
// so each is recomputed when one of its inputs differs from the last ping's
// (compared exactly) and reused otherwise: the pixels are those a
// recomputation every ping would give.
//
// Owned with the painting tables (one per document); user-interface thread
// only. Never fails: inputs a painter rejects never reach a plan.

#include <array>
#include <cstdint>
#include <vector>

#include "image/PaintInputs.h"

namespace velmaris {

// Pixel value of a blended level v (0..255): trunc(v x k), capped at 117
// and never 0, so a painted fan pixel always differs from a cleared one.
// The mix weights the settings offer (1, 0.5, 0.25, 0) are exact powers of
// two and reduce to a shift (-1: use the table).
struct FanScale {
    int shift = -1;
    std::array<std::uint8_t, 256> lut {};
};

// For every pixel radius that survives the radius cut: its distance from
// the origin and its sample index. They do not depend on the sub-line.
//
// Above 1500 m/s consecutive radii lie more than a pixel apart, and a
// sub-line running close to a pixel axis would skip a pixel now and then.
// Where two consecutive pixels of a sub-line are not neighbours, the stretch
// between their radii is split into `parts` pieces of at most a pixel, and
// the pixels those land on take the later sample. At and below 1500 m/s
// nothing is filled.
struct FanRadii {
    // How the sample index follows the radius index k: k itself, k / 2, or
    // neither (read `sample`).
    enum class Spread { Same, Halves, Other };

    std::vector<double> radius;
    std::vector<double> radiusTwice; // (r, r) per radius, for two products in one operation
    std::vector<std::uint16_t> sample;
    int count = 0;
    int samples = 0; // sample indices used: 0 .. samples - 1
    bool inside = false; // every pixel of every sub-line lands inside the raster
    int parts = 1; // 1: no filling
    double widestStep = 0; // largest distance between consecutive radii
    Spread spread = Spread::Other;
};

// The waterfall's top row: column x0 + first + c shows sample column[c],
// for c in 0 .. column.size() - 1, as pixel lut[echo byte]; a kHole column
// keeps what it had (none is left unless rounding skips a column just
// under 1500 m/s).
struct SideScanColumns {
    static constexpr std::uint16_t kHole = 0xFFFF;
    int x0 = 0; // trunc(250 z)
    int first = 0; // first painted column after x0
    std::vector<std::uint16_t> column;
    bool holes = false;
    std::array<std::uint8_t, 256> lut {};
};

// The pixel value of each echo byte as the fan paints it (the FanScale
// table of the mix weight) and as the waterfall paints it (scaled, kept to
// 8 bits, capped at 117; 0 stays 0).
std::array<std::uint8_t, 256> FanPixelLevels(double mixWeight);
std::array<std::uint8_t, 256> SideScanPixelLevels(double mixWeight);

class PaintPlans {
public:
    // The fan's radii for these inputs and their geometry.
    const FanRadii& Radii(const PaintInputs& in, const PaintGeometry& geo);
    const FanScale& Scale(double mixWeight);

    // The waterfall's top row for these inputs and their geometry.
    const SideScanColumns& Columns(const PaintInputs& in, const PaintGeometry& geo);

private:
    // The inputs a plan was made from; `made` false until the first.
    struct Key {
        bool made = false;
        int radiusPx = 0;
        double zoom = 0, speed = 0, startDelay = 0, mixWeight = 0;
        bool Matches(const Key& other) const;
    };

    Key radiiKey_;
    FanRadii radii_;
    Key scaleKey_;
    FanScale scale_;
    Key columnsKey_;
    Key columnLutKey_;
    SideScanColumns columns_;
};

} // namespace velmaris
