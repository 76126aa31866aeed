// ENTBASE: the message table, defaults and the named setters.
#include "engine/EntBase.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "tests/engine/EntTestClasses.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Overrides every operation the message table reaches; each records its name and arguments
// and answers 7, so the table's "1" rule shows.
class EveryOp : public ENTBASE {
  public:
    std::string op;
    intptr_t x = 0, y = 0;
    float f = 0;

    int R(const char* name, intptr_t a = 0, intptr_t b = 0) {
        op = name;
        x = a;
        y = b;
        return 7;
    }
    int Rf(const char* name, float v) {
        op = name;
        f = v;
        return 7;
    }
    template <typename T>
    static intptr_t W(T* p) {
        return reinterpret_cast<intptr_t>(p);
    }

    int Start() override { return R("Start"); }
    int Shutdown() override { return R("Shutdown"); }
    int Destroy() override { return R("Destroy"); }
    int DrawPre() override { return R("DrawPre"); }
    int Update(float s) override { return Rf("Update", s); }
    int Hook13(intptr_t w) override { return R("Hook13", w); }
    int OnMessage(const SlEvent* e) override { return R("OnMessage", W(e)); }
    int Hook15() override { return R("Hook15"); }
    void SetPos(const VECTOR3* p) override { R("SetPos", W(p)); }
    void CopyPos(VECTOR3* p) override { R("CopyPos", W(p)); }
    int SetOrientation(const float* m) override { return R("SetOrientation", W(m)); }
    int GetMatrix(float* m) override { return R("GetMatrix", W(m)); }
    void Hook24(intptr_t w) override { R("Hook24", w); }
    void Hook25(intptr_t w) override { R("Hook25", w); }
    int Hook26(intptr_t w) override { return R("Hook26", w); }
    int Hook27(intptr_t w) override { return R("Hook27", w); }
    int Hook28(intptr_t w) override { return R("Hook28", w); }
    int Hook29(intptr_t w) override { return R("Hook29", w); }
    int Hook33(intptr_t w) override { return R("Hook33", w); }
    void SetHeading(float v) override { Rf("SetHeading", v); }
    float GetYaw() override {
        R("GetYaw");
        return 2.5f;
    }
    void SetYaw(float v) override { Rf("SetYaw", v); }
    void Hook39(intptr_t w) override { R("Hook39", w); }
    int Hook40(intptr_t w) override { return R("Hook40", w); }
    int GetOrientation(float* m) override { return R("GetOrientation", W(m)); }
    void SetType(int t) override { R("SetType", t); }
    int Hook56(intptr_t w) override { return R("Hook56", w); }
    int BoundsQuery(EntBoundsQuery* q) override { return R("BoundsQuery", W(q)); }
    int Hook69(intptr_t w) override { return R("Hook69", w); }
    void SetName(const char* n) override { R("SetName", W(n)); }
    int CopyName(char* n) override { return R("CopyName", W(n)); }
    VarTable* GetInstanceVarTable() override {
        R("GetInstanceVarTable");
        return reinterpret_cast<VarTable*>(0x7700);
    }
    int Draw() override { return R("Draw"); }
    int Hook91(intptr_t w) override { return R("Hook91", w); }
    void SetLocalPlayer(intptr_t w) override { R("SetLocalPlayer", w); }
    int SaveVars(const char* p) override { return R("SaveVars", W(p)); }
    int LoadVars(const char* p, int* o) override { return R("LoadVars", W(p), W(o)); }
    int RayQuery(EntRayQuery* q) override { return R("RayQuery", W(q)); }
    int VarsChanged() override { return R("VarsChanged"); }
    int Hook118(intptr_t w) override { return R("Hook118", w); }
    int Hook130(intptr_t w) override { return R("Hook130", w); }
    int Hook136(intptr_t w) override { return R("Hook136", w); }
    int Hook143() override { return R("Hook143"); }
    bool PickTest(PickQuery* q) override { return R("PickTest", W(q)) != 0; }
    int GetWorldMatrix(float* m) override { return R("GetWorldMatrix", W(m)); }
    int Hook157(intptr_t w) override { return R("Hook157", w); }
    int Hook158(intptr_t w) override { return R("Hook158", w); }
    int DrawWorldBounds(uint32_t c) override { return R("DrawWorldBounds", c); }
    int DrawLocalBounds(uint32_t c) override { return R("DrawLocalBounds", c); }
    int CopyBounds(float* b) override { return R("CopyBounds", W(b)); }
    int SetBounds(const float* b) override { return R("SetBounds", W(b)); }
    void SetActive() override { R("SetActive"); }
    void ClearActive() override { R("ClearActive"); }
    int IsActive() override { return R("IsActive"); }
    int SetTag(intptr_t t) override { return R("SetTag", t); }
    int GetTag(intptr_t* t) override { return R("GetTag", W(t)); }
    int OnGameEvent(int e, intptr_t v) override { return R("OnGameEvent", e, v); }
    void SetViewTag(intptr_t t) override { R("SetViewTag", t); }
    intptr_t GetViewTag() override { return R("GetViewTag"); }
    int Hook174(intptr_t w) override { return R("Hook174", w); }
    void ScalePos(const VECTOR3* v) override { R("ScalePos", W(v)); }
    int GetCamera(CameraDesc* c) override { return R("GetCamera", W(c)); }
    int Hook177(intptr_t w) override { return R("Hook177", w); }
};

