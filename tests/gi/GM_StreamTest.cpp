// The GMF stream: binary and text headers, checked reads, writes and seeks, and the indent.
#include "gi/GM_Stream.h"
#include "gi/giDebug.h"
#include "gi/giFileIO.h"

#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {
std::string WrittenHeader(const TempDir& dir, int mode, const char* comment, uint32_t type) {
    std::string path = dir / "h.gmf";
    GM_Stream s;
    EXPECT_EQ(s.OpenWrite(path.c_str(), mode), 1);
    EXPECT_EQ(s.WriteHeader(comment, type), 1);
    s.Close();
    return ReadTextFile(path);
}

// A stream opened on the given bytes.
void OpenOn(GM_Stream& s, const TempDir& dir, const std::string& bytes) {
    std::string path = dir / "in.gmf";
    WriteTextFile(path, bytes);
    ASSERT_EQ(s.OpenRead(path.c_str(), GM_STREAM_BINARY), 1);
}
} // namespace

TEST(GM_Stream, BinaryHeaderBytesAndRoundTrip) {
    TempDir dir;
    std::string plain = WrittenHeader(dir, GM_STREAM_BINARY, nullptr, GM_MODEL_HAZARD);
    EXPECT_EQ(plain, GmfBytes().Raw("GMI").U32(3).U32(4).U32(0).U32(15).b);
    std::string hi = WrittenHeader(dir, GM_STREAM_BINARY, "hi", GM_MODEL_BASIC);
    EXPECT_EQ(hi, GmfBytes().Raw("GMI").U32(3).U32(1).Str("hi").U32(18).b);

    GM_Stream s;
    OpenOn(s, dir, hi + "rest");
    ASSERT_EQ(s.ReadBinaryHeader(), 1);
    EXPECT_STREQ(s.Comment(), "hi");
    EXPECT_EQ(s.CommentLength(), 3u);
    EXPECT_EQ(s.HeaderSize(), 18u);
    EXPECT_EQ(s.Position(), 22u);
    EXPECT_EQ(s.Tell(), 22);
    EXPECT_EQ(s.Remaining(), 4u);
}

TEST(GM_Stream, BinaryHeaderVersionsAndRefusals) {
    TempDir dir;
    {
        GM_Stream s;
        OpenOn(s, dir, GmfBytes().Raw("GMI").U32(1).Str("abc").U32(999).b);
        ASSERT_EQ(s.ReadBinaryHeader(), 1);
        EXPECT_EQ(s.ModelType(), GM_MODEL_BASIC) << "version 1 has no model type";
        EXPECT_EQ(s.Position(), 15u + 4u);
        EXPECT_EQ(s.HeaderSize(), 999u) << "stored, never checked";
    }
    {
        GM_Stream s;
        OpenOn(s, dir, GmfBytes().Raw("GMI").U32(0).U32(0).U32(11).b);
        EXPECT_EQ(s.ReadBinaryHeader(), 1) << "version 0 is accepted";
        EXPECT_EQ(s.Comment(), nullptr);
    }
    for (const std::string& bad :
         {GmfBytes().Raw("GMI").U32(4).U32(1).U32(0).U32(15).b,
          GmfBytes().Raw("GMA").U32(3).U32(1).U32(0).U32(15).b, std::string("GMI\3"),
          // A comment length far beyond the file is refused before anything is allocated.
          GmfBytes().Raw("GMI").U32(3).U32(1).U32(0xFFFFFFFF).U32(15).b,
          GmfBytes().Raw("GMI").U32(3).U32(1).U32(8).Raw("short").b}) {
        GM_Stream s;
        OpenOn(s, dir, bad);
        testing::internal::CaptureStderr();
        EXPECT_EQ(s.ReadBinaryHeader(), 0);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Error Reading Binary Header"),
                  std::string::npos);
        EXPECT_TRUE(s.IsOpen()) << "the caller closes the stream";
    }
    GM_Stream closed;
    EXPECT_EQ(closed.ReadBinaryHeader(), 0);
}

TEST(GM_Stream, TextHeaderLines) {
    TempDir dir;
    EXPECT_EQ(WrittenHeader(dir, GM_STREAM_TEXT, "made by hand", GM_MODEL_ARENA),
              "GMA\n*TOLVANE_ASCIIEXPORT\t3\n*MODEL_TYPE\tArena\n*COMMENT\tmade by hand\n");
    EXPECT_EQ(WrittenHeader(dir, GM_STREAM_TEXT, nullptr, 0), "GMA\n*TOLVANE_ASCIIEXPORT\t3\n");
    EXPECT_EQ(WrittenHeader(dir, GM_STREAM_TEXT, nullptr, 5), "GMA\n*TOLVANE_ASCIIEXPORT\t3\n");
    GM_Stream s;
    EXPECT_EQ(s.WriteHeader("x", 1), 0) << "no file";
    EXPECT_EQ(s.OpenWrite("", 0), 0);
    EXPECT_EQ(s.OpenRead((dir / "h.gmf").c_str(), 2), 0) << "no third mode";
}

