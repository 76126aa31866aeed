// Property databases: field rules, text and ini forms, setters by name, blobs, dumps, and a
// record of every type saved to a real file and loaded back.
#include "engine/PropDb.h"
#include "engine/DebugLog.h"
#include "engine/IniFile.h"
#include "engine/Memory.h"
#include "engine/PropFields.h"
#include "tests/support/TestSupport.h"

#include "tests/engine/AllFieldsRecord.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace {
using all_fields::Record;
using all_fields::RecordDb;

// Field by field: the padding between fields is nobody's value.
void ExpectSame(const Record& a, const Record& b) {
    EXPECT_STREQ(a.name, b.name);
    EXPECT_EQ(a.count, b.count);
    EXPECT_EQ(a.speed, b.speed);
    EXPECT_EQ(a.heading, b.heading);
    EXPECT_STREQ(a.title, b.title);
    EXPECT_EQ(a.enabled, b.enabled);
    EXPECT_EQ(std::memcmp(a.tint, b.tint, sizeof a.tint), 0);
    EXPECT_EQ(a.color, b.color);
    EXPECT_EQ(std::memcmp(a.pos, b.pos, sizeof a.pos), 0);
    EXPECT_EQ(a.user, b.user);
}

Record Sample() {
    Record r;
    std::memset(&r, 0xAB, sizeof r);
    PropDbInitObject(RecordDb(), &r);
    std::strcpy(r.name, "Ferris Wheel");
    r.count = -12;
    r.speed = 0.125f;
    r.heading = 3.25f;
    std::strcpy(r.title, "Big one");
    r.enabled = 0;
    r.tint[0] = 0.5f;
    r.tint[1] = 0.25f;
    r.tint[2] = 0.0f;
    r.color = 0x80FF4002u;
    r.pos[0] = 10.0f;
    r.pos[1] = -2.5f;
    r.pos[2] = 1024.0f;
    r.user = 0;
    return r;
}

std::string TextOf(const char* field, const void* object) {
    char out[256];
    PropDbFindField(RecordDb(), field)->ToText(object, out, sizeof out);
    return out;
}

class PropDbFile : public ::testing::Test {
  protected:
    void TearDown() override {
        IniClose();
        IniClearProfileFile();
        DbgSetLevelMask(0);
        DbgSetOutputMask(0);
    }
    TempDir dir;
};
} // namespace

TEST(PropDb, AddRules) {
    PropDb db;
    const char* name24 = "abcdefghijklmnopqrstuvwxONE";
    ASSERT_NE(PropDbAddInt(&db, name24, 0, 0), nullptr);
    EXPECT_EQ(PropDbAddInt(&db, "abcdefghijklmnopqrstuvwxTWO", 4, 0), nullptr)
        << "names equal in their first 24 characters are one name";
    EXPECT_EQ(PropDbFindField(&db, "abcdefghijklmnopqrstuvwxANY"), db.first);
    EXPECT_EQ(PropDbAddInt(&db, std::string(68, 'n').c_str(), 0, 0), nullptr);
    EXPECT_EQ(PropDbAddInt(&db, "", 0, 0), nullptr);
    auto* f = static_cast<PropFieldFloat*>(PropDbAddFloat(&db, "f", 0, 0));
    auto* a = static_cast<PropFieldFloat*>(PropDbAddAngle(&db, "a", 0, 0));
    auto* i = static_cast<PropFieldInt*>(PropDbAddInt(&db, "i", 0, 0));
    ASSERT_TRUE(f && a && i);
    EXPECT_EQ(f->max, 1000.0f);
    EXPECT_EQ(f->step, 1.0f);
    EXPECT_FLOAT_EQ(a->max, 6.2831855f);
    EXPECT_FLOAT_EQ(a->step, 0.017453292f);
    EXPECT_EQ(i->max, 100);
    EXPECT_STREQ(db.first->next->TypeName(), "float");
    EXPECT_STREQ(db.first->next->next->TypeName(), "angle");
    EXPECT_EQ(PropDbFindField(&db, "i"), i) << "fields keep the order they were added in";
}

TEST(PropDb, DatabasesJoinAndLeaveTheGlobalList) {
    {
        PropDb db;
        PropDbSetName(&db, "Scoped");
        EXPECT_EQ(PropDbFirst(), &db);
    }
    for (PropDb* db = PropDbFirst(); db; db = db->next)
        EXPECT_STRNE(db->name, "Scoped") << "a destroyed database stayed in the list";
}