// How a message passes its arguments to the operation.
enum Args { NONE, A, B, BC, FLOAT_B, OUT_B };
struct Row {
    int id;
    const char* op;
    Args args;
    intptr_t result; // 7: the operation's answer; 1: the table's
};

const Row kRows[] = {
    {7, "Start", NONE, 7},          {8, "Shutdown", NONE, 7},
    {9, "Destroy", NONE, 7},        {10, "DrawPre", NONE, 7},
    {12, "Update", FLOAT_B, 7},     {13, "Hook13", B, 7},
    {14, "OnMessage", B, 7},        {15, "Hook15", NONE, 7},
    {16, "SetPos", B, 1},           {17, "CopyPos", B, 1},
    {18, "SetOrientation", B, 7},   {19, "GetMatrix", B, 7},
    {24, "Hook24", B, 1},           {25, "Hook25", B, 1},
    {26, "Hook26", B, 7},           {27, "Hook27", B, 7},
    {28, "Hook28", B, 7},           {29, "Hook29", B, 7},
    {33, "Hook33", B, 7},           {34, "SetHeading", FLOAT_B, 1},
    {35, "GetYaw", OUT_B, 1},       {36, "SetYaw", FLOAT_B, 1},
    {39, "Hook39", B, 1},           {40, "Hook40", B, 7},
    {43, "GetOrientation", B, 7},   {55, "SetType", B, 1},
    {56, "Hook56", B, 7},           {68, "BoundsQuery", B, 7},
    {69, "Hook69", B, 7},           {83, "SetName", B, 1},
    {84, "CopyName", B, 7},         {89, "GetInstanceVarTable", OUT_B, 1},
    {90, "Draw", NONE, 7},          {91, "Hook91", B, 7},
    {106, "SetLocalPlayer", B, 1},  {108, "SaveVars", B, 7},
    {109, "LoadVars", BC, 7},       {112, "RayQuery", B, 7},
    {116, "VarsChanged", NONE, 7},  {118, "Hook118", A, 7},
    {130, "Hook130", A, 7},         {136, "Hook136", B, 7},
    {143, "Hook143", NONE, 7},      {149, "PickTest", B, 1},
    {156, "GetWorldMatrix", B, 7},  {157, "Hook157", B, 7},
    {158, "Hook158", B, 7},         {159, "DrawWorldBounds", B, 7},
    {160, "DrawLocalBounds", B, 7}, {161, "CopyBounds", B, 7},
    {162, "SetBounds", B, 7},       {163, "SetActive", NONE, 1},
    {164, "ClearActive", NONE, 1},  {165, "IsActive", OUT_B, 1},
    {166, "SetTag", B, 7},          {167, "GetTag", B, 7},
    {170, "OnGameEvent", BC, 7},    {171, "SetViewTag", B, 1},
    {172, "GetViewTag", OUT_B, 1},  {174, "Hook174", B, 7},
    {175, "ScalePos", B, 1},        {176, "GetCamera", B, 7},
    {177, "Hook177", B, 7},
};

