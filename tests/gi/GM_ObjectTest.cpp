// GMF record framing: the keyword table, the header writer, the factory and the object list,
// including lists cut short, broken counts and failing members.
#include "gi/GM_List.h"
#include "gi/giDebug.h"

#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {
constexpr const char* kUnknownWarning = "**** WARNING **** Encountered Unknown GMF Object Type\n";

// A data-tag record as GmTestRecord writes it.
GmfBytes& Record(GmfBytes& g, const char* name, std::initializer_list<uint32_t> values) {
    g.U32(GMID_DATA_TAG)
        .U32(2)
        .U32(4 + (uint32_t)std::string(name).size() + 1 + 4 + 4 * (uint32_t)values.size());
    g.Str(name).U32((uint32_t)values.size());
    for (uint32_t v : values)
        g.U32(v);
    return g;
}

GmfBytes ListHeader(uint32_t count) {
    return GmfBytes().U32(2).U32(0).U32(count); // version, size word (not kept), count
}

class GmObjectListTest : public testing::Test {
  protected:
    // Reads an object list from bytes; the list's result, or -1 when the stream did not open.
    int ReadList(const std::string& bytes, GM_ObjectList& list) {
        std::string path = m_dir / "list.gmf";
        WriteTextFile(path, bytes);
        GM_Stream s;
        if (!s.OpenRead(path.c_str(), GM_STREAM_BINARY)) return -1;
        return list.Read(&s);
    }
    std::string Names(GM_ObjectList& list) {
        std::string out;
        for (GM_Object* o = list.First(); o; o = list.Next())
            out += std::string(o->Name() ? o->Name() : "?") + ";";
        return out;
    }

    TempDir m_dir;
    ScopedMaker m_maker{GMID_DATA_TAG, &GmTestRecord::Make};
};
} // namespace

TEST(GM_Object, KeywordTable) {
    EXPECT_STREQ(GM_Keyword(0), "*NULL");
    EXPECT_STREQ(GM_Keyword(41), "*GMID_GENERIC_GROUPING");
    EXPECT_STREQ(GM_Keyword(56), "*GMID_LPHYS_SPRING");
    EXPECT_STREQ(GM_Keyword(58), "*GMID_SKELETON");
    EXPECT_STREQ(GM_Keyword(13), "Other");
    EXPECT_EQ(GM_Keyword(60), nullptr);
    for (uint32_t id = 0; id < GM_KEYWORD_COUNT; ++id)
        EXPECT_NE(GM_Keywords[id], nullptr) << "the table has exactly 60 entries, none missing";
    EXPECT_FALSE(GM_IsFactoryId(GMID_COLLISION_OBJECT));
    EXPECT_FALSE(GM_IsFactoryId(GMID_GENERIC_GROUPING));
    EXPECT_TRUE(GM_IsFactoryId(GMID_PRIMITIVE));
    EXPECT_EQ(GM_SetMaker(3, &GmTestRecord::Make), nullptr);
}

TEST(GM_Object, HeaderWriterAndTextKeyword) {
    TempDir dir;
    GmTestRecord r;
    r.SetName("Tag");
    r.values = {5};
    std::string bin = dir / "r.gmf", txt = dir / "r.gma";
    GM_Stream s;
    ASSERT_EQ(s.OpenWrite(bin.c_str(), GM_STREAM_BINARY), 1);
    ASSERT_EQ(r.Write(&s), 1);
    s.Close();
    GmfBytes expected;
    EXPECT_EQ(ReadTextFile(bin), Record(expected, "Tag", {5}).b);

    ASSERT_EQ(s.OpenWrite(txt.c_str(), GM_STREAM_TEXT), 1);
    s.IndentIn();
    GM_Object skeleton(GMID_SKELETON);
    ASSERT_EQ(skeleton.GM_Object::Write(&s), 1);
    s.Close();
    EXPECT_EQ(ReadTextFile(txt), "\t*GMID_SKELETON\n");
    GM_Object nowhere;
    EXPECT_EQ(nowhere.Write(nullptr), 0);
}