TEST(PropDb, TextForms) {
    Record r = Sample();
    EXPECT_EQ(TextOf("speed", &r), "0.125");
    PropField* speed = PropDbFindField(RecordDb(), "speed");
    speed->FromText(&r, "2");
    EXPECT_EQ(r.speed, 2.0f);
    r.speed = 1.5f;
    EXPECT_EQ(TextOf("speed", &r), "1.5");

    PropField* enabled = PropDbFindField(RecordDb(), "enabled");
    for (const char* no : {"FALSE", "0", "f", "false"}) {
        enabled->FromText(&r, no);
        EXPECT_EQ(r.enabled, 0) << no;
    }
    for (const char* yes : {"no", "TRUE", "1", "x"}) {
        enabled->FromText(&r, yes);
        EXPECT_EQ(r.enabled, 1) << yes << ": only '0', 'f' and 'F' are false";
    }
    EXPECT_EQ(TextOf("enabled", &r), "TRUE");

    PropField* count = PropDbFindField(RecordDb(), "count");
    count->FromText(&r, "0x1F");
    EXPECT_EQ(r.count, 31);
    count->FromText(&r, "010");
    EXPECT_EQ(r.count, 10) << "a leading zero is still decimal";
    EXPECT_EQ(TextOf("color", &r), "0x80FF4002");
    EXPECT_EQ(TextOf("pos", &r), "10.000000 -2.500000 1024.000000");
    PropDbFindField(RecordDb(), "pos")->FromText(&r, " 1  2\t3 ");
    EXPECT_EQ(r.pos[2], 3.0f);
    r.user = (intptr_t)0x123456789ABCll;
    EXPECT_EQ(TextOf("user", &r), "123456789ABC") << "the whole pointer-sized word";
}

TEST(PropDb, SetByNameTakesOnlyItsOwnType) {
    Record r = Sample();
    Record before = r;
    const PropDb* db = RecordDb();
    EXPECT_FALSE(PropDbSetFloat(db, &r, "heading", 9.0f)) << "the float setter took an angle";
    EXPECT_FALSE(PropDbSetInt(db, &r, "speed", 9));
    EXPECT_FALSE(PropDbSetBool(db, &r, "missing", 1));
    EXPECT_FALSE(PropDbSetVector3(db, &r, "tint", 1, 2, 3)) << "COLOR3F is not VECTOR3";
    EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0) << "a failed set changed the object";

    EXPECT_TRUE(PropDbSetBool(db, &r, "enabled", 1));
    EXPECT_EQ(r.enabled, 1);
    EXPECT_EQ(std::memcmp(r.tint, before.tint, sizeof r.tint), 0) << "a bool is one byte";
    EXPECT_TRUE(PropDbSetColor3(db, &r, "tint", 1, 2, 3));
    EXPECT_EQ(r.tint[2], 3.0f);
    EXPECT_TRUE(PropDbSetVoid(db, &r, "user", (intptr_t)&r));
    EXPECT_EQ(r.user, (intptr_t)&r);
    EXPECT_TRUE(PropDbSetString(db, &r, "title", "a title well over sixteen"));
    EXPECT_STREQ(r.title, "a title well ove");
}

// String values come from data and save files and scripts: every way in must stop at the
// field's buffer. The object is exactly as big as its fields, so the sanitizer sees overruns.
TEST(PropDb, OverLongStringsAreCutAndTerminated) {
    PropDb db;
    PropDbAddString(&db, "s", 0, "default text that is long", 8);
    char* obj = static_cast<char*>(MemAlloc(9));
    PropDbInitObject(&db, obj);
    EXPECT_STREQ(obj, "default ");
    db.first->FromText(obj, "0123456789abcdef");
    EXPECT_STREQ(obj, "01234567");
    EXPECT_EQ(db.first->Size(obj), 9);
    db.first->CopyIn(obj, "a blob string longer than eight");
    EXPECT_STREQ(obj, "a blob s");
    MemFree(obj);
}

TEST(PropDb, Color4bChannelsReadAsBytesOrFractions) {
    TempDir dir;
    PropDb db;
    PropDbAddColor4b(&db, "c", 0, 0x11223344u);
    auto load = [&](const std::string& keys) {
        WriteTextFile(dir / "c.ini", "[S]\n" + keys);
        uint32_t c = 0;
        VarDbLoadIni(&db, &c, (dir / "c.ini").c_str(), "S");
        return c;
    };
    EXPECT_EQ(load("c.a=255\nc.r=128\nc.g=0\nc.b=64\n"), 0xFF800040u);
    EXPECT_EQ(load("c.a=255\nc.r=128\nc.g=0.5\nc.b=64\n"), 0xFFFF80FFu)
        << "one '.' makes all four fractions; above 1.0 clamps to 255";
    EXPECT_EQ(load("c.a=-0.5\nc.r=1.0\n"), 0x00FF3344u)
        << "negative clamps to 0; missing channels keep the default";
    EXPECT_EQ(load("c.a=300\nc.r=-4\nc.g=0x10\n"), 0xFF001044u);
    EXPECT_EQ(load("other=1\n"), 0x11223344u);

    // Written as channel x 1/255 and read back: every byte value survives.
    for (uint32_t v = 0; v < 256; ++v) {
        uint32_t c = v * 0x01010101u, back = 0;
        VarDbSaveIni(&db, &c, (dir / "w.ini").c_str(), "S");
        VarDbLoadIni(&db, &back, (dir / "w.ini").c_str(), "S");
        ASSERT_EQ(back, c) << "channel " << v << " drifted through the ini form";
    }
}

