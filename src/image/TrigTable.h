#pragma once
// Cosine and sine of every 0.05 degree, so painting needs no trigonometric
// calls per pixel. Entry k holds the values for k x 0.05 degrees with the
// angle converted to radians through the constant 3.1415926 (not full pi);
// the painted pixels depend on these exact values, which are the nearest
// doubles (RoundedTrig), the same on every platform.
//
// The values are compiled in (TrigTableCos.inc, TrigTableSin.inc, generated
// from RoundedTrig and checked against it by the tests), so no start-up pays
// for computing them. A table is a view of that constant data: copyable,
// read-only, safe from any thread.

namespace velmaris {

class TrigTable {
public:
    static constexpr int kEntries = 36000;
    static constexpr double kStepDegrees = 0.05;

    TrigTable() = default;

    // k must lie in 0..kEntries-1 (IndexForAngle only returns such indices).
    double Cos(int k) const { return cos_[k]; }
    double Sin(int k) const { return sin_[k]; }

    // Table index of a sweep angle in degrees (0 up, clockwise): b = a - 90,
    // wrapped once into 0..360, index trunc(b / 0.05). An angle whose index
    // would fall outside the table (heads far out of range, large image
    // rotations) is reduced into [0, 360) first. Returns -1 for an angle
    // that is not a finite number.
    static int IndexForAngle(double a);

    // The compiled-in columns, kEntries values each.
    static const double* CosValues();
    static const double* SinValues();

private:
    const double* cos_ = CosValues();
    const double* sin_ = SinValues();
};

} // namespace velmaris
