#pragma once
// What the bytes of a settings file say as text. The station reads its INI
// file as single-byte text; a file a Windows editor saved as "Unicode"
// (UTF-16 with a byte-order mark) is converted to UTF-8 first, a UTF-8
// byte-order mark is dropped. Anything else that is not text (UTF-16
// without a mark, binary bytes, text after a NUL byte) is unreadable: the
// station must keep such a file instead of writing defaults over it.
//
// Plain functions; no state.

#include <string>
#include <string_view>

namespace velmaris {

// The largest settings file read; a bigger one is not a settings file.
inline constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;

struct IniText {
    bool readable = false;
    std::string text; // the file as single-byte text, when readable
};

// NUL and control bytes other than tab, line and page ends (and a trailing
// DOS end-of-file mark, Ctrl+Z) make a file unreadable.
IniText DecodeIniText(std::string_view bytes);

} // namespace velmaris
