#pragma once
// Weights that blend the three most recent lines L1, L2, L3 into the
// sub-lines of one fan. Each table is named by its row count; every row sums
// to 200. Built once with the document.

#include <array>
#include <cstdint>

namespace velmaris {

struct BlendRow {
    int w1; // weight of L1, the oldest line
    int w2;
    int w3; // weight of L3, the newest line
};

// The sub-lines painted for one head step: count rows starting at rows[0].
// count 0 (rows null) for a step code without a fan.
struct SubLineSelection {
    int count = 0;
    const BlendRow* rows = nullptr;
};

// Blends count samples of the lines l1, l2, l3 with one row of weights
// (non-negative, total at most 256) into the levels trunc(sum x 0.005),
// written to out[0 .. count). Integer arithmetic only, 16 samples at a time
// where the processor allows; the results equal Level(sum).
void BlendLevels(const std::uint8_t* l1, const std::uint8_t* l2, const std::uint8_t* l3, const BlendRow& w,
    int count, std::uint8_t* out);

// The fan's pixel values for a mix weight of 2^-shift (shift 0..8): each
// blended level v becomes min(max(v >> shift, 1), 117), in the same pass.
void BlendPixelValues(const std::uint8_t* l1, const std::uint8_t* l2, const std::uint8_t* l3,
    const BlendRow& w, int count, int shift, std::uint8_t* out);

class BlendTable {
public:
    BlendTable();

    const std::array<BlendRow, 7>& T7() const { return t7_; }
    const std::array<BlendRow, 11>& T11() const { return t11_; }
    const std::array<BlendRow, 21>& T21() const { return t21_; }
    const std::array<BlendRow, 41>& T41() const { return t41_; }

    // Largest blended sum: three bytes of 255 under weights summing to 200.
    static constexpr int kMaxSum = 255 * 200;

    // The blended sample trunc(sum x 0.005) for a sum 0..kMaxSum, without
    // floating point. The double nearest 0.005 lies above it, so the product
    // never rounds below a whole number it reaches, and a sum that is not a
    // multiple of 200 stays at least 1/200 short of the next one: the
    // result is the integer quotient (checked over the whole span by test).
    static int Level(int sum) { return sum / 200; }

    // Step 1: 7 rows of T7; 2: 11 of T11; 3: rows 2..18 of T21; 4: T21;
    // 5 and 8: T41; 6: rows 0..20 of T41; any other step: none.
    SubLineSelection ForStep(int step) const;

private:
    std::array<BlendRow, 7> t7_ {};
    std::array<BlendRow, 11> t11_ {};
    std::array<BlendRow, 21> t21_ {};
    std::array<BlendRow, 41> t41_ {};
};

} // namespace velmaris
