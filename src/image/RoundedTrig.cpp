#include "image/RoundedTrig.h"

#include <cmath>

namespace velmaris {

namespace {

// A value as the unevaluated sum hi + lo, |lo| at most half an ulp of hi.
struct Dd {
    double hi;
    double lo;
};

Dd TwoSum(double a, double b)
{
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

Dd QuickTwoSum(double a, double b)
{
    const double s = a + b;
    return {s, b - (s - a)};
}

void Split(double a, double& hi, double& lo)
{
    const double t = 134217729.0 * a; // 2^27 + 1
    hi = t - (t - a);
    lo = a - hi;
}

Dd TwoProd(double a, double b)
{
    const double p = a * b;
    double ah, al, bh, bl;
    Split(a, ah, al);
    Split(b, bh, bl);
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

Dd Add(Dd a, Dd b)
{
    Dd s = TwoSum(a.hi, b.hi);
    const Dd t = TwoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = QuickTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return QuickTwoSum(s.hi, s.lo);
}

Dd Mul(Dd a, Dd b)
{
    Dd p = TwoProd(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return QuickTwoSum(p.hi, p.lo);
}

Dd Div(Dd a, double b)
{
    const double q1 = a.hi / b;
    const Dd p = TwoProd(q1, b);
    const Dd r = Add(a, {-p.hi, -p.lo});
    return QuickTwoSum(q1, r.hi / b);
}

// pi/2 to about 107 bits.
constexpr Dd kHalfPi {1.5707963267948966, 6.123233995736766e-17};
constexpr int kTerms = 14; // (pi/4)^28 / 28! is far below 2^-106

// (-1)^m / (2m)! for cos (powers 2, 4, ...) and (-1)^m / (2m+1)! for sin
// (powers 3, 5, ...).
struct Coefficients {
    Dd cosine[kTerms];
    Dd sine[kTerms];
    Coefficients()
    {
        Dd c {1.0, 0.0}; // 1/0!
        for (int n = 1; n <= 2 * kTerms + 1; ++n) {
            c = Div(c, n);
            const int i = n / 2 - 1;
            const Dd signed_ = (n / 2) % 2 ? Dd {-c.hi, -c.lo} : c;
            if (n % 2 == 0)
                cosine[i] = signed_;
            else if (i >= 0)
                sine[i] = signed_;
        }
    }
};

const Coefficients& Series()
{
    static const Coefficients c;
    return c;
}

// sin and cos of r, |r| <= pi/4 (a little beyond is fine), as double-doubles.
void SinCosReduced(Dd r, Dd& sine, Dd& cosine)
{
    const Coefficients& c = Series();
    const Dd r2 = Mul(r, r);
    Dd s = c.sine[kTerms - 1];
    Dd k = c.cosine[kTerms - 1];
    for (int i = kTerms - 2; i >= 0; --i) {
        s = Add(c.sine[i], Mul(r2, s));
        k = Add(c.cosine[i], Mul(r2, k));
    }
    sine = Add(r, Mul(r, Mul(r2, s))); // r + r^3 (-1/3! + ...)
    cosine = Add({1.0, 0.0}, Mul(r2, k)); // 1 + r^2 (-1/2! + ...)
}

// The quarter turn of x and the sine and cosine of what is left.
int Reduce(double x, Dd& sine, Dd& cosine)
{
    const double n = std::nearbyint(x / kHalfPi.hi);
    const Dd turn = Add(TwoProd(kHalfPi.hi, n), TwoProd(kHalfPi.lo, n));
    SinCosReduced(Add({x, 0.0}, {-turn.hi, -turn.lo}), sine, cosine);
    return static_cast<int>(((static_cast<long long>(n) % 4) + 4) % 4);
}

} // namespace

constexpr double kReducible = 1e6;

double RoundedSin(double radians)
{
    if (!(std::fabs(radians) < kReducible))
        return std::sin(radians);
    Dd s, c;
    switch (Reduce(radians, s, c)) {
    case 0:
        return s.hi;
    case 1:
        return c.hi;
    case 2:
        return -s.hi;
    default:
        return -c.hi;
    }
}

double RoundedCos(double radians)
{
    if (!(std::fabs(radians) < kReducible))
        return std::cos(radians);
    Dd s, c;
    switch (Reduce(radians, s, c)) {
    case 0:
        return c.hi;
    case 1:
        return -s.hi;
    case 2:
        return -c.hi;
    default:
        return s.hi;
    }
}

} // namespace velmaris
