#pragma once
// The nine colour tables that turn raster values into screen colours, and
// the drawing palette made from the selected one.
//
// Owned by the document; filled once at construction and read-only after,
// so any thread may read it.

#include <array>
#include <cstdint>

namespace velmaris {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr int kColorTableCount = 9;
inline constexpr int kColorTableEntries = 256;
inline constexpr int kDefinedColorEntries = 119; // entries 0..118; the rest stay black

using ColorTable = std::array<Rgb, kColorTableEntries>;
// 256 palette entries of four bytes each: blue, green, red, 0.
using DrawingPalette = std::array<std::uint8_t, 4 * kColorTableEntries>;

// The "Normal  &Low" table: black through dark blue, green, orange and
// yellow to light grey, then dark red for the strongest echoes. n is 0..118.
Rgb BaseColor(int n);

class CSonarBitmap {
public:
    CSonarBitmap(); // builds the tables

    // Fills the nine tables from the base table: 0 "Normal  &High", 1
    // "Normal  &Low", 2 "Gr&een", 3 "&Grey", 4 "&Reverse Grey",
    // 5 "&Brown / Yellow", 6 "Gree&n / Blue", 7 "Green / &Yellow", 8 "Bl&ue".
    void BuildColorTables();

    // Table by `ColorTable` index; an index outside 0..8 gives table 0.
    const ColorTable& Table(int index) const;

    // The selected table as the 256-entry palette of an 8-bit bitmap.
    DrawingPalette Palette(int index) const;

private:
    std::array<ColorTable, kColorTableCount> tables_ {};
};

} // namespace velmaris