TEST_F(GmObjectListTest, RoundTripThroughTheFactoryKeepsIdVersionAndName) {
    std::string path = m_dir / "one.gmf";
    GM_Stream w;
    ASSERT_EQ(w.OpenWrite(path.c_str(), GM_STREAM_BINARY), 1);
    GmTestRecord r;
    r.SetName("Ball");
    r.values = {1, 2, 3};
    ASSERT_EQ(r.Write(&w), 1);
    w.Close();

    GM_Stream s;
    ASSERT_EQ(s.OpenRead(path.c_str(), GM_STREAM_BINARY), 1);
    GM_Object* o = GM_CreateObject(&s);
    ASSERT_NE(o, nullptr);
    ASSERT_EQ(o->Read(&s), 1);
    EXPECT_EQ(o->TypeId(), GMID_DATA_TAG);
    EXPECT_EQ(o->Version(), 2u);
    EXPECT_STREQ(o->Name(), "Ball");
    EXPECT_EQ(o->NameLength(), 5u) << "the stored length counts the zero";
    EXPECT_EQ(static_cast<GmTestRecord*>(o)->values, (std::vector<uint32_t>{1, 2, 3}));
    delete o;
}

TEST_F(GmObjectListTest, UnknownRecordsAreSkippedBySize) {
    GmfBytes g = ListHeader(3);
    g.U32(3).U32(2).U32(6).Raw("shape!"); // "*SHAPE": not made by the factory
    g.U32(41).U32(1).U32(2).Raw("gg");    // version 1: its size word is still read and skipped
    Record(g, "B", {9});
    GM_ObjectList list;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadList(g.b, list), 1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Names(list), "B;");
    size_t first = err.find(kUnknownWarning);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(err.find(kUnknownWarning, first + 1), std::string::npos) << "one line per record";
}

TEST_F(GmObjectListTest, EmptyAndRefusedLists) {
    GM_ObjectList list;
    EXPECT_EQ(ReadList(ListHeader(0).b, list), 1);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.HasItems());

    giMessageBoxReset();
    EXPECT_EQ(ReadList(GmfBytes().U32(2).U32(0).b, list), 0) << "a list header cut short";
    EXPECT_EQ(giMessageBoxAsked(), 1);
    EXPECT_EQ(list.Read(nullptr), 0);
    std::string path = m_dir / "t.gma";
    WriteTextFile(path, "GMA\n");
    GM_Stream text;
    ASSERT_EQ(text.OpenRead(path.c_str(), GM_STREAM_TEXT), 1);
    EXPECT_EQ(list.Read(&text), 0) << "GMF readers refuse a text stream";
    EXPECT_EQ(text.Tell(), 0) << "and read nothing from it";
}

TEST_F(GmObjectListTest, ABrokenCountStopsAtTheEndOfTheFile) {
    GmfBytes g = ListHeader(0xFFFFFFFF);
    Record(g, "A", {1});
    Record(g, "B", {2});
    GM_ObjectList list;
    EXPECT_EQ(ReadList(g.b, list), 1);
    EXPECT_EQ(Names(list), "A;B;");
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(GmObjectListTest, AFailingMemberIsFreedAndTheNextOneStillReads) {
    GmfBytes g = ListHeader(3);
    Record(g, "A", {1});
    Record(g, "Bad", {7, 0xDEAD, 8, 9}); // fails two words into its payload
    Record(g, "C", {3});
    {
        GM_ObjectList list;
        EXPECT_EQ(ReadList(g.b, list), 1);
        EXPECT_EQ(Names(list), "A;C;") << "the list resumes after the failed payload";
        EXPECT_EQ(GmTestRecord::s_live, 2) << "the failed member must be freed";
    }
    EXPECT_EQ(GmTestRecord::s_live, 0) << "the list destroys its members";
}

TEST_F(GmObjectListTest, ATruncatedListEndsCleanlyAtEveryLength) {
    GmfBytes g = ListHeader(2);
    Record(g, "First", {1, 2, 3});
    Record(g, "Second", {4, 5});
    for (size_t cut = 0; cut <= g.b.size(); ++cut) {
        GM_ObjectList list;
        int r = ReadList(g.b.substr(0, cut), list);
        ASSERT_GE(r, 0);
        int n = list.Count();
        if (cut == g.b.size()) {
            EXPECT_EQ(n, 2);
        } else {
            ASSERT_LE(n, 1) << "a cut record must not be appended (cut at " << cut << ")";
            if (n == 1) {
                ASSERT_STREQ(list.Head()->Name(), "First");
            }
        }
    }
    EXPECT_EQ(GmTestRecord::s_live, 0);
}
