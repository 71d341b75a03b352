#include "CsvLine.h"

#include <array>
#include <charconv>
#include <cmath>

namespace velmaris::tool {

namespace {

bool NeedsQuotes(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ',' || c == '"' || byte < 0x20 || byte >= 0x7F)
            return true;
    }
    return false;
}

} // namespace

void CsvLine::Separate()
{
    if (!first_)
        text_ += ',';
    first_ = false;
}

CsvLine& CsvLine::Field(std::string_view text)
{
    Separate();
    if (!NeedsQuotes(text)) {
        text_ += text;
        return *this;
    }
    text_ += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"') {
            text_ += "\"\"";
        } else if (byte >= 0x80) {
            text_ += static_cast<char>(0xC0 | (byte >> 6));
            text_ += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            text_ += c;
        }
    }
    text_ += '"';
    return *this;
}

CsvLine& CsvLine::Number(long long value)
{
    Separate();
    std::array<char, 24> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    text_.append(buffer.data(), result.ptr);
    return *this;
}

CsvLine& CsvLine::Real(double value)
{
    Separate();
    if (!std::isfinite(value))
        return *this;
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    text_.append(buffer.data(), result.ptr);
    return *this;
}

CsvLine& CsvLine::Fixed(double value, int decimals)
{
    Separate();
    if (!std::isfinite(value))
        return *this;
    std::array<char, 400> buffer {};
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    text_.append(buffer.data(), result.ptr);
    return *this;
}

CsvLine& CsvLine::Blank()
{
    Separate();
    return *this;
}

CsvLine& CsvLine::EndRow()
{
    text_ += "\r\n";
    first_ = true;
    return *this;
}

} // namespace velmaris::tool
