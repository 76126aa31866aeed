// Tables sized from their field lists, and adds that refuse a field saying which.
#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace {
struct Obj {
    int32_t count;
    float speed;
    char label[9];
    float color[4];
};

void AddObjVars(VarTable* t) {
    VarTableAddInt(t, "count", offsetof(Obj, count), 1, 0, 10);
    VarTableAddFloat(t, "speed", offsetof(Obj, speed), 1.0f, 0.0f, 5.0f);
    VarTableAddString(t, "label", offsetof(Obj, label), 8, "x");
    VarTableAddColor4f(t, "color", offsetof(Obj, color));
}
} // namespace

TEST(VarTableBuild, TheTableHoldsTheFillsEntriesAndTheSpareRoomAsked) {
    VarTable* t = VarTableBuild(AddObjVars, 2);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->count, 9) << "three entries, four colour entries, two spare";
    const char* names[] = {"count", "speed", "label", "color.a", "color.r", "color.g", "color.b"};
    for (int i = 0; i < 7; ++i)
        EXPECT_STREQ(t->Entries()[i].name, names[i]);
    EXPECT_EQ(t->Entries()[7].type, (uint32_t)VAR_FREE);
    Obj o = {};
    VarTableInitObject(t, &o);
    EXPECT_EQ(o.count, 1);
    EXPECT_STREQ(o.label, "x");
    EXPECT_EQ(VarTableAddInt(t, "more", offsetof(Obj, count), 0, 0, 1), 0) << "the spare room";
    VarTableDestroy(t);
    EXPECT_EQ(VarTableBuild(nullptr), nullptr);
}

TEST(VarTableBuild, ATableCountedTooSmallReportsTheFieldItDropped) {
    LogCapture log(DBG_GENERAL);
    VarTable* t = VarTableCreate(2);
    ASSERT_NE(t, nullptr);
    const int64_t before = VarTableFailedAdds();
    EXPECT_EQ(VarTableAddInt(t, "count", offsetof(Obj, count), 1, 0, 10), 0);
    EXPECT_EQ(VarTableAddFloat(t, "speed", offsetof(Obj, speed), 1.0f, 0.0f, 5.0f), 0);
    EXPECT_EQ(VarTableAddString(t, "label", offsetof(Obj, label), 8, "x"), -1);
    EXPECT_EQ(VarTableFailedAdds(), before + 1);
    EXPECT_NE(log.Text().find("\"label\" not added: the table is full"), std::string::npos)
        << log.Text();
    VarTableDestroy(t);
}

TEST(PropDbAdd, ARefusedFieldIsLoggedWithItsDatabase) {
    LogCapture log(DBG_GENERAL);
    PropDb db;
    PropDbSetName(&db, "Gauge");
    const int64_t before = PropDbFailedAdds();
    ASSERT_NE(PropDbAddFloat(&db, "speed", offsetof(Obj, speed), 1.0f), nullptr);
    EXPECT_EQ(PropDbAddInt(&db, "speed", offsetof(Obj, count), 2), nullptr);
    EXPECT_EQ(PropDbFailedAdds(), before + 1);
    EXPECT_NE(log.Text().find("[Gauge]: \"speed\" not added: the name is taken"), std::string::npos)
        << log.Text();
}
