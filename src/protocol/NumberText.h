#pragma once
// Text-to-number and number-to-text conversions of the settings file. They
// never depend on the process locale (a German desktop must still write
// "1500.0"), and reading follows plain decimal conversion: leading blanks
// are skipped, the leading number counts, anything else gives 0.

#include <string>

namespace velmaris {

int ParseIniInt(const std::string& text);
double ParseIniDouble(const std::string& text);

// Fixed-point text with `decimals` digits after the point ("%.1f", "%.2f").
std::string FormatFixed(double value, int decimals);

} // namespace velmaris