class EntBaseMessages : public ::testing::TestWithParam<Row> {};

} // namespace

TEST(EntBase, TheTableHoldsSixtyThreeDistinctIds) {
    EXPECT_EQ(std::size(kRows), 63u);
    EveryOp e;
    for (int id = -3; id < 190; ++id) {
        bool listed = false;
        for (const Row& r : kRows)
            listed = listed || r.id == id;
        if (listed || id == 35 || id == 89 || id == 165 || id == 172) continue;
        e.op.clear();
        EXPECT_EQ(e.Dispatch(id, 1, 2, 3), 0) << "id " << id << " is not in the table";
        EXPECT_EQ(e.op, "") << "id " << id << " reached " << e.op;
    }
}

TEST_P(EntBaseMessages, EachIdReachesItsOperation) {
    const Row& row = GetParam();
    EveryOp e;
    const intptr_t a = 0x1111, b = 0x2222, c = 0x3333;
    float f = 2.5f;
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    intptr_t out[2] = {-1, -1};
    intptr_t result = 0;
    switch (row.args) {
        case FLOAT_B: result = e.Dispatch(row.id, a, (intptr_t)bits, c); break;
        case OUT_B: result = e.Dispatch(row.id, a, (intptr_t)&out[0], (intptr_t)&out[1]); break;
        default: result = e.Dispatch(row.id, a, b, c); break;
    }
    EXPECT_EQ(e.op, row.op) << "message " << row.id;
    EXPECT_EQ(result, row.result) << "message " << row.id << ": wrong result rule";
    switch (row.args) {
        case A: EXPECT_EQ(e.x, a) << "this message passes its a word"; break;
        case B: EXPECT_EQ(e.x, b); break;
        case BC:
            EXPECT_EQ(e.x, b);
            EXPECT_EQ(e.y, c);
            break;
        case FLOAT_B: EXPECT_EQ(e.f, 2.5f) << "the float travels as its bits in b"; break;
        default: break;
    }
    if (row.id == 35) {
        float stored;
        std::memcpy(&stored, &out[0], sizeof stored);
        EXPECT_EQ(stored, 2.5f);
    }
    if (row.id == 89) {
        EXPECT_EQ(out[0], 0x7700) << "the table goes to b";
        EXPECT_EQ(out[1], (intptr_t)&e) << "the entity goes to c";
    }
    if (row.id == 165 || row.id == 172) {
        EXPECT_EQ(out[0], 7) << "the answer is stored at b";
    }
}
INSTANTIATE_TEST_SUITE_P(AllIds, EntBaseMessages, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.op) + std::to_string(info.param.id);
                         });

TEST(EntBase, DefaultsAnswerAsTheBaseClassDoes) {
    ENTBASE e;
    EXPECT_EQ(e.flags, 0xF1u);
    EXPECT_STREQ(e.GetTypeName(), "ENTBASE");
    float yaw = -1;
    EXPECT_EQ(e.Dispatch(35, 0, (intptr_t)&yaw, 0), 1);
    EXPECT_EQ(yaw, 0.0f);
    intptr_t active = -1;
    EXPECT_EQ(e.Dispatch(165, 0, (intptr_t)&active, 0), 1);
    EXPECT_EQ(active, 0);
    e.Dispatch(163, 0, 0, 0);
    e.Dispatch(165, 0, (intptr_t)&active, 0);
    EXPECT_EQ(active, 1) << "165 reads flag 0x2";
    VarTable* table = reinterpret_cast<VarTable*>(1);
    ENTBASE* self = nullptr;
    EXPECT_EQ(e.Dispatch(89, 0, (intptr_t)&table, (intptr_t)&self), 1);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(self, &e);
    for (int id : {35, 89, 165, 172})
        EXPECT_EQ(e.Dispatch(id, 0, 0, 0), 1) << id << " with no out-pointers";
    EXPECT_EQ(e.Dispatch(177, 0, 0, 0), 1) << "177 reaches Hook177";
    EXPECT_EQ(e.Dispatch(6, 0, 0, 0), 0) << "6 belongs to the class procedure";
    EXPECT_EQ(e.Dispatch(178, 0, 0, 0), 0);
    EXPECT_EQ(e.AttachToPlatform(nullptr), -1);
    EXPECT_EQ(e.QueryVar6("x", nullptr), -1);

    e.SetName(std::string(40, 'n').c_str());
    EXPECT_EQ(std::string(e.GetName()), std::string(32, 'n')) << "names keep 32 characters";
    e.SetName(nullptr);
    EXPECT_STREQ(e.GetName(), "");
}

