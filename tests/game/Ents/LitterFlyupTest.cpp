// Litter where it lands, its model or its stand-in box and its removal notice; fly-ups' lifetimes
// headless, and what they and the grid's overlay draw on the recording device.
#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/Random.h"
#include "engine/SharedObj.h"
#include "engine/WorldClass.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/IconFlyup.h"
#include "game/Ents/Litter.h"
#include "gi/Render/Mdl3Ex.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/game/Ents/AttrTestSupport.h"

#include <cmath>
#include <vector>

namespace {
class Listener : public ENTBASE {
  public:
    int OnEntityRemoved(ENTBASE* gone) override {
        heard.push_back(gone);
        return 1;
    }
    std::vector<ENTBASE*> heard;
};
const WorldClassDef kListener = {"LitterListener", nullptr, WorldMake<Listener>, nullptr};
intptr_t ListenerProc(EntNode* n, int m, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kListener, n, m, a, b, c);
}

class LitterTest : public AttrTest {
  protected:
    void SetUp() override {
        AttrTest::SetUp();
        EntCreateClass(EcLitterProc, 0, 0);
        EntCreateClass(EcIconFlyupProc, 0, 0);
        EntCreateClass(ListenerProc, 0, 0);
        first = EntCreateChild("TestNull", world);
        first->SetName("First");
    }
    ENTBASE* first = nullptr;
};

IconFlyup* MakeFlyup(ENTBASE* parent, VECTOR3 from, VECTOR3 to, float speed) {
    auto* f = static_cast<IconFlyup*>(EntCreateChild("IconFlyup", parent));
    f->start = from;
    f->end = to;
    f->speed = speed;
    f->Start();
    return f;
}

// Updates until the fly-up is gone; the number of updates it lived through.
int Lifetime(IconFlyup* f, float dt, int limit = 1000) {
    int updates = 0;
    while (EntIsLive(f) && updates < limit) {
        f->Update(dt);
        if (EntIsLive(f)) ++updates;
    }
    return updates;
}
} // namespace

TEST_F(LitterTest, DroppedPiecesLieUnderFirstNearTheSpotTurnedAtRandom) {
    CrtSrand(13);
    Litter* a = LitterDrop(game, 10.0f, 20.0f);
    Litter* b = LitterDrop(game, 10.0f, 20.0f);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(EntGetParent(a), first);
    EXPECT_TRUE(a->flags & ENT_FLAG_PASSABLE) << "litter never blocks the grid";
    EXPECT_FLOAT_EQ(a->pos.y, 0.0f);
    for (Litter* l : {a, b}) {
        EXPECT_LE(std::fabs(l->offsetX), 0.2f);
        EXPECT_LE(std::fabs(l->offsetZ), 0.2f);
        EXPECT_GE(l->turn, 0.0f);
        EXPECT_LT(l->turn, 6.2832f);
        EXPECT_FLOAT_EQ(l->matrix.m[12], 10.0f + l->offsetX);
        EXPECT_FLOAT_EQ(l->matrix.m[14], 20.0f + l->offsetZ);
    }
    EXPECT_NE(a->offsetX, b->offsetX) << "two pieces at one spot land apart";
    EXPECT_NE(a->turn, b->turn);

    EntDestroyTree(first);
    Litter* stray = LitterDrop(game, 1.0f, 2.0f);
    ASSERT_NE(stray, nullptr) << "with no \"First\" the piece still drops, under the root";
    EXPECT_EQ(EntGetParent(stray), root);
}

TEST_F(LitterTest, WithoutItsModelAPieceWarnsAndTakesAUnitBox) {
    LogCapture log;
    auto* l = static_cast<Litter*>(EntCreateChild("Litter", first));
    std::snprintf(l->modelFile, sizeof l->modelFile, "%s", "Models\\Trash.md3");
    l->pos = VECTOR3{3.0f, 0.0f, 4.0f};
    l->Start();
    EXPECT_EQ(l->model, nullptr);
    EXPECT_NE(log.Text().find("** WARNING ** could not find Models\\Trash.md3\n"),
              std::string::npos)
        << log.Text();
    EXPECT_FLOAT_EQ(l->localBox[3] - l->localBox[0], 1.0f);
    EXPECT_FLOAT_EQ(l->localBox[4] - l->localBox[1], 1.0f);
    EXPECT_FLOAT_EQ(l->localBox[5] - l->localBox[2], 1.0f);

    auto* listener = static_cast<Listener*>(EntCreateChild("LitterListener", root));
    l->SetName("Trash7");
    EntDestroyTree(l);
    EXPECT_NE(log.Text().find("Destroying: Trash7 (Litter)\n"), std::string::npos);
    ASSERT_EQ(listener->heard.size(), 1u) << "a carny on its way to sweep it must forget it";
    EXPECT_EQ(listener->heard[0], static_cast<ENTBASE*>(l));
}

