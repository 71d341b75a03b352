#pragma once
// Times of a product and its floor taken in pairs, one right after the
// other, so both see the same load on a shared machine. The ratio is the
// median of the pairs' ratios, which a burst of load during one side of a
// pair moves little; the times are the fastest seen.
#include <algorithm>
#include <vector>

namespace velmaris {

class FloorTiming {
public:
    void Add(double product, double floor)
    {
        fastestProduct_ = std::min(fastestProduct_, product);
        fastestFloor_ = std::min(fastestFloor_, floor);
        if (floor > 0) {
            ratios_.push_back(product / floor);
        }
    }
    double Product() const { return fastestProduct_; }
    double Floor() const { return fastestFloor_; }
    double Ratio() const
    {
        if (ratios_.empty()) {
            return 0;
        }
        std::vector<double> sorted = ratios_;
        const auto middle = sorted.begin() + std::ptrdiff_t(sorted.size() / 2);
        std::nth_element(sorted.begin(), middle, sorted.end());
        return *middle;
    }

private:
    double fastestProduct_ = 1e30;
    double fastestFloor_ = 1e30;
    std::vector<double> ratios_;
};

} // namespace velmaris
