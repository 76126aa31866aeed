// The ini writer: edits in place that keep every other byte, new keys and sections where the
// reader finds them, whole-file writes, and the profile integer read.
#include "engine/IniFile.h"

#include "engine/Files.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class IniWriter : public ::testing::Test {
  protected:
    void SetUp() override { path = dir / "Config.ini"; }
    void TearDown() override {
        IniClearProfileFile();
        IniClose();
    }
    // One write on its own, as "Config.ini" code does it: set, write, clear.
    void Write(const char* section, const char* key, const char* value) {
        ASSERT_EQ(IniSetProfileFile(path.c_str()), 1);
        IniProfileWriteString(section, key, value);
        IniClearProfileFile();
    }
    TempDir dir;
    std::string path;
};
} // namespace

TEST_F(IniWriter, FloatsAreWrittenWithoutTrailingZeros) {
    IniSetProfileFile(path.c_str());
    IniProfileWriteFloat("S", "one", 1.0f);
    IniProfileWriteFloat("S", "eighth", 0.125f);
    IniProfileWriteFloat("S", "two", 2.0f);
    IniProfileWriteFloat("S", "zero", 0.0f);
    IniProfileWriteFloat("S", "neg", -1.5f);
    IniProfileWriteInt("S", "int", -12);
    IniClearProfileFile();
    EXPECT_EQ(ReadTextFile(path),
              "[S]\none=1.0\neighth=0.125\ntwo=2.0\nzero=0.0\nneg=-1.5\nint=-12\n");
}

// Everything but the edited line survives byte for byte: comments, blank lines, CR LF
// endings, other sections and their order.
TEST_F(IniWriter, EditsKeepEveryOtherLine) {
    const std::string before = "; settings\r\n[Xq Config]\r\nwinWidth=640\r\n  debug = 1\r\n\r\n"
                               "[Prefs]\nparent=World\nvolume=3\n\n\n[Tail]\nk=v";
    WriteTextFile(path, before);
    IniSetProfileFile(path.c_str());
    IniProfileWriteInt("Xq Config", "winWidth", 1024);
    IniProfileWriteString("Prefs", "rent", "5");
    IniProfileWriteString("Xq Config", "debug", "0");
    IniProfileWriteString("Tail", "new", "x");
    IniProfileWriteString("Fresh", "a", "b");
    IniClearProfileFile();
    EXPECT_EQ(ReadTextFile(path),
              "; settings\r\n[Xq Config]\r\nwinWidth=1024\r\n  debug = 1\r\ndebug=0\n\r\n"
              "[Prefs]\nparent=World\nvolume=3\nrent=5\n\n\n[Tail]\nk=v\nnew=x\n[Fresh]\na=b\n")
        << "a key must replace its own line only, new keys go after the section's last line";
}

TEST_F(IniWriter, WhatIsWrittenReadsBackIdentically) {
    IniSetProfileFile(path.c_str());
    IniProfileWriteString("A", "text", "two words, [brackets] and k=v");
    IniProfileWriteString("A", "x", "first");
    IniProfileWriteString("A", "pos.x", "1");
    IniProfileWriteString("A", "x", "second");
    IniProfileWriteString("B", "text", "other section");
    IniProfileWriteString("A", "multi", "line one\nline two");
    IniProfileWriteString("A", "bad=key", "refused");
    IniProfileWriteString("A", "[key", "refused");
    IniClearProfileFile();
    ASSERT_EQ(IniOpen(path.c_str()), 0);
    ASSERT_EQ(IniSetSection("A"), 0);
    char v[256];
    IniReadString(v, "text", "", sizeof v);
    EXPECT_STREQ(v, "two words, [brackets] and k=v");
    IniReadString(v, "x", "", sizeof v);
    EXPECT_STREQ(v, "second") << "the writer matched pos.x for x";
    IniReadString(v, "multi", "", sizeof v);
    EXPECT_STREQ(v, "line one") << "a line break in a value must not add lines";
    EXPECT_EQ(ReadTextFile(path).find("refused"), std::string::npos);
    ASSERT_EQ(IniSetSection("B"), 0);
    IniReadString(v, "text", "", sizeof v);
    EXPECT_STREQ(v, "other section");
}

TEST_F(IniWriter, ReaderSeesPendingWritesOfTheProfileFile) {
    ASSERT_EQ(IniSetProfileFile(path.c_str()), 1);
    IniProfileWriteInt("S", "k", 4);
    ASSERT_EQ(IniOpen(path.c_str()), 0) << "opening the file must write pending changes first";
    IniSetSection("S");
    int v = 0;
    IniReadInt(&v, "k", -1);
    EXPECT_EQ(v, 4);
    EXPECT_EQ(IniSetProfileFile(nullptr), 0) << "a null path keeps the current profile file";
    IniProfileWriteInt("S", "k", 5);
    EXPECT_EQ(IniProfileFlush(), 1);
    EXPECT_EQ(IniProfileFlush(), 0);
    EXPECT_NE(ReadTextFile(path).find("k=5"), std::string::npos);
}

