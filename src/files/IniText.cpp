#include "files/IniText.h"

#include <cstdint>

namespace velmaris {

namespace {

void AppendUtf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 after its mark to UTF-8; false on an odd length or a broken pair.
bool FromUtf16(std::string_view bytes, bool bigEndian, std::string& out)
{
    if (bytes.size() % 2 != 0)
        return false;
    const auto unit = [&](std::size_t i) {
        const auto hi = static_cast<std::uint8_t>(bytes[bigEndian ? i : i + 1]);
        const auto lo = static_cast<std::uint8_t>(bytes[bigEndian ? i + 1 : i]);
        return static_cast<std::uint32_t>(hi << 8 | lo);
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 3 >= bytes.size())
                return false;
            const std::uint32_t low = unit(i + 2);
            if (low < 0xDC00 || low >= 0xE000)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (c >= 0xDC00 && c < 0xE000) {
            return false;
        }
        AppendUtf8(out, c);
    }
    return true;
}

bool IsTextByte(unsigned char c)
{
    return c >= 0x20 ? c != 0x7F : c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

} // namespace

IniText DecodeIniText(std::string_view bytes)
{
    IniText result;
    std::string text;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        if (!FromUtf16(bytes.substr(2), bytes[0] == '\xFE', text))
            return result;
    } else {
        text.assign(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
    }
    while (!text.empty() && text.back() == '\x1A')
        text.pop_back();
    for (const char c : text)
        if (!IsTextByte(static_cast<unsigned char>(c)))
            return result;
    result.readable = true;
    result.text = std::move(text);
    return result;
}

} // namespace velmaris
