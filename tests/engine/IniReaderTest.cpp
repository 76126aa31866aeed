// The ini reader: sections, keys anchored to line starts, typed values, the section walk and
// the line reader, against real files.
#include "engine/IniFile.h"
#include "engine/Memory.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {
class IniReader : public ::testing::Test {
  protected:
    void TearDown() override {
        IniClose();
        IniClearProfileFile();
    }
    // Writes the text and loads it.
    void Load(const std::string& text, const char* name = "t.ini") {
        WriteTextFile(dir / name, text);
        ASSERT_EQ(IniOpen((dir / name).c_str()), 0);
    }
    std::string Str(const char* key, const char* def = "<default>") {
        char out[INI_VALUE_MAX + 1];
        IniReadString(out, key, def, sizeof out);
        return out;
    }
    int Int(const char* key, int def = -77) {
        int v;
        IniReadInt(&v, key, def);
        return v;
    }
    TempDir dir;
};
} // namespace

TEST_F(IniReader, SectionsEndAtTheNextHeaderOrTheEndOfText) {
    Load("[A]\nk=a\n[B]\nk=b\nlast=yes");
    ASSERT_EQ(IniSetSection("B"), 0);
    EXPECT_EQ(Str("k"), "b");
    EXPECT_EQ(Str("last"), "yes") << "the last section runs to the end of the text";
    ASSERT_EQ(IniSetSection("A"), 0);
    EXPECT_EQ(Str("last"), "<default>") << "a key of the next section leaked into this one";
    EXPECT_EQ(IniSetSection("a"), -1) << "section names compare with case";
    EXPECT_EQ(Str("k"), "<default>") << "a failed selection must leave no section current";
    EXPECT_EQ(IniSetSection(nullptr), 0);
}

TEST_F(IniReader, ValuesAreTrimmedAndCrLfLinesLoseTheirCr) {
    Load("[S]\r\nname=  two words  \r\nempty=   \r\nnone=\r\n");
    ASSERT_EQ(IniSetSection("S"), 0);
    EXPECT_EQ(Str("name"), "two words");
    EXPECT_EQ(Str("empty"), "") << "a key with only blanks is present and empty, not missing";
    EXPECT_EQ(Int("empty"), 0);
    EXPECT_EQ(Str("none"), "");
    float f = -1;
    EXPECT_EQ(IniReadFloat(&f, "empty", 5.0f), 0);
    EXPECT_EQ(f, 0.0f);
}

TEST_F(IniReader, IntegerForms) {
    Load("[S]\nhex=0x1A\nHEX=0X1f\nnothex=1A\nneg=  -42\nbig=99999999999\nsmall=-99999999999\n"
         "wrap=0x123456789\nodd=0x1G\nhigh=0x1\xE9\n");
    ASSERT_EQ(IniSetSection("S"), 0);
    EXPECT_EQ(Int("hex"), 26);
    EXPECT_EQ(Int("HEX"), 31);
    EXPECT_EQ(Int("nothex"), 1) << "decimal stops at the first non-digit";
    EXPECT_EQ(Int("neg"), -42);
    EXPECT_EQ(Int("big"), 2147483647) << "beyond 32 bits saturates";
    EXPECT_EQ(Int("small"), -2147483647 - 1);
    EXPECT_EQ(Int("wrap"), 0x23456789) << "hexadecimal keeps its 32-bit wrap";
    EXPECT_EQ(Int("odd"), 0x10) << "a non-digit counts as 0 in hexadecimal";
    EXPECT_EQ(Int("high"), 0) << "a non-ASCII byte makes the hexadecimal value 0";
    EXPECT_EQ(Int("missing", 5), 5);
}

TEST_F(IniReader, FloatsReadAsAtofDoes) {
    Load("[S]\na=2\nb=-0.125\nc=1e400\nd=nan\ne=inf\nf=abc\n");
    ASSERT_EQ(IniSetSection("S"), 0);
    float v;
    IniReadFloat(&v, "a", 0);
    EXPECT_EQ(v, 2.0f);
    IniReadFloat(&v, "b", 0);
    EXPECT_EQ(v, -0.125f);
    IniReadFloat(&v, "c", 0);
    EXPECT_TRUE(std::isinf(v));
    IniReadFloat(&v, "d", 0);
    EXPECT_TRUE(std::isnan(v));
    IniReadFloat(&v, "e", 0);
    EXPECT_TRUE(std::isinf(v));
    IniReadFloat(&v, "f", 3);
    EXPECT_EQ(v, 0.0f);
}