TEST(GM_Stream, ARefusedModeLeavesTheOpenStreamAsItWas) {
    TempDir dir;
    GM_Stream s;
    const std::string first = dir / "first.gmf";
    ASSERT_EQ(s.OpenWrite(first.c_str(), GM_STREAM_BINARY), 1);
    EXPECT_EQ(s.OpenRead((dir / "other.gmf").c_str(), 7), 0);
    EXPECT_TRUE(s.IsOpen());
    EXPECT_EQ(s.FileName(), first) << "the open file would be reported under another name";
    EXPECT_EQ(s.Mode(), GM_STREAM_BINARY);
}

TEST(GM_Stream, IndentAndPrintf) {
    TempDir dir;
    GM_Stream s;
    EXPECT_EQ(s.Printf("%s", "x"), 0) << "no file";
    s.IndentOut();
    EXPECT_EQ(s.IndentLevel(), 0);
    for (int i = 0; i < 300; ++i)
        s.IndentIn();
    EXPECT_EQ(s.IndentLevel(), 255);
    EXPECT_EQ(std::string(s.IndentString()), std::string(255, '\t'));
    for (int i = 0; i < 252; ++i)
        s.IndentOut();
    EXPECT_STREQ(s.IndentString(), "\t\t\t");

    std::string path = dir / "t.gma";
    ASSERT_EQ(s.OpenWrite(path.c_str(), GM_STREAM_TEXT), 1);
    EXPECT_EQ(s.Printf("%s", std::string(600, 'y').c_str()), 1);
    EXPECT_EQ(s.Printf(nullptr), 0);
    s.Close();
    EXPECT_EQ(ReadTextFile(path), std::string(511, 'y')) << "a long line is cut to 511 bytes";
}

TEST(GM_Stream, ReadsAtTheEndAndSeeks) {
    TempDir dir;
    GM_Stream s;
    uint32_t v = 0;
    EXPECT_EQ(s.Read(&v, 4, 1), 0) << "no file";
    OpenOn(s, dir, GmfBytes().U32(7).Raw("ab").b);
    ASSERT_EQ(s.Read(&v, 4, 1), 1);
    EXPECT_EQ(v, 7u);
    EXPECT_EQ(s.Remaining(), 2u);
    EXPECT_EQ(s.ReadExact(&v, 4, 1), 0) << "two bytes cannot make a word";
    ASSERT_EQ(s.Seek(4, SEEK_SET), 1);
    EXPECT_EQ(s.Read(&v, 4, 1), 1) << "a short read at the end is no error";
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.Position(), 12u) << "the position grows by the amount asked, read or not";

    ASSERT_EQ(s.Seek(1000, SEEK_SET), 1) << "a seek past the end is harmless";
    EXPECT_EQ(s.Remaining(), 0u);
    EXPECT_EQ(s.ReadExact(&v, 4, 1), 0);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.ReadExact(&v, SIZE_MAX, 2), 0) << "a byte count that overflows is refused";
}

TEST(GM_Stream, WriteFailuresReportOnceAndFail) {
    TempDir dir;
    giMessageBoxReset();
    GM_Stream ro;
    WriteTextFile(dir / "in.gmf", "x");
    ASSERT_EQ(ro.OpenRead((dir / "in.gmf").c_str(), GM_STREAM_BINARY), 1);
    uint32_t v = 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ro.Write(&v, 4, 1), 0);
    EXPECT_EQ(ro.Write(&v, 4, 1), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Error Writing Data"), std::string::npos);
    EXPECT_EQ(err.find("Error Writing Data"), err.rfind("Error Writing Data"))
        << "one box per text and run, however often it fails";
    EXPECT_EQ(giMessageBoxAsked(), 2);
    EXPECT_EQ(giMessageBoxShown(), 1);

    GM_Stream full;
    ASSERT_EQ(full.OpenWrite("/dev/full", GM_STREAM_BINARY), 1);
    std::string big(1 << 16, 'z');
    EXPECT_EQ(full.Write(big.data(), 1, big.size()), 0) << "a full device fails the write";

    GM_Stream none;
    EXPECT_EQ(none.OpenWrite((dir / "no/such/x.gmf").c_str(), GM_STREAM_BINARY), 0);
    EXPECT_EQ(none.Write(&v, 4, 1), 0);
    EXPECT_EQ(none.Seek(0, SEEK_SET), 0);
}

TEST(GM_Stream, OpenRecordsTheFileWhenTracking) {
    TempDir dir;
    DropSharedFileIO();
    giFileIO io;
    io.Init("", "", "", ".\\", false, true);
    std::string path = dir / "m.gmf";
    GM_Stream s;
    ASSERT_EQ(s.OpenWrite(path.c_str(), GM_STREAM_BINARY), 1);
    EXPECT_EQ(s.FileName(), path);
    EXPECT_EQ(io.ManagedFiles(), std::vector<std::string>{path});
}