TEST_F(LitterTest, TheShippedTrashModelGivesItsBoxWithoutADevice) {
    host.data = BuildProgramFolder() + "Data/";
    Litter* l = LitterDrop(game, 0.0f, 0.0f);
    ASSERT_NE(l->model, nullptr) << "run the data target first";
    ASSERT_NE(l->model->mdl, nullptr);
    const MDL3NODE& node = l->model->mdl->nodes[0];
    EXPECT_EQ(l->localBox[0], node.boundsMin.x);
    EXPECT_EQ(l->localBox[4], node.boundsMax.y);
    EXPECT_NE(l->localBox[3] - l->localBox[0], 1.0f) << "the model's box, not the stand-in";
    EntDestroyTree(l);
}

TEST_F(LitterTest, FlyupsLiveTheirTimeAndGo) {
    // From start to end at 1.0 a second over 0.5 units: alive while time is left.
    IconFlyup* f = MakeFlyup(world, {0.0f, 0.0f, 0.5f}, {0.3f, 0.4f, 0.0f}, 1.0f);
    EXPECT_FLOAT_EQ(f->timeLeft, 0.5f);
    EXPECT_FLOAT_EQ(f->pos.z, 0.5f) << "z is kept: the direction has none";
    f->Update(0.25f);
    EXPECT_FLOAT_EQ(f->pos.x, 0.15f);
    EXPECT_FLOAT_EQ(f->pos.y, 0.2f);
    EXPECT_EQ(Lifetime(f, 0.25f), 1) << "the rest of its time; the update past it ends it";

    IconFlyup* still = MakeFlyup(world, {0.2f, 0.2f, 0.0f}, {0.2f, 0.2f, 0.0f}, 1.0f);
    EXPECT_EQ(still->timeLeft, 0.0f);
    EXPECT_TRUE(EntIsLive(still)) << "made with no time left, it is there until it is updated";
    EXPECT_EQ(Lifetime(still, 0.1f), 0) << "start equal to end: its first update ends it";

    // Speed 0 used to give an endless (or NaN) time and a fly-up that never went.
    for (float speed : {-2.0f, 0.0f}) {
        IconFlyup* g = MakeFlyup(world, {0.2f, 0.2f, 0.0f}, {0.2f, 0.2f, 0.0f}, speed);
        EXPECT_FLOAT_EQ(g->timeLeft, 1.0f) << speed;
        IconFlyup* h = MakeFlyup(world, {0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, speed);
        EXPECT_FLOAT_EQ(h->timeLeft, 1.0f) << speed;
        EXPECT_EQ(Lifetime(g, 0.25f), 4) << "1.0 s at 0.25 s an update, speed " << speed;
        EXPECT_EQ(Lifetime(h, 0.25f), 4);
    }
}

TEST_F(LitterTest, TheTicketFlyupFliesWithoutAFont) {
    IconFlyup* t = IconFlyupTicket(first);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(EntGetParent(t), first);
    EXPECT_EQ(t->font, nullptr) << "no kernel, no font";
    EXPECT_GT(Lifetime(t, 0.1f), 0);
    EXPECT_EQ(IconFlyupTicket(nullptr), nullptr);
}

// ---- on the recording device ----

namespace {
class FlyupDrawTest : public KernelTest, public AttrWorld {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        CreateCurrentPair();
        Build();
        host.data = BuildProgramFolder() + "Data/";
        EntCreateClass(EcIconFlyupProc, 0, 0);
        EntCreateClass(EcGameGridProc, 0, 0);
        Log().Clear();
    }
    void TearDown() override {
        Teardown();
        KernelTest::TearDown();
    }
    int Draws() { return Log().Count("DrawIndexedPrimitive") + Log().Count("DrawPrimitive"); }
    // The texture factors set, in order (the state cache skips a repeated value).
    std::vector<uint32_t> Factors() {
        std::vector<uint32_t> out;
        for (const D3dCall& c : Log().Named("SetRenderState"))
            if (c.args.size() == 2 && c.args[0] == D3DRS_TEXTUREFACTOR)
                out.push_back((uint32_t)c.args[1]);
        return out;
    }
};
} // namespace

