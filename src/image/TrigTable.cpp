#include "image/TrigTable.h"

#include <algorithm>
#include <cmath>

namespace velmaris {

namespace {

constexpr double kCos[TrigTable::kEntries] = {
#include "image/TrigTableCos.inc"
};

constexpr double kSin[TrigTable::kEntries] = {
#include "image/TrigTableSin.inc"
};

} // namespace

const double* TrigTable::CosValues()
{
    return kCos;
}

const double* TrigTable::SinValues()
{
    return kSin;
}

int TrigTable::IndexForAngle(double a)
{
    double b = a - 90;
    if (b < 0)
        b += 360;
    if (b >= 360)
        b -= 360;
    const double q = b / kStepDegrees;
    if (q > -1.0 && q < kEntries) {
        return static_cast<int>(q); // truncation toward zero, as for every pixel coordinate
    }
    if (!std::isfinite(b))
        return -1;
    b = std::fmod(b, 360.0);
    if (b < 0)
        b += 360;
    if (b >= 360)
        b -= 360;
    return std::clamp(static_cast<int>(b / kStepDegrees), 0, 7199);
}

} // namespace velmaris
