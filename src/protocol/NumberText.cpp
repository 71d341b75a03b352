#include "protocol/NumberText.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace velmaris {

namespace {
const char* SkipBlanks(const char* p, const char* end)
{
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\v' || *p == '\f'))
        ++p;
    return p;
}
} // namespace

int ParseIniInt(const std::string& text)
{
    const char* p = SkipBlanks(text.data(), text.data() + text.size());
    const char* end = text.data() + text.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Saturate instead of overflowing: the caller limits the value anyway.
    std::int64_t value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT_MAX)
            value = static_cast<std::int64_t>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double ParseIniDouble(const std::string& text)
{
    const char* end = text.data() + text.size();
    const char* p = SkipBlanks(text.data(), end);
    if (p < end && *p == '+')
        ++p;
    double value = 0.0;
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

std::string FormatFixed(double value, int decimals)
{
    std::array<char, 400> buffer {};
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer.data(), result.ptr);
}

} // namespace velmaris
