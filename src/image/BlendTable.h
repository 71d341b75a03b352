#pragma once
// Weights that blend the three most recent lines L1, L2, L3 into the
// sub-lines of one fan. Each table is named by its row count; every row sums
// to 200. Built once with the document.

#include <array>

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

class BlendTable {
public:
    BlendTable();

    const std::array<BlendRow, 7>& T7() const { return t7_; }
    const std::array<BlendRow, 11>& T11() const { return t11_; }
    const std::array<BlendRow, 21>& T21() const { return t21_; }
    const std::array<BlendRow, 41>& T41() const { return t41_; }

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
