#include "JsonLine.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace velmaris::tool {

void JsonLine::Key(std::string_view key)
{
    if (text_.size() > 1)
        text_ += ',';
    text_ += '"';
    text_ += key;
    text_ += "\":";
}

JsonLine& JsonLine::Int(std::string_view key, long long value)
{
    Key(key);
    text_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::Real(std::string_view key, double value)
{
    Key(key);
    if (!std::isfinite(value)) {
        text_ += "null";
        return *this;
    }
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    text_.append(buffer.data(), result.ptr);
    return *this;
}

JsonLine& JsonLine::Bool(std::string_view key, bool value)
{
    Key(key);
    text_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::Text(std::string_view key, std::string_view value)
{
    Key(key);
    text_ += '"';
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            text_ += escape;
        } else {
            text_ += c;
        }
    }
    text_ += '"';
    return *this;
}

} // namespace velmaris::tool