TEST(EntBase, DefaultDrawPostDrawsAgain) {
    struct Counting : ENTBASE {
        int draws = 0;
        int Draw() override { return ++draws; }
    } e;
    EXPECT_EQ(e.DrawPost(), 1);
    EXPECT_EQ(e.draws, 1);
}

TEST(EntBase, NamedSettersUseTheInstanceTableOrTheClassDatabase) {
    RegisterTestClasses();
    TestEnt* e = MakeEnt("Rider", nullptr, "R");
    ASSERT_NE(e, nullptr);
    e->score = 5;
    e->title[0] = 'Q';
    uint8_t before[sizeof e->title];
    std::memcpy(before, e->title, sizeof before);
    EXPECT_TRUE(e->SetBool("flag", 1));
    EXPECT_EQ(e->flag, 1);
    EXPECT_FALSE(e->SetFloat("heading", 1.0f)) << "the float setter takes no angle field";
    EXPECT_EQ(e->heading, 0.0f);
    EXPECT_TRUE(e->SetFloat("speed", 4.5f));
    EXPECT_FALSE(e->SetInt("nothing", 3));
    EXPECT_FALSE(e->SetVoid("score", 3)) << "an int field is no void field";
    EXPECT_EQ(e->score, 5);

    VarTable* t = VarTableCreate(4);
    VarTableAddInt(t, "score", PROP_OFFSET(TestEnt, score), 0, 0, 100);
    VarTableAddEntity(t, "target", PROP_OFFSET(TestEnt, score));
    e->table = t;
    EXPECT_TRUE(e->SetInt("score", 9));
    EXPECT_EQ(e->score, 9);
    EXPECT_FALSE(e->SetFloat("speed", 1.0f))
        << "with an instance table the class database is not asked";
    EXPECT_EQ(e->speed, 4.5f);
    EXPECT_TRUE(e->SetVoid("target", 0));
    EXPECT_EQ(std::memcmp(before, e->title, sizeof before), 0);
    e->table = nullptr;
    VarTableDestroy(t);
    EntDestroyTree(e);
    EntSystemShutdown();
}

// The editor marks an entity it edited as changed; a menu that is not active must stay so, or
// it would take input meant for another.
TEST(EntBase, MarkingAnEntityChangedLeavesItInactive) {
    ENTBASE menu;
    menu.ClearActive();
    menu.SetFlag(ENT_FLAG_CHANGED);
    EXPECT_EQ(menu.IsActive(), 0) << "the changed mark set the active flag";
    EXPECT_TRUE(menu.TestFlag(ENT_FLAG_CHANGED));
    menu.SetActive();
    menu.ClearFlag(ENT_FLAG_CHANGED);
    EXPECT_EQ(menu.IsActive(), 1) << "clearing the mark must not deactivate it either";
    for (uint32_t other : {(uint32_t)ENT_FLAG_ACTIVE, (uint32_t)ENT_FLAG_DRAWPOST,
                           (uint32_t)ENT_FLAG_PASSABLE, (uint32_t)ENT_FLAGS_INITIAL})
        EXPECT_EQ(ENT_FLAG_CHANGED & other, 0u);
}
