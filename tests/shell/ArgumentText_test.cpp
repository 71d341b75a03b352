#include "shell/ArgumentText.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

// Valid UTF-8 becomes its UTF-16; any other byte survives the trip back.
TEST(ArgumentText, EveryWordComesBackAsItsBytes)
{
    struct Case {
        std::string bytes;
        std::u16string utf16; // empty: not all UTF-8, only the round trip is checked
    };
    const Case cases[] = {
        {"dive.52l", u"dive.52l"},
        {"pl\xc3\xa9ng\xc3\xa9\x65", u"pl\u00e9ng\u00e9e"},
        {"\xe2\x82\xac \xf0\x9f\x90\x9f", u"\u20ac \U0001F41F"},
        {"pl\xe9ng\xe9\x65", {}}, // Latin-1
        {"\xff\xfe", {}},
        {"\x80 lone continuation", {}},
        {"\xe2\x82", {}}, // cut short
        {"\xc0\x80", {}}, // overlong NUL
        {"\xed\xa0\x80", {}}, // a surrogate in UTF-8
        {"\xf8\x90\x80\x80", {}}, // no such lead byte
        {"\xf4\x90\x80\x80", {}}, // past U+10FFFF
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const Case& c : cases) {
        const std::u16string text = ArgumentToUtf16(c.bytes);
        if (!c.utf16.empty()) {
            EXPECT_EQ(text, c.utf16) << c.bytes;
        }
        EXPECT_EQ(ArgumentFromUtf16(text), c.bytes) << c.bytes;
    }
    // Escaped bytes are lone surrogates, never a character of valid UTF-8.
    EXPECT_EQ(ArgumentToUtf16("\xff"), std::u16string(1, char16_t(0xDCFF)));
}

} // namespace
} // namespace velmaris
