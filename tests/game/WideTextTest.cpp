// UTF-8 to wide text: valid sequences, bytes that are not UTF-8, cuts and the way back.
#include "game/WideText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(WideText, DecodesUtf8AndKeepsStrayBytes) {
    char16_t out[32];
    EXPECT_EQ(WideFromUtf8("Caf\xC3\xA9", out, 32), 4);
    EXPECT_EQ(std::u16string(out), u"Caf\u00E9");
    const struct {
        const char* in;
        std::u16string want;
        const char* why;
    } cases[] = {
        {"\xE9t\xE9", u"\u00E9t\u00E9", "Latin-1 bytes stand for themselves"},
        {"\xC3", u"\u00C3", "a sequence cut by the end of the text"},
        {"\xC0\xAF", u"\u00C0\u00AF", "an overlong form is not UTF-8"},
        {"\xED\xA0\x80", u"\u00ED\u00A0\u0080", "an encoded surrogate is not UTF-8"},
        {"\xF4\x90\x80\x80", u"\u00F4\u0090\u0080\u0080", "beyond U+10FFFF"},
        {"\xE2\x82\xAC!", u"\u20AC!", "three bytes"},
        {"\xF0\x9F\x8E\xA1", u"\U0001F3A1", "four bytes make a surrogate pair"},
    };
    for (const auto& c : cases) {
        WideFromUtf8(c.in, out, 32);
        EXPECT_EQ(std::u16string(out), c.want) << c.why;
    }
}

TEST(WideText, CutsToTheBufferAndAlwaysTerminates) {
    char16_t out[4] = {1, 1, 1, 1};
    EXPECT_EQ(WideFromUtf8("abcdef", out, 4), 3);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(WideFromUtf8("ab\xF0\x9F\x8E\xA1", out, 4), 2) << "half a pair is never written";
    EXPECT_EQ(std::u16string(out), u"ab");
    EXPECT_EQ(WideFromUtf8(nullptr, out, 4), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(WideFromUtf8("x", out, 0), 0);

    // In place, as the records widen a field they have just read narrow.
    char16_t field[8];
    std::memset(field, 0, sizeof field);
    std::memcpy(field, "Ride\xC3\xA9!", 7);
    EXPECT_EQ(WideFromNarrowInPlace(field, 8), 6);
    EXPECT_EQ(std::u16string(field), u"Ride\u00E9!");
    // A narrow text that fills the whole field is cut, never read past.
    std::memset(field, 'z', sizeof field);
    EXPECT_EQ(WideFromNarrowInPlace(field, 8), 7);
    EXPECT_EQ(field[7], 0);
}

TEST(WideText, BackToUtf8) {
    EXPECT_EQ(WideToUtf8(u"Caf\u00E9 \u20AC \U0001F3A1"),
              "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xA1");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(WideToUtf8(lone), "a\xEF\xBF\xBD"
                                "b");
    EXPECT_EQ(WideToUtf8(nullptr), "");
}