// Keys and headers count only at the start of a line: "rent" must not read "parent", and a
// value that looks like a header or a key must not capture a lookup.
TEST_F(IniReader, KeysAndHeadersMatchOnlyAtLineStarts) {
    Load("[S]\npos.x=1\nx=2\nparent=World\nrent=5\nnote=[T] y=9\n  indented=3\nblank =4\n"
         "dup=first\ndup=second\n[T]\ny=7\n");
    ASSERT_EQ(IniSetSection("S"), 0);
    EXPECT_EQ(Int("x"), 2) << "the key x read the value of pos.x";
    EXPECT_EQ(Int("rent"), 5) << "the key rent read the value of parent";
    EXPECT_EQ(Int("y"), -77) << "text inside a value was taken for a key";
    EXPECT_EQ(Int("indented"), 3) << "blanks before a key are allowed";
    EXPECT_EQ(Int("blank"), -77) << "a blank before '=' makes another key";
    EXPECT_EQ(Str("dup"), "first");
    ASSERT_EQ(IniSetSection("T"), 0);
    EXPECT_EQ(Int("y"), 7) << "the header inside a value was found instead of the real one";
}

// A file saved with a UTF-8 byte-order mark keeps its first section: the mark counts as blanks
// before the first header, for lookups, the section walk and the line reader alike.
TEST_F(IniReader, AByteOrderMarkDoesNotHideTheFirstSection) {
    Load("\xEF\xBB\xBF[Entities]\nMtGame Game\n[Second]\nk=2\n");
    IniSectionReader* list = IniSectionOpen("Entities");
    ASSERT_NE(list, nullptr);
    char line[64];
    EXPECT_EQ(IniSectionReadLine(list, line, sizeof line), 1);
    EXPECT_STREQ(line, "MtGame Game");
    IniSectionClose(list);
    IniRewindSections();
    char name[32];
    ASSERT_EQ(IniNextSection(name, sizeof name), 1);
    EXPECT_STREQ(name, "Entities");
    Load("\xEF\xBB\xBF  [S]\nk=1\n", "b.ini");
    ASSERT_EQ(IniSetSection("S"), 0);
    EXPECT_EQ(Int("k"), 1);
    Load("\xEF\xBB[S]\nk=1\n", "c.ini");
    EXPECT_EQ(IniSetSection("S"), -1) << "only the whole mark is taken as blanks";
}

TEST_F(IniReader, LookupsByNameFindTheFirstHeaderOfThatName) {
    Load("[D]\nk=1\n  [D]\nk=2\n[a]b]\nk=3\n[a]\nk=4\n[\nk=5\n[open\nk=6\n[cr\r]\nk=7\n"
         "x [E]\n[]\nk=8\n[F]\n");
    ASSERT_EQ(IniSetSection("D"), 0);
    EXPECT_EQ(Int("k"), 1) << "the first of two equal sections wins";
    ASSERT_EQ(IniSetSection("a]b"), 0) << "a name holding ']' is still found";
    EXPECT_EQ(Int("k"), 3);
    ASSERT_EQ(IniSetSection("a"), 0);
    EXPECT_EQ(Int("k"), 3) << "\"[a]b]\" opens a section \"a\" too, the first of that name";
    EXPECT_EQ(IniSetSection("open"), -1) << "a header without ']' on its line is no section";
    ASSERT_EQ(IniSetSection("cr\r"), 0);
    EXPECT_EQ(Int("k"), 7);
    EXPECT_EQ(IniSetSection("cr"), -1);
    EXPECT_EQ(IniSetSection("E"), -1) << "a header counts only at a line start";
    ASSERT_EQ(IniSetSection(""), 0);
    EXPECT_EQ(Int("k"), 8);
    ASSERT_EQ(IniSetSection("F"), 0);
    EXPECT_EQ(Int("k"), -77) << "the last section is empty";

    // Another file: lookups see its sections, not the last file's.
    Load("[G]\nk=9\n", "u.ini");
    EXPECT_EQ(IniSetSection("D"), -1);
    ASSERT_EQ(IniSetSection("G"), 0);
    EXPECT_EQ(Int("k"), 9);
}

TEST_F(IniReader, SameFileOpenedTwiceIsNotReread) {
    Load("[S]\nk=1\n", "Config.ini");
    EXPECT_EQ(IniOpen((dir / "CONFIG.INI").c_str()), 1) << "paths compare without case";
    WriteTextFile(dir / "Config.ini", "[S]\nk=2\n");
    EXPECT_EQ(IniOpen((dir / "Config.ini").c_str()), 1);
    ASSERT_EQ(IniSetSection("S"), 0);
    EXPECT_EQ(Int("k"), 1) << "the loaded text is reused until IniClose";
    IniClose();
    EXPECT_EQ(IniOpen((dir / "config.ini").c_str()), 0)
        << "another spelling finds the file on disk";
    IniSetSection("S");
    EXPECT_EQ(Int("k"), 2);
}