TEST_F(FlyupDrawTest, TextIsPrintedGreenAtItsScreenPointOnlyOnScreen) {
    auto* f = static_cast<IconFlyup*>(EntCreateChild("IconFlyup", world));
    f->SetName("$");
    std::snprintf(f->fontName, sizeof f->fontName, "%s", "\\Fonts\\Georgia_14");
    f->start = f->end = VECTOR3{0.5f, -0.5f, 0.2f};
    f->Start();
    ASSERT_NE(f->font, nullptr) << "run the data target first";
    int w = 0, h = 0;
    I3dGetScreenSize(&w, &h);

    const VECTOR3 off[] = {{1.2f, 0.0f, 0.0f}, {0.0f, -1.01f, 0.0f}, {0.0f, 0.0f, -0.1f}};
    for (const VECTOR3& p : off) {
        f->pos = p;
        Log().Clear();
        f->DrawPre();
        FontFlush(f->font);
        EXPECT_EQ(Draws(), 0) << p.x << "," << p.y << "," << p.z;
    }
    f->pos = VECTOR3{0.5f, -0.5f, 0.2f};
    Log().Clear();
    f->DrawPre();
    EXPECT_EQ(f->font->colour, 0xFF00FF00u);
    EXPECT_FLOAT_EQ(f->font->penY, std::floor((h + h * 0.5f) * 0.5f));
    EXPECT_GE(f->font->penX, std::floor((w * 0.5f + w) * 0.5f));
    EXPECT_GT(Draws(), 0);
    SharedObjRelease(f->font);
    f->font = nullptr;
}

// The player's switches (Show Grid, the footprint of a model being placed) draw whatever the
// class's debug bit says; each marked cell is a see-through fill under its frame; the editor's
// pass and the outline switch alone keep to the bit.
TEST_F(FlyupDrawTest, TheGridOverlayShowsThePlayersSwitchesInItsOwnColours) {
    auto* grid = static_cast<GameGrid*>(EntCreateChild("GameGrid", root));
    grid->gridCols = grid->gridRows = 8;
    grid->Start();
    GameGridMarkRect(grid, 2, 3, 4, 4, -1.0f);
    GameGridSetCursor(grid, 6, 6);
    GameGridSetFootprint(grid, 3, 1); // two cells in, one past the edge

    grid->SetClassFlags(0x1F & ~ENT_CLASS_DRAW);
    grid->showOutline = 1;
    Log().Clear();
    grid->DrawPre();
    grid->Draw();
    EXPECT_EQ(Draws(), 0) << "the outline and the editor's pass need the class's bit";
    grid->showOutline = 0;

    grid->showFootprint = 1;
    Log().Clear();
    grid->DrawPre();
    EXPECT_EQ(Factors(), (std::vector<uint32_t>{0x8000FF00u, 0xFF00FF00u, 0x8000FF00u, 0xFF00FF00u,
                                                0x80FF0000u, 0xFFFF0000u}))
        << "the two cells inside are free, the one outside the grid red, each filled and framed";
    EXPECT_EQ(Draws(), 6) << "without the class's bit";

    grid->SetClassFlags(0x1F);
    grid->showFootprint = 0;
    Log().Clear();
    grid->DrawPre();
    EXPECT_EQ(Draws(), 0) << "no switch on: nothing in the viewport pass";

    grid->showAll = 1;
    Log().Clear();
    grid->DrawPre();
    EXPECT_EQ(Factors(),
              (std::vector<uint32_t>{0xAF00FF00u, 0xE0FFFFFFu, 0x80FF0000u, 0xFFFF0000u,
                                     0x80FF0000u, 0xFFFF0000u, 0x800000FFu, 0xFF0000FFu}))
        << "outline, the cells' lines, the two blocked cells, the cursor and the picked point";
    EXPECT_EQ(Draws(), 1 + 64 + 4 + 2 + 1);
    Log().Clear();
    grid->Draw();
    EXPECT_EQ(Factors(), (std::vector<uint32_t>{0xAF00FF00u, 0x80FF0000u, 0xFFFF0000u, 0x80FF0000u,
                                                0xFFFF0000u}));
    EXPECT_EQ(Draws(), 5) << "the editor pass: outline and blocked cells";
    ASSERT_GE(GameGridWhiteTexture(), 0) << "the class made its texture on the device";
    EXPECT_STREQ(I3dTexGetSlot(GameGridWhiteTexture())->name, "autogen");
}
