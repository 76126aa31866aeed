// The wide formatter: conversions with their flags, wide and narrow strings, cutting, refused
// formats, and widening narrow text.
#include "engine/WideFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Fmt(const char16_t* format, ...) {
    char16_t out[256];
    va_list args;
    va_start(args, format);
    int n = WideFormatV(out, 256, format, args);
    va_end(args);
    return n < 0 ? u"<refused>" : std::u16string(out);
}

} // namespace

TEST(WideFormat, ConversionsFollowPrintfWithWideStrings) {
    EXPECT_EQ(Fmt(u"%s: %i", u"Cash", 42), u"Cash: 42");
    EXPECT_EQ(Fmt(u"%d|%u|%x|%X|%o|%c", -7, 7u, 255, 255, 8, u'\u00E9'), u"-7|7|ff|FF|10|\u00E9");
    EXPECT_EQ(Fmt(u"%5.2f|%-4d|%04d|%+d|% d|%#x", 3.14159, 7, 7, 7, 7, 255),
              u" 3.14|7   |0007|+7| 7|0xff");
    EXPECT_EQ(Fmt(u"%lld|%zu|%ld|%hhd|%hd", -5000000000LL, size_t(9), -3L, 300, 70000),
              u"-5000000000|9|-3|44|4464");
    EXPECT_EQ(Fmt(u"%e|%g|%.0f|%Lf", 1500.0, 0.5, 2.5, 1.25L), u"1.500000e+03|0.5|2|1.250000");
    EXPECT_EQ(Fmt(u"%*d|%-*d|%.*s", 4, 1, 3, 2, 2, u"abc"), u"   1|2  |ab");
    EXPECT_EQ(Fmt(u"%5s|%-3s|%hs|%s|%%", u"ab", u"x", "narrow", static_cast<char16_t*>(nullptr)),
              u"   ab|x  |narrow|(null)|%");
    const char16_t surrogate[] = {0xD800, 0};
    EXPECT_EQ(Fmt(u"%s", surrogate), surrogate) << "wide text is copied unit for unit";
}

TEST(WideFormat, OutputIsCutAndAlwaysTerminated) {
    char16_t out[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(WideFormat(out, 4, u"%s%d", u"ab", 1234), 3);
    EXPECT_EQ(std::u16string(out), u"ab1");
    EXPECT_EQ(WideFormat(out, 1, u"abc"), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(WideFormat(out, 0, u"abc"), 0) << "no room: nothing written";

    // Absurd widths and precisions cost no more than the output can hold.
    char16_t small[16];
    EXPECT_EQ(WideFormat(small, 16, u"%2000000000d", 5), 15);
    EXPECT_EQ(WideFormat(small, 16, u"%.2000000000f", 1.0), 15);
    EXPECT_EQ(std::u16string(small), u"1.0000000000000");
}

TEST(WideFormat, FormatsThatWouldWriteThroughAnArgumentOrCannotBeReadAreRefused) {
    char16_t out[32] = {u'x', 0};
    int n = 0;
    EXPECT_EQ(WideFormat(out, 32, u"ab%n", &n), -1);
    EXPECT_EQ(out[0], 0) << "a refused format leaves an empty text";
    EXPECT_EQ(n, 0) << "%n wrote through its argument";
    for (const char16_t* bad : {u"%q", u"%", u"%5", u"%ls%", u"%\u0100"})
        EXPECT_EQ(Fmt(bad, u"x"), u"<refused>") << "a format ending or mistyped after %";
    EXPECT_EQ(WideFormat(out, 32, nullptr), -1);
}

// File names come as UTF-8; a byte that starts no whole sequence is taken as Latin-1.
TEST(WideFormat, FileNamesWidenFromUtf8WithLatin1ForStrayBytes) {
    char16_t out[16];
    EXPECT_EQ(WideFromUtf8("caf\xC3\xA9 \xE2\x82\xAC", out, 16), 6);
    EXPECT_EQ(std::u16string(out), u"caf\u00E9 \u20AC");
    // A Latin-1 name, a cut sequence, an overlong form, a surrogate, a character past 16 bits.
    EXPECT_EQ(WideFromUtf8("\xFCn\xEF", out, 16), 3);
    EXPECT_EQ(std::u16string(out), u"\u00FCn\u00EF");
    WideFromUtf8("\xC3", out, 16);
    EXPECT_EQ(std::u16string(out), u"\u00C3");
    WideFromUtf8("\xC0\xAF", out, 16);
    EXPECT_EQ(std::u16string(out), u"\u00C0\u00AF");
    WideFromUtf8("\xED\xA0\x80", out, 16);
    EXPECT_EQ(std::u16string(out), u"\u00ED\u00A0\u0080");
    WideFromUtf8("\xF0\x9F\x8E\xA0!", out, 16);
    EXPECT_EQ(std::u16string(out), u"\uFFFD!");
    // Cut to the room, always ended.
    EXPECT_EQ(WideFromUtf8("\xC3\xA9\xC3\xA9\xC3\xA9", out, 3), 2);
    EXPECT_EQ(std::u16string(out), u"\u00E9\u00E9");
    EXPECT_EQ(WideFromUtf8(nullptr, out, 4), 0);
    EXPECT_EQ(out[0], 0);
}

TEST(WideFormat, NarrowTextWidensByteForByte) {
    char16_t out[5];
    EXPECT_EQ(WideFromNarrow("a\xE9z\xFFq", out, 5), 4);
    EXPECT_EQ(std::u16string(out), u"a\u00E9z\u00FF");
    EXPECT_EQ(WideFromNarrow(nullptr, out, 5), 0);
    EXPECT_EQ(out[0], 0);
}
