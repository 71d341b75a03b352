#pragma once
// Sine and cosine rounded to the nearest double, computed with basic
// arithmetic only (double-double steps, no fused multiply-add), so every
// platform and C library gets the same bits. The painted pixels depend on
// these values; the C libraries' own sin and cos may differ in the last bit.
// Arguments beyond a million radians (and not finite) fall back to the C
// library; the painters' angles lie within a few turns.

namespace velmaris {

double RoundedSin(double radians);
double RoundedCos(double radians);

} // namespace velmaris
