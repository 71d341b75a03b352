#include "image/SonarBitmap.h"

#include "image/RoundedTrig.h"

#include <algorithm>
#include <cmath>

namespace velmaris {
namespace {

std::uint8_t Cap255(int v)
{
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

Rgb Make(int r, int g, int b)
{
    return {Cap255(r), Cap255(g), Cap255(b)};
}

} // namespace

Rgb BaseColor(int n)
{
    if (n <= 3) {
        static constexpr int kBlue[4] = {0, 1, 3, 5};
        return Make(0, 0, kBlue[std::max(n, 0)]);
    }
    if (n <= 18)
        return Make(0, 0, 5 * (n - 2));
    if (n <= 34)
        return Make(0, 20 + 5 * (n - 19), 80 - 5 * (n - 19));
    if (n <= 39)
        return Make(0, 100 + 5 * (n - 35), 0);
    if (n == 40)
        return Make(5, 125, 0);
    if (n == 41)
        return Make(10, 130, 0);
    if (n <= 48)
        return Make(20, 135 + 5 * (n - 42), 0);
    if (n == 49)
        return Make(40, 170, 0);
    if (n <= 52)
        return Make(60 + 10 * (n - 50), 175 + 5 * (n - 50), 0);
    if (n <= 58)
        return Make(90 + 10 * (n - 53), 175 - 10 * (n - 53), 0);
    if (n == 59)
        return Make(150, 110, 0);
    if (n == 60)
        return Make(155, 105, 0);
    if (n <= 69)
        return Make(160 + 5 * (n - 61), 100, 0);
    if (n <= 72)
        return Make(205 + 5 * (n - 70), 105 + 5 * (n - 70), 0);
    if (n <= 78)
        return Make(210 - 10 * (n - 73), 120 + 5 * (n - 73), 0);
    if (n <= 88)
        return Make(150 + 5 * (n - 79), 150 + 5 * (n - 79), 0);
    if (n <= 98)
        return Make(200 + 5 * (n - 89), 200 + 5 * (n - 89), 50 + 10 * (n - 89));
    if (n <= 111) {
        const int g = 180 + 5 * (n - 99);
        return Make(g, g, g);
    }
    if (n <= 114)
        return Make(240, 240, 240);
    return Make(160, 0, 0);
}

CSonarBitmap::CSonarBitmap()
{
    BuildColorTables();
}

void CSonarBitmap::BuildColorTables()
{
    for (ColorTable& t : tables_) {
        t.fill(Rgb {});
    }
    for (int n = 0; n < kDefinedColorEntries; ++n) {
        const Rgb base = BaseColor(n);
        tables_[0][n] = {Cap255(static_cast<int>(base.red * 1.5)), Cap255(static_cast<int>(base.green * 1.5)),
            Cap255(static_cast<int>(base.blue * 1.5))};
        tables_[1][n] = base;
        const std::uint8_t g = Cap255(static_cast<int>(2.5 * n));
        tables_[2][n] = {0, g, 0};
        tables_[3][n] = {g, g, g};
        const std::uint8_t q = Cap255(static_cast<int>((118 - n) * 1.8));
        tables_[4][n] = {q, q, q};
        const double phi = n * 0.5 * 3.1415926 / 118;
        const std::uint8_t s = Cap255(static_cast<int>(RoundedSin(phi) * 255 * 1.2));
        const std::uint8_t k = Cap255(static_cast<int>((255 - 255 * RoundedCos(phi)) * 1.2));
        tables_[5][n] = {s, k, 0};
        tables_[6][n] = {0, s, k};
        tables_[7][n] = {k, s, 0};
        tables_[8][n] = {0, k, s};
    }
}

const ColorTable& CSonarBitmap::Table(int index) const
{
    return tables_[index >= 0 && index < kColorTableCount ? index : 0];
}

DrawingPalette CSonarBitmap::Palette(int index) const
{
    DrawingPalette palette {};
    const ColorTable& t = Table(index);
    for (int n = 0; n < kColorTableEntries; ++n) {
        palette[4 * n] = t[n].blue;
        palette[4 * n + 1] = t[n].green;
        palette[4 * n + 2] = t[n].red;
        palette[4 * n + 3] = 0;
    }
    return palette;
}

} // namespace velmaris
