// Word wrap of the text box with a real generated font: newlines, blanks, words wider than the
// box, and texts longer than its buffer.
#include "tests/harness/UiHarness.h"

#include "I3d/Font.h"
#include "ui/Ctl3Wrap.h"

#include <memory>
#include <string>
#include <vector>

namespace {
class TextBoxWrapTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        StartUi();
        font = UiAcquireFont("Arial_12b");
        ASSERT_TRUE(font) << "the generated font is missing";
        FontSetScale(font, 1, 1);
    }
    void TearDown() override {
        if (font) SharedObjRelease(font);
        UiTest::TearDown();
    }
    std::vector<std::u16string> Wrap(const char16_t* text, float width) {
        Ctl3PageSet(page.get(), font, text, width);
        std::vector<std::u16string> lines;
        char16_t line[CTL3_PAGE_UNITS];
        for (int i = 0; i < page->lineCount; ++i) {
            Ctl3PageLine(*page, i, line);
            lines.emplace_back(line);
        }
        return lines;
    }
    Font* font = nullptr;
    std::unique_ptr<Ctl3TextPage> page = std::make_unique<Ctl3TextPage>();
};
} // namespace

TEST_F(TextBoxWrapTest, NewlinesEndLinesAndAnEmptyTextIsOneLine) {
    EXPECT_EQ(Wrap(u"a\n\nb", 400), (std::vector<std::u16string>{u"a", u"", u"b"}));
    EXPECT_EQ(Wrap(u"", 400), (std::vector<std::u16string>{u""}));
    EXPECT_EQ(Wrap(nullptr, 400), (std::vector<std::u16string>{u""}));
    EXPECT_EQ(Wrap(u"\n\n\n", 400).size(), 4u) << "only newlines: one line more than newlines";
}

TEST_F(TextBoxWrapTest, ALongLineBreaksAtItsLastBlankWithinTheWidth) {
    const float w = FontTextWidth(font, u"alpha beta");
    const std::vector<std::u16string> lines = Wrap(u"alpha beta gamma", w + 1);
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"alpha beta", u"gamma"}));
    for (const std::u16string& line : Wrap(u"the quick brown fox jumps over the lazy dog", 60))
        EXPECT_LE(FontTextWidth(font, line.c_str()), 60.0f) << "a line is wider than the box";
}

// The overflowing character starts the next line: nothing of the word is lost.
TEST_F(TextBoxWrapTest, AWordWiderThanTheBoxBreaksBeforeTheOverflowingCharacter) {
    const std::u16string word = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const float w = FontTextWidth(font, u"ABCDEFGH");
    const std::vector<std::u16string> lines = Wrap(word.c_str(), w + 0.5f);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], u"ABCDEFGH");
    std::u16string joined;
    for (const std::u16string& line : lines) {
        EXPECT_LE(FontTextWidth(font, line.c_str()), w + 0.5f);
        joined += line;
    }
    EXPECT_EQ(joined, word);
    // A box narrower than one character still moves on: one character a line.
    EXPECT_EQ(Wrap(u"WWW", 1).size(), 3u);
}

// Scripts and records reach the box with any length: 1023 units kept, wrapped and counted on
// the cut text; lone surrogates are plain code units.
TEST_F(TextBoxWrapTest, LongTextsAreCutToTheBuffer) {
    std::u16string text;
    for (int i = 0; i < 3000; ++i)
        text += char16_t(i % 7 == 6 ? u' ' : u'a' + i % 26);
    const std::vector<std::u16string> lines = Wrap(text.c_str(), 400);
    EXPECT_EQ(std::u16string(page->text).size(), 1023u);
    size_t kept = 0;
    for (const std::u16string& line : lines)
        kept += line.size() + 1;
    EXPECT_EQ(kept - 1, 1023u) << "the lines and the blanks they broke at make the cut text";

    const char16_t odd[] = {u'x', 0xD800, u'y', 0xDC00, 0};
    EXPECT_EQ(Wrap(odd, 400), (std::vector<std::u16string>{odd}));
}
