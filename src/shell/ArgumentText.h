#pragma once
// Command-line words as UTF-16 and back without losing a byte. A file name
// on Linux is bytes, not always UTF-8, and the Qt parser works in UTF-16:
// each byte that is not part of valid UTF-8 travels as the lone surrogate
// U+DC80..U+DCFF (which valid UTF-8 never yields) and comes back as that
// byte. Plain functions, any thread.

#include <string>
#include <string_view>

namespace velmaris {

std::u16string ArgumentToUtf16(std::string_view bytes);
std::string ArgumentFromUtf16(std::u16string_view text);

} // namespace velmaris
