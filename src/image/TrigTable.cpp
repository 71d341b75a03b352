#include "image/TrigTable.h"

#include "image/RoundedTrig.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmaris {

namespace {

// The values, computed once per process (the rounded sine and cosine take
// some tens of milliseconds for the whole table) and copied into each table.
struct Values {
    std::vector<double> cos;
    std::vector<double> sin;
    Values()
        : cos(TrigTable::kEntries)
        , sin(TrigTable::kEntries)
    {
        for (int k = 0; k < TrigTable::kEntries; ++k) {
            const double radians = k * TrigTable::kStepDegrees * 3.1415926 / 180;
            cos[static_cast<std::size_t>(k)] = RoundedCos(radians);
            sin[static_cast<std::size_t>(k)] = RoundedSin(radians);
        }
    }
};

const Values& SharedValues()
{
    static const Values values;
    return values;
}

} // namespace

TrigTable::TrigTable()
    : cos_(new double[kEntries])
    , sin_(new double[kEntries])
{
    const Values& v = SharedValues();
    std::copy(v.cos.begin(), v.cos.end(), cos_.get());
    std::copy(v.sin.begin(), v.sin.end(), sin_.get());
}

int TrigTable::IndexForAngle(double a)
{
    double b = a - 90;
    if (b < 0) {
        b += 360;
    }
    if (b >= 360) {
        b -= 360;
    }
    const double q = b / kStepDegrees;
    if (q > -1.0 && q < kEntries) {
        return int(q); // truncation toward zero, as for every pixel coordinate
    }
    if (!std::isfinite(b)) {
        return -1;
    }
    b = std::fmod(b, 360.0);
    if (b < 0) {
        b += 360;
    }
    if (b >= 360) {
        b -= 360;
    }
    return std::clamp(int(b / kStepDegrees), 0, 7199);
}

} // namespace velmaris
