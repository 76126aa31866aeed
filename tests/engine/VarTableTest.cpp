// Variable tables: adding entries, setters by name, text forms and the ini round trip.
#include "engine/VarTable.h"
#include "engine/IniFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

namespace {
struct Obj {
    uint8_t byte;
    int32_t count;
    float speed;
    char label[9]; // max length 8
    uint32_t flag;
    float color4[4]; // r, g, b, a
    float color3[3];
    uint32_t packed;
    intptr_t target;
    float pos[3];
};

struct TableDeleter {
    void operator()(VarTable* t) const { VarTableDestroy(t); }
};
using TablePtr = std::unique_ptr<VarTable, TableDeleter>;

TablePtr MakeTable(int count) {
    return TablePtr(VarTableCreate(count));
}
} // namespace

TEST(VarTable, FullOrEmptyTablesAndBadNamesRefuseAdds) {
    TablePtr empty = MakeTable(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(VarTableAddInt(empty.get(), "a", 0, 0, 0, 1), -1);
    EXPECT_EQ(VarTableAddSeparator(empty.get(), "General:"), -1);

    TablePtr t = MakeTable(5);
    EXPECT_EQ(VarTableAddInt(t.get(), std::string(40, 'n').c_str(), 0, 0, 0, 1), -1)
        << "a name cut to fit could collide with another";
    EXPECT_EQ(VarTableAddInt(t.get(), std::string(31, 'n').c_str(), 0, 0, 0, 1), 0);
    EXPECT_EQ(VarTableAddColor4b(t.get(), std::string(30, 'c').c_str(), 0, 0), -1)
        << "'<name>.a' must fit 31 characters";
    EXPECT_EQ(VarTableAddInt(t.get(), "x", 0, 0, 0, 1), 0);
    EXPECT_EQ(VarTableAddColor4f(t.get(), "col", 0), -1) << "only three entries are free";
    EXPECT_EQ(VarTableFind(t.get(), "col.a"), nullptr) << "a refused colour must add nothing";
    EXPECT_EQ(VarTableAddFloat(t.get(), "f", 0, 0, 0, 1), 0);
    EXPECT_EQ(VarTableAddBool(t.get(), "b", 0, 1), 0);
    EXPECT_EQ(VarTableAddEntity(t.get(), "e", 0), 0);
    EXPECT_EQ(VarTableAddString(t.get(), "s", 0, 8, ""), -1) << "the table is full";
    EXPECT_EQ(VarTableCreate(-1), nullptr);
}

TEST(VarTable, ColourAddsExpandIntoChannelEntries) {
    TablePtr t = MakeTable(12);
    ASSERT_EQ(VarTableAddColor4b(t.get(), "colour", offsetof(Obj, packed), 0x80402010u), 0);
    const char* names[4] = {"colour.a", "colour.r", "colour.g", "colour.b"};
    const int bytes[4] = {3, 2, 1, 0};
    const int defs[4] = {0x80, 0x40, 0x20, 0x10};
    for (int i = 0; i < 4; ++i) {
        VarEntry* e = VarTableFind(t.get(), names[i]);
        ASSERT_NE(e, nullptr) << names[i];
        EXPECT_EQ(e->type, (uint32_t)VAR_BYTE);
        EXPECT_EQ(e->offset, (intptr_t)offsetof(Obj, packed) + bytes[i]) << names[i];
        EXPECT_EQ(e->def.i, defs[i]);
        EXPECT_EQ(e->max.i, 255);
    }
    ASSERT_EQ(VarTableAddColor4fArgb(t.get(), "tint", 100, 0xFF000080u), 0);
    const int offsets[4] = {12, 0, 4, 8};
    const char* tint[4] = {"tint.a", "tint.r", "tint.g", "tint.b"};
    for (int i = 0; i < 4; ++i) {
        VarEntry* e = VarTableFind(t.get(), tint[i]);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->type, (uint32_t)VAR_FLOAT);
        EXPECT_EQ(e->offset, 100 + offsets[i]) << tint[i];
    }
    EXPECT_FLOAT_EQ(VarTableFind(t.get(), "tint.a")->def.f, 1.0f);
    EXPECT_FLOAT_EQ(VarTableFind(t.get(), "tint.b")->def.f, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(VarTableFind(t.get(), "tint.r")->def.f, 0.0f);
}

TEST(VarTable, SettersStoreOnlyIntoTheirOwnType) {
    TablePtr t = MakeTable(16);
    VarTableAddString(t.get(), "label", offsetof(Obj, label), 8, "");
    VarTableAddInt(t.get(), "count", offsetof(Obj, count), 0, 0, 10);
    VarTableAddFloat(t.get(), "pos.x", offsetof(Obj, pos), 0, 0, 1);
    VarTableAddFloat(t.get(), "pos.y", offsetof(Obj, pos) + 4, 0, 0, 1);
    VarTableAddFloat(t.get(), "pos.z", offsetof(Obj, pos) + 8, 0, 0, 1);
    VarTableAddColor4b(t.get(), "packed", offsetof(Obj, packed), 0);
    VarTableAddColor4f(t.get(), "c4", offsetof(Obj, color4));
    VarTableAddEntity(t.get(), "target", offsetof(Obj, target));
    VarTableAddBool(t.get(), "flag", offsetof(Obj, flag), 0);
    Obj o{};
    std::memset(o.label, 'Z', sizeof o.label);

    EXPECT_EQ(VarTableSetString(t.get(), &o, "label", "much too long a label"), 1);
    EXPECT_STREQ(o.label, "much too") << "cut to 8 characters and terminated";
    EXPECT_EQ(VarTableSetString(t.get(), &o, "label", nullptr), 1);
    EXPECT_STREQ(o.label, "");
    EXPECT_EQ(VarTableSetFloat(t.get(), &o, "count", 2.0f), 0) << "another type changes nothing";
    EXPECT_EQ(VarTableSetInt(t.get(), &o, "missing", 2), 0);
    EXPECT_EQ(o.count, 0);
    EXPECT_EQ(VarTableSetVector(t.get(), &o, "pos", 1, 2, 3), 1) << "finds pos.x, pos.y, pos.z";
    EXPECT_EQ(o.pos[2], 3.0f);
    EXPECT_EQ(VarTableSetColor(t.get(), &o, "c4", 0.25f, 0.5f, 1.0f), 1);
    EXPECT_EQ(o.color4[1], 0.5f);
    EXPECT_EQ(VarTableSetColor(t.get(), &o, "packed", 1.0f, 0.5f, -1.0f), 1);
    EXPECT_EQ(o.packed, 0x00FF8000u) << "byte channels take the fraction of 255, clamped";
    int marker;
    EXPECT_EQ(VarTableSetEntity(t.get(), &o, "target", (intptr_t)&marker), 1);
    EXPECT_EQ(o.target, (intptr_t)&marker) << "entity references keep the whole pointer";
    EXPECT_EQ(VarTableSetBool(t.get(), &o, "flag", 5), 1);
    EXPECT_EQ(o.flag, 1u);
}

TEST(VarTable, TextForms) {
    TablePtr t = MakeTable(8);
    VarTableAddByte(t.get(), "byte", offsetof(Obj, byte), 0, 0, 255);
    VarTableAddFloat(t.get(), "speed", offsetof(Obj, speed), 0, 0, 10);
    VarTableAddBool(t.get(), "flag", offsetof(Obj, flag), 0);
    VarTableAddString(t.get(), "label", offsetof(Obj, label), 8, "");
    Obj o{};
    char text[32];
    VarEntry* e = VarTableFind(t.get(), "flag");
    VarTableEntryFromText(e, &o, "2");
    EXPECT_EQ(o.flag, 1u) << "a nonzero number stores 1";
    VarTableEntryToText(e, &o, text, sizeof text);
    EXPECT_STREQ(text, "1");
    VarTableEntryFromText(VarTableFind(t.get(), "byte"), &o, "300");
    EXPECT_EQ(o.byte, 255) << "a byte saturates rather than wrapping";
    VarTableEntryFromText(VarTableFind(t.get(), "speed"), &o, "1.50");
    VarTableEntryToText(VarTableFind(t.get(), "speed"), &o, text, sizeof text);
    EXPECT_STREQ(text, "1.5");
    VarTableEntryFromText(VarTableFind(t.get(), "label"), &o, "0123456789");
    EXPECT_STREQ(o.label, "01234567");
    VarTableEntryToText(VarTableFind(t.get(), "label"), &o, text, 4);
    EXPECT_STREQ(text, "012");
}

TEST(VarTable, IniRoundTripOfEveryStoredType) {
    TempDir dir;
    TablePtr t = MakeTable(16);
    VarTableAddByte(t.get(), "byte", offsetof(Obj, byte), 9, 0, 255);
    VarTableAddInt(t.get(), "count", offsetof(Obj, count), 0, 0, 10);
    VarTableAddFloat(t.get(), "speed", offsetof(Obj, speed), 0, 0, 10);
    VarTableAddString(t.get(), "label", offsetof(Obj, label), 8, "def");
    VarTableAddColor4f(t.get(), "c4f", offsetof(Obj, color4));
    VarTableAddBool(t.get(), "flag", offsetof(Obj, flag), 0);
    // Whole-colour entries have no add of their own; they are plain entries of the table.
    VarEntry* whole4 = &t->Entries()[10];
    VarEntry* whole3 = &t->Entries()[11];
    std::strcpy(whole4->name, "w4");
    whole4->type = VAR_COLOR4F;
    whole4->offset = offsetof(Obj, color4);
    std::strcpy(whole3->name, "w3");
    whole3->type = VAR_COLOR3F;
    whole3->offset = offsetof(Obj, color3);

    Obj a{};
    a.byte = 200;
    a.count = -7;
    a.speed = 0.125f;
    std::strcpy(a.label, "hello");
    a.color4[0] = 0.5f;
    a.color4[3] = 0.25f;
    a.color3[2] = 0.75f;
    a.flag = 1;
    std::string path = dir / "vars.ini";
    EXPECT_EQ(VarTableSaveIni(t.get(), path.c_str(), "Thing", &a), 0);
    EXPECT_EQ(VarTableSaveIni(t.get(), (dir / "No/vars.ini").c_str(), "Thing", &a), -1)
        << "a save into a missing folder wrote nothing and must say so";
    std::string text = ReadTextFile(path);
    EXPECT_NE(text.find("\nc4f.a=0.25\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nw3.b=0.75\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("flag"), std::string::npos) << "bools have no ini form";

    Obj b{};
    VarTableLoadIni(t.get(), path.c_str(), "Thing", &b);
    EXPECT_EQ(b.byte, 200);
    EXPECT_EQ(b.count, -7);
    EXPECT_EQ(b.speed, 0.125f);
    EXPECT_STREQ(b.label, "hello");
    EXPECT_EQ(std::memcmp(a.color4, b.color4, sizeof a.color4), 0);
    EXPECT_EQ(std::memcmp(a.color3, b.color3, sizeof a.color3), 0);

    WriteTextFile(path, "[Thing]\nlabel=" + std::string(50, 'L') + "\n");
    Obj c{};
    VarTableLoadIni(t.get(), path.c_str(), "Thing", &c);
    EXPECT_STREQ(c.label, "LLLLLLLL") << "an over-long string is cut to its entry";
    EXPECT_EQ(c.byte, 9) << "a missing key takes the entry's default";
    EXPECT_EQ(c.color4[0], 1.0f) << "colour channels default to 1.0";
    VarTableLoadIni(t.get(), (dir / "missing.ini").c_str(), "Thing", &c);
    EXPECT_STREQ(c.label, "def");
}

// An entity ini's switch ("destBlend=TRUE" for a spray) reaches its bool entry; a missing key
// leaves the value as it was, so files that never named it load as before.
TEST(VarTable, BoolKeysAreReadWhenPresent) {
    TempDir dir;
    TablePtr t = MakeTable(2);
    VarTableAddBool(t.get(), "flag", offsetof(Obj, flag), 0);
    VarTableAddInt(t.get(), "count", offsetof(Obj, count), 0, -100, 100);
    std::string path = dir / "bools.ini";
    Obj o{};
    const struct {
        const char* value;
        uint32_t want;
    } cases[] = {{"TRUE", 1}, {"FALSE", 0}, {"true", 1}, {"1", 1}, {"0", 0}, {"-3", 1}, {"", 0}};
    for (const auto& c : cases) {
        o.flag = 7;
        WriteTextFile(path, std::string("[Thing]\nflag=") + c.value + "\n");
        VarTableLoadIni(t.get(), path.c_str(), "Thing", &o);
        EXPECT_EQ(o.flag, c.want) << "flag=" << c.value;
    }
    WriteTextFile(path, "[Thing]\ncount=4\n[Other]\nflag=TRUE\n");
    o.flag = 0;
    VarTableLoadIni(t.get(), path.c_str(), "Thing", &o);
    EXPECT_EQ(o.flag, 0u) << "another section's key must not reach it";
    EXPECT_EQ(o.count, 4);
    o.flag = 1;
    VarTableLoadIni(t.get(), path.c_str(), "Thing", &o);
    EXPECT_EQ(o.flag, 1u) << "a missing key leaves the value";
}

// A byte read from an ini saturates as its text form does; an empty path reads no file, not the
// one an earlier caller left loaded.
TEST(VarTable, IniBytesSaturateAndAnEmptyPathGivesTheDefaults) {
    TempDir dir;
    TablePtr t = MakeTable(2);
    VarTableAddByte(t.get(), "byte", offsetof(Obj, byte), 9, 0, 255);
    VarTableAddInt(t.get(), "count", offsetof(Obj, count), 5, -100, 100);
    const std::string path = dir / "bytes.ini";
    WriteTextFile(path, "[Thing]\nbyte=300\ncount=-4\n");
    Obj o{};
    VarTableLoadIni(t.get(), path.c_str(), "Thing", &o);
    EXPECT_EQ(o.byte, 255) << "300 wrapped";
    ASSERT_EQ(IniOpen(path.c_str()), 0); // some caller's file, still loaded
    VarTableLoadIni(t.get(), "", "Thing", &o);
    EXPECT_EQ(o.byte, 9);
    EXPECT_EQ(o.count, 5);
    IniClose();
}