// A failed open must not count as loaded: a file written later in the run must be read.
TEST_F(IniReader, FailedOpenIsTriedAgain) {
    std::string path = dir / "career.car";
    EXPECT_EQ(IniOpen(path.c_str()), -1);
    EXPECT_EQ(IniSetSection("Career"), -1);
    EXPECT_EQ(Int("cash", 9), 9);
    ASSERT_EQ(IniSetProfileFile(path.c_str()), 1);
    IniProfileWriteInt("Career", "cash", 5000);
    IniClearProfileFile();
    ASSERT_EQ(IniOpen(path.c_str()), 0) << "the earlier failure was remembered as a load";
    IniSetSection("Career");
    EXPECT_EQ(Int("cash"), 5000);
}

TEST_F(IniReader, SectionWalkVisitsHeadersInFileOrder) {
    Load("; comment\n[First]\nv=[x]\n[]\n[Broken\nk=1\n  [Second]\nk=2\n[A very long name]\n");
    IniRewindSections();
    char name[8];
    size_t full = 0;
    std::string seen;
    while (IniNextSection(name, sizeof name, &full))
        seen += std::string(name) + "(" + std::to_string(full) + ")|";
    EXPECT_EQ(seen, "First(5)|(0)|Second(6)|A very (16)|")
        << "a value [x] or a header without ']' must not be a section; long names are cut";
    EXPECT_EQ(IniNextSection(name, sizeof name), 0) << "the walk stays at the end";
    IniRewindSections();
    ASSERT_EQ(IniNextSection(name, sizeof name), 1);
    EXPECT_EQ(Str("v"), "[x]") << "the walk makes the section current";
}

TEST_F(IniReader, BadTextGivesDefaultsWithoutReadingPastIt) {
    Load("");
    EXPECT_EQ(IniSetSection("S"), -1);
    IniClose();
    Load("[S]\nk=1", "no-newline.ini");
    IniSetSection("S");
    EXPECT_EQ(Int("k"), 1);
    IniClose();
    Load(std::string("[S]\na=1\0b=2\n", 12) + "[T]\nc=3\n", "nul.ini");
    IniSetSection("S");
    EXPECT_EQ(Int("a"), 1);
    EXPECT_EQ(IniSetSection("T"), 0) << "a NUL byte inside the text must not end the file";
    IniClose();
    Load("[S]\nlong=" + std::string(2000, 'v') + "\n[Name\n", "long.ini");
    IniSetSection("S");
    EXPECT_EQ(Str("long").size(), 1023u) << "values are cut at 1023 characters";
    char small[4];
    IniReadString(small, "long", "", sizeof small);
    EXPECT_STREQ(small, "vvv") << "the string read must terminate within its size";
    IniReadString(small, "missing", "defaultText", sizeof small);
    EXPECT_STREQ(small, "def");
    EXPECT_EQ(IniSetSection("Name"), -1);
}

TEST_F(IniReader, BigFileLoadsWhole) {
    std::string text;
    for (int i = 0; text.size() < 10u * 1024 * 1024; ++i)
        text += "[Sec" + std::to_string(i) + "]\nkey=" + std::to_string(i) + "\n" +
                std::string(200, '#') + "\n";
    text += "[Last]\nkey=end\n";
    Load(text);
    ASSERT_EQ(IniSetSection("Last"), 0);
    EXPECT_EQ(Str("key"), "end");
}

TEST_F(IniReader, LineReaderReadsAListSection) {
    Load("[Entities]\r\n  Sun  SunClass  World \r\n\r\n// comment\n\nlast Cls\n[Other]\nx=1\n");
    IniSectionReader* r = IniSectionOpen("Entities");
    ASSERT_NE(r, nullptr);
    char line[64];
    ASSERT_EQ(IniSectionReadLine(r, line, sizeof line), 1);
    EXPECT_STREQ(line, "Sun  SunClass  World") << "blanks and the CR around a line go";
    ASSERT_EQ(IniSetSection("Other"), 0) << "lookups may run between two line reads";
    ASSERT_EQ(IniSectionReadLine(r, line, sizeof line), 1);
    EXPECT_STREQ(line, "// comment");
    ASSERT_EQ(IniSectionReadLine(r, line, 5), 1);
    EXPECT_STREQ(line, "last") << "a long line is cut to the buffer";
    EXPECT_EQ(IniSectionReadLine(r, line, sizeof line), 0) << "the next section is not read";
    EXPECT_STREQ(line, "");
    IniSectionClose(r);
    EXPECT_EQ(IniSectionOpen("Missing"), nullptr);

    int64_t live = MemLiveBlocks();
    r = IniSectionOpen("Entities");
    IniClose();
    EXPECT_EQ(IniSectionReadLine(r, line, sizeof line), 0) << "a record of a closed file reads";
    IniSectionClose(r);
    EXPECT_EQ(MemLiveBlocks(), live - 1) << "IniClose freed the text, the record was freed";
}
