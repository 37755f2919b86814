// UTF-8 and UTF-16: what the wide system calls get, and what the live
// panel's JSON may hold.
#include "tests/support.h"
#include "host/utf8.h"

namespace kestrel::test {
namespace {

TEST(Utf8, InvalidBytesAreReadAsLatin1) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"plain", "plain"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},                     // é, valid: as it is
        {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},       // 日本
        {"\xF0\x9F\x9B\xA9", "\xF0\x9F\x9B\xA9"},                       // 4 bytes
        {"12\xB0", "12\xC2\xB0"},                                        // a code page's degree sign
        {"\xC3", "\xC3\x83"},                                            // cut short
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                                // overlong '/'
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},                    // a surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},        // above U+10FFFF
        {"\xFF" "a", "\xC3\xBF" "a"},
    };
    for (const auto& c : cases) EXPECT_EQ(valid_utf8(c.in), c.out) << c.in;
}

TEST(Utf8, ConvertsToAndFromUtf16) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } both_ways[] = {
        {"", u""},
        {"C:\\Gauges\\a.gau", u"C:\\Gauges\\a.gau"},
        {"\xC3\xA9", u"\u00E9"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
        {"\xF0\x9F\x9B\xA9 x", u"\U0001F6E9 x"},  // a surrogate pair
        {"\xEF\xBF\xBF", u"\uFFFF"},
    };
    for (const auto& c : both_ways) {
        EXPECT_EQ(utf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(utf8(c.utf16), c.utf8) << c.utf8;
    }
    // What cannot be converted becomes U+FFFD, one for each byte or unit.
    EXPECT_EQ(utf16("a\xFF\xC3"), u"a\uFFFD\uFFFD");
    EXPECT_EQ(utf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(utf8(std::u16string(u"a") + char16_t(0xD800)), "a\xEF\xBF\xBD");
    EXPECT_EQ(utf8(std::u16string(1, char16_t(0xDC00)) + u"b"), "\xEF\xBF\xBD" "b");
    EXPECT_EQ(utf8(std::u16string{char16_t(0xD800), char16_t(0xD800), char16_t(0xDC00)}), "\xEF\xBF\xBD\xF0\x90\x80\x80");
}

}  // namespace
}  // namespace kestrel::test