TEST_F(IniWriter, MissingFolderWritesNothing) {
    std::string bad = dir / "no such folder/Config.ini";
    WriteTextFile(path, "[S]\nk=1\n");
    IniSetProfileFile(bad.c_str());
    IniProfileWriteInt("S", "k", 2);
    EXPECT_EQ(IniClearProfileFile(), -1) << "a write that failed must not look like success";
    EXPECT_FALSE(PathExistsOnDisk(dir / "no such folder"));
    EXPECT_EQ(ReadTextFile(path), "[S]\nk=1\n");

    IniProfileWriteInt("S", "k", 3); // no profile file: nothing anywhere
    EXPECT_EQ(ReadTextFile(path), "[S]\nk=1\n");
}

TEST_F(IniWriter, ProfileGetIntReadsDecimalOrDefault) {
    int out = 0;
    EXPECT_EQ(IniProfileGetInt(&out, "Xq Config", "debug", 7), 7) << "no profile file";
    IniSetProfileFile(path.c_str());
    EXPECT_EQ(IniProfileGetInt(&out, "Xq Config", "debug", 7), 7) << "missing file";
    IniClearProfileFile();
    WriteTextFile(path, "[Xq Config]\nwinWidth=  -640px\nbig=99999999999\nhex=0x10\n");
    IniSetProfileFile(path.c_str());
    EXPECT_EQ(IniProfileGetInt(&out, "Xq Config", "winWidth", 0), -640);
    EXPECT_EQ(out, -640);
    EXPECT_EQ(IniProfileGetInt(&out, "Xq Config", "big", 0), 2147483647);
    EXPECT_EQ(IniProfileGetInt(&out, "Xq Config", "hex", 1), 0) << "decimal only";
    EXPECT_EQ(IniProfileGetInt(&out, "Xq Config", "missing", 3), 3);
    EXPECT_EQ(IniProfileGetInt(&out, "Other", "winWidth", 4), 4);
    EXPECT_EQ(IniProfileGetInt(&out, "Xq Config", "WinWidth", 5), 5) << "names compare with case";
    EXPECT_EQ(IniProfileGetInt(&out, "xq config", "winWidth", 6), 6);
}

// A profile saved with a UTF-8 byte-order mark: its first section is found and edited in place,
// and the mark stays where it was.
TEST_F(IniWriter, AByteOrderMarkedProfileIsEditedInPlace) {
    WriteTextFile(path, "\xEF\xBB\xBF[Xq Config]\nwinWidth=640\n");
    ASSERT_EQ(IniSetProfileFile(path.c_str()), 1);
    int out = 0;
    EXPECT_EQ(IniProfileGetInt(&out, "Xq Config", "winWidth", 1), 640);
    IniProfileWriteInt("Xq Config", "winWidth", 800);
    IniClearProfileFile();
    EXPECT_EQ(ReadTextFile(path), "\xEF\xBB\xBF[Xq Config]\nwinWidth=800\n")
        << "a second header was appended behind the marked one";
}

TEST_F(IniWriter, AnEmptyProfileReplacesTheWholeFileOrKeepsItOnFailure) {
    WriteTextFile(path, "[Old]\nkey=1\n[S]\nstale=1\nkept=0\n");
    ASSERT_EQ(IniSetProfileFileEmpty(path.c_str()), 1);
    IniProfileWriteString("S", "kept", "2");
    IniProfileWriteString("T", "a", "1");
    IniProfileWriteString("S", "more", "3"); // back to a section written before
    IniProfileWriteString("T", "a", "4");    // replaced, not added
    EXPECT_EQ(IniClearProfileFile(), 0);
    EXPECT_EQ(ReadTextFile(path), "[S]\nkept=2\nmore=3\n[T]\na=4\n")
        << "no line of the old file may survive a save built from empty";

    // Nothing written still replaces the file: a save of nothing is an empty file.
    ASSERT_EQ(IniSetProfileFileEmpty(path.c_str()), 1);
    EXPECT_EQ(IniClearProfileFile(), 0);
    EXPECT_EQ(ReadTextFile(path), "");

    WriteTextFile(path, "[Old]\nkey=1\n");
    FileSetWriteFault(true);
    IniSetProfileFileEmpty(path.c_str());
    IniProfileWriteString("S", "a", std::string(1000, 'x').c_str());
    EXPECT_EQ(IniClearProfileFile(), -1) << "a failed write is reported";
    FileSetWriteFault(false);
    EXPECT_EQ(ReadTextFile(path), "[Old]\nkey=1\n");
    EXPECT_FALSE(PathExistsOnDisk(path + ".tmp"));

    // An ordinary profile file after an empty one edits again.
    IniSetProfileFile(path.c_str());
    IniProfileWriteString("Old", "new", "2");
    IniClearProfileFile();
    EXPECT_EQ(ReadTextFile(path), "[Old]\nkey=1\nnew=2\n");
}