TEST_F(PropDbFile, BlobHoldsEveryFieldInOrder) {
    Record r = Sample();
    size_t size = 0;
    int64_t live = MemLiveBlocks();
    void* blob = VarDbSaveBlob(RecordDb(), &r, &size);
    ASSERT_NE(blob, nullptr);
    size_t expected = (std::strlen(r.name) + 1) + 4 + 4 + 4 + (std::strlen(r.title) + 1) + 1 + 12 +
                      4 + 12 + sizeof(intptr_t);
    EXPECT_EQ(size, expected);
    Record back;
    std::memset(&back, 0, sizeof back);
    EXPECT_TRUE(VarDbLoadBlob(RecordDb(), &back, blob));
    ExpectSame(back, r);
    MemFree(blob);
    EXPECT_EQ(MemLiveBlocks(), live);
}

TEST_F(PropDbFile, DumpsListFieldsAndValues) {
    std::string log = dir / "Debug.txt";
    DbgSetLogFile(log.c_str());
    DbgSetOutputMask(DBG_OUT_FILE);
    DbgSetLevelMask(DBG_GENERAL);
    PropDb db;
    PropDbSetName(&db, "Small");
    PropDbAddInt(&db, "count", 0, 3);
    PropDbAddStringBlank(&db, "label", 4, 8);
    PropDbDump(&db);
    struct {
        int32_t count;
        char label[9];
    } obj = {42, "hi"};
    VarDbDump(&db, &obj);
    char address[32];
    std::snprintf(address, sizeof address, "%lX", (unsigned long)(uintptr_t)&obj);
    EXPECT_EQ(ReadTextFile(log), "Property Database [Small]\n"
                                 "  field:[           count]  type:[         int]:\n"
                                 "  field:[           label]  type:[      string]:\n"
                                 "Variable Database [Small] of object at 0x" +
                                     std::string(address) +
                                     "\n"
                                     "  [           count]  [         int] [  4 bytes] [42]\n"
                                     "  [           label]  [      string] [  3 bytes] [hi]\n");
}

// A record saved into a file under one spelling equals the checked-in text and loads back
// through another spelling; an over-long string in the file comes back cut.
TEST_F(PropDbFile, SavedRecordMatchesTheExpectedFileAndLoadsBack) {
    Record r = Sample();
    std::string expected = ReadTextFile(FAIRLARK_SOURCE_DIR "/tests/data/engine/PropDbRecord.ini");
    std::string path = dir / "Record.INI";
    VarDbSaveIni(RecordDb(), &r, path.c_str(), "Wheel");
    EXPECT_EQ(ReadTextFile(path), expected);

    auto* back = static_cast<Record*>(MemAlloc(sizeof(Record)));
    std::memset(back, 0, sizeof(Record));
    VarDbLoadIni(RecordDb(), back, (dir / "record.ini").c_str(), "Wheel");
    ExpectSame(*back, r);

    IniSetProfileFile(path.c_str());
    IniProfileWriteString("Wheel", "title", std::string(300, 'T').c_str());
    IniClearProfileFile();
    VarDbLoadIni(RecordDb(), back, path.c_str(), "Wheel");
    EXPECT_EQ(std::string(back->title), std::string(16, 'T'));
    EXPECT_EQ(back->enabled, 0) << "the title overran into the next field";
    MemFree(back);

    VarDbLoadIni(RecordDb(), &r, (dir / "missing.ini").c_str(), "Wheel");
    EXPECT_STREQ(r.title, "Untitled") << "a missing file leaves every field at its default";
    EXPECT_EQ(r.color, 0xFFFFFFFFu);
}

// Saving into a folder that does not exist writes nothing, and must say so: the caller would
// otherwise tell the player a save was made.
TEST_F(PropDbFile, ASaveThatCannotBeWrittenReportsFailure) {
    Record r = Sample();
    EXPECT_TRUE(VarDbSaveIni(RecordDb(), &r, (dir / "Record.ini").c_str(), "Wheel"));
    LogCapture log(DBG_GENERAL);
    EXPECT_FALSE(VarDbSaveIni(RecordDb(), &r, (dir / "No/Such/Record.ini").c_str(), "Wheel"));
    EXPECT_FALSE(PathExistsOnDisk(dir / "No"));
    EXPECT_NE(log.Text().find("No/Such/Record.ini"), std::string::npos)
        << "the log must name the file that was not written: " << log.Text();
}
