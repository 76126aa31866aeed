// Patrons with their characters on the recording device: each wears its kind and skin and plays
// the clip of its state; the headless run draws the same patrons; characters go with their
// patrons and the models with the class; the draw puts the character at its place or seat and
// nowhere inside an attraction; the debug shapes, highlight and spawn-point ellipsoid.
#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Textures.h"
#include "engine/EntTree.h"
#include "engine/Timers.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/Ents/GameEntQuadBatch.h"
#include "game/Ents/IconFlyup.h"
#include "game/WaypointPath.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/game/Ents/PatronCharacters.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

namespace {

class PatronCharacters : public KernelTest {
  protected:
    void TearDown() override {
        FreePatronWorld(world);
        g_rubeDrawPaths = 0;
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    void StartDevice() {
        StartRecordingDevice();
        CreateCurrentPair();
        ASSERT_EQ(I3dTexTableAlloc(kPatronTextureSlots), 0);
    }
    void MakeWorld(uint32_t seed) {
        world = std::make_unique<PatronWorld>(seed);
        world->AddSpawnPoint(384.0f + 60.5f * 2.0f, 384.0f + 60.5f * 2.0f);
        world->AddSpawnPoint(384.0f + 64.5f * 2.0f, 384.0f + 58.5f * 2.0f);
        world->OpenDay();
    }
    // Frames until `count` patrons are on the grounds (at most `limit` frames).
    void RunUntilPresent(int count, int limit = 5000) {
        for (int i = 0; i < limit && world->gen->present < count; ++i)
            world->h->Frame();
        ASSERT_GE(world->gen->present, count);
    }
    std::vector<Rube1*> Patrons() const {
        std::vector<Rube1*> out;
        for (int i = 0; i < RubeLiveCount(); ++i)
            out.push_back(RubeLiveAt(i));
        return out;
    }

    std::unique_ptr<PatronWorld> world;
};

using Snapshot = std::vector<std::tuple<int, int, int, float, float, int, float>>;

Snapshot RunAndRecord(PatronWorld& w, int frames) {
    w.AddSpawnPoint(384.0f + 60.5f * 2.0f, 384.0f + 60.5f * 2.0f);
    w.OpenDay();
    w.h->Frames(frames);
    Snapshot out;
    for (int i = 0; i < RubeLiveCount(); ++i) {
        const Rube1* p = RubeLiveAt(i);
        out.emplace_back(p->number, p->kind, p->skin, p->pos.x, p->pos.z, p->state, p->happiness);
    }
    return out;
}

TEST_F(PatronCharacters, EachPatronWearsItsKindAndSkinAndPlaysTheClipOfItsState) {
    StartDevice();
    MakeWorld(4);
    for (int kind = 0; kind < RUBE_KINDS; ++kind) {
        const CharModel* model = RubeCharacterModel(kind);
        ASSERT_NE(model, nullptr) << "kind " << kind << " did not load from the generated data";
        EXPECT_EQ(model->attachOffset[0], 0.0f);
        EXPECT_EQ(model->attachOffset[1], -0.43f);
        EXPECT_EQ(model->attachOffset[2], 0.4f);
        for (int skin = 1; skin <= (kind < 2 ? 15 : 12); ++skin)
            EXPECT_GE(RubeSkinTexture(kind, skin), 0) << kind << " skin " << skin;
        EXPECT_EQ(RubeSkinTexture(kind, kind < 2 ? 16 : 13), -1);
    }
    EXPECT_NE(RubeCharacterModel(0), RubeCharacterModel(1)) << "each kind its own model";
    RunUntilPresent(12);
    int seen[RUBE_KINDS] = {};
    for (int round = 0; round < 40; ++round) {
        for (Rube1* p : Patrons()) {
            ASSERT_NE(p->character, nullptr) << p->name;
            EXPECT_EQ(p->character->model, RubeCharacterModel(p->kind)) << p->name;
            EXPECT_EQ(p->character->overrides[0], RubeSkinTexture(p->kind, p->skin))
                << p->name << ": the skin is drawn instead of the model's own map";
            const std::string playing = PlayingClips(p->character);
            EXPECT_TRUE(ClipFitsState(p, playing))
                << p->name << " in state " << p->state << " plays \"" << playing << "\"";
            ++seen[p->kind];
        }
        world->h->Frames(7);
    }
    for (int kind = 0; kind < RUBE_KINDS; ++kind)
        EXPECT_GT(seen[kind], 0) << "no patron of kind " << kind << " in the crowd";
}

// The walk asks for these blocks ahead of each patron's pose: a note that misses the pose, or
// one from a character since replaced, would leave a crowd waiting on memory again.
TEST_F(PatronCharacters, EachFrameAPatronNotesWhereItsCharacterPosesNext) {
    StartDevice();
    MakeWorld(4);
    RunUntilPresent(12);
    world->h->Frames(3);
    const auto covers = [](const giPoseMemory& m, const void* block, size_t size) {
        const auto at = reinterpret_cast<uintptr_t>(block);
        for (int i = 0; i < m.count; ++i)
            if (m.at[i] <= at && at + size <= m.at[i] + m.bytes[i]) return true;
        return false;
    };
    for (Rube1* p : Patrons()) {
        ASSERT_NE(p->character, nullptr);
        const giSkinnedMesh& mesh = *p->character->mesh;
        const giPoseMemory& m = p->poseMemory;
        EXPECT_TRUE(covers(m, p->character, sizeof *p->character)) << p->name;
        EXPECT_TRUE(covers(m, &mesh, 64)) << p->name;
        EXPECT_TRUE(covers(m, mesh.groups[0]->layers[0].get(), sizeof(giAnimLayer))) << p->name;
        EXPECT_TRUE(covers(m, mesh.bonePos.data(), mesh.bonePos.size() * sizeof(giVec3)))
            << p->name;
        EXPECT_TRUE(covers(m, mesh.boneRot.data(), mesh.boneRot.size() * sizeof(giQuat)))
            << p->name;
        EXPECT_TRUE(covers(m, mesh.BoneMatrix(0), mesh.BoneCount() * sizeof(giMat44)))
            << p->name << ": the bone matrices every pose writes";
    }
}

TEST_F(PatronCharacters, LoadingCharactersLeavesTheRandomSequenceAlone) {
    Snapshot headless;
    {
        PatronWorld w(9);
        EXPECT_EQ(RubeCharacterModel(0), nullptr) << "no device, no characters";
        headless = RunAndRecord(w, 900);
        for (int i = 0; i < RubeLiveCount(); ++i)
            EXPECT_EQ(RubeLiveAt(i)->character, nullptr);
    }
    giModelDefManager::Get()->Clear();
    ASSERT_GT(headless.size(), 3u);
    StartDevice();
    world = std::make_unique<PatronWorld>(9);
    ASSERT_NE(RubeCharacterModel(0), nullptr);
    EXPECT_EQ(RunAndRecord(*world, 900), headless)
        << "the characters drew random numbers: the same seed gave other patrons";
}

TEST_F(PatronCharacters, CharactersGoWithTheirPatronsAndModelsWithTheClass) {
    StartDevice();
    MakeWorld(2);
    giModelDefManager* defs = giModelDefManager::Get();
    const size_t templates = defs->instances.size();
    RunUntilPresent(8);
    EXPECT_EQ(defs->instances.size(), templates + (size_t)RubeLiveCount())
        << "one skinned mesh per patron";
    const int refs = RubeCharacterModel(0)->refCount;
    for (Rube1* p : Patrons())
        EntDestroyTree(p);
    EXPECT_EQ(defs->instances.size(), templates) << "a destroyed patron kept its mesh";
    EXPECT_LE(RubeCharacterModel(0)->refCount, refs);
    EXPECT_EQ(RubeCharacterModel(0)->refCount, 1) << "only the class holds the model now";
    world.reset();
    EXPECT_EQ(CharModelAcquisitions(), 0) << "the class's shut-down kept a character model";
    EXPECT_EQ(RubeCharacterModel(0), nullptr);
}

TEST_F(PatronCharacters, APatronOutlivingItsClassStillHoldsItsModel) {
    StartDevice();
    MakeWorld(3);
    Rube1* p = world->AddPatron(500.0f, 500.0f);
    ASSERT_NE(p->character, nullptr);
    CharModel* model = p->character->model;
    RubeCharactersRelease();
    EXPECT_EQ(RubeCharacterModel(p->kind), nullptr);
    EXPECT_EQ(model->refCount, 1) << "the character keeps its model alive";
    CharModelInstAnimate(p->character);
    EntDestroyTree(p);
}

// ---- the draw ----

class PatronDraw : public PatronCharacters {
  protected:
    void SetUp() override {
        PatronCharacters::SetUp();
        StartDevice();
        MakeWorld(6);
        patron = world->AddPatron(500.0f, 500.0f);
        ASSERT_NE(patron->character, nullptr);
        world->h->Frame();
        // A camera over the patron, wide enough for the seat beside it: characters out of the
        // view are not drawn.
        const VECTOR3 eye = {500.0f, 5.0f, 490.0f}, at = {500.0f, 1.0f, 500.0f};
        const VECTOR3 up = {0.0f, 1.0f, 0.0f};
        Mat4 view, proj;
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.6f, 1.0f, 0.1f, 2000.0f));
        I3dSetEyePos(&eye);
        Log().Clear();
    }
    int DrawCalls() const {
        return D3dRecordingLog().Count("DrawIndexedPrimitive") +
               D3dRecordingLog().Count("DrawPrimitive");
    }
    // The world matrices the patron's draw set, in order.
    std::vector<Mat4> Worlds() const {
        std::vector<Mat4> out;
        for (const D3dCall& c : D3dRecordingLog().Named("SetTransform"))
            if (!c.args.empty() && c.args[0] == (uint64_t)D3DTS_WORLD)
                out.push_back(c.DataAs<Mat4>());
        return out;
    }

    Rube1* patron = nullptr;
};

TEST_F(PatronDraw, TheCharacterStandsAtItsPlaceSitsOffsetOnItsSeatAndHidesInside) {
    const int parts = CharModelMeshCount(patron->character->model);
    ASSERT_GT(parts, 0);
    patron->Draw();
    EXPECT_EQ(D3dRecordingLog().Count("DrawIndexedPrimitive"), parts) << "one draw per part";
    std::vector<Mat4> worlds = Worlds();
    ASSERT_FALSE(worlds.empty());
    EXPECT_EQ(std::memcmp(&worlds.back(), &patron->matrix, sizeof(Mat4)), 0)
        << "the character is drawn at the patron's world matrix";

    Mat4 seat;
    Mat4Identity(&seat);
    Mat4RotateY(&seat, 1.5707963f);
    seat.m[12] = 510.0f;
    seat.m[13] = 3.0f;
    seat.m[14] = 505.0f;
    patron->PatronSit(nullptr, 0, &seat);
    world->h->Frame();
    EXPECT_EQ(std::memcmp(&patron->matrix, &seat, sizeof(Mat4)), 0)
        << "a seated patron keeps the seat's matrix through its update";
    Log().Clear();
    patron->Draw();
    worlds = Worlds();
    ASSERT_FALSE(worlds.empty());
    // The offset (0, -0.43, 0.4) turned with the seat: +z becomes -x under a quarter turn.
    const VECTOR3 expect = {510.0f + seat.m[8] * 0.4f, 3.0f - 0.43f, 505.0f + seat.m[10] * 0.4f};
    EXPECT_NEAR(worlds.back().m[12], expect.x, 1e-4f);
    EXPECT_NEAR(worlds.back().m[13], expect.y, 1e-4f);
    EXPECT_NEAR(worlds.back().m[14], expect.z, 1e-4f);

    patron->animMode = 2;
    Log().Clear();
    patron->Draw();
    EXPECT_EQ(DrawCalls(), 0) << "a patron inside an attraction is not drawn";

    patron->animMode = 0;
    patron->SetClassFlags(patron->GetClassFlags() & ~ENT_CLASS_DRAW);
    Log().Clear();
    patron->Draw();
    EXPECT_EQ(DrawCalls(), 0) << "the class's draw bit is off";
    patron->SetClassFlags(0x1F);

    const VECTOR3 far = {500.0f + g_patronDrawDistance + 10.0f, 0.0f, 500.0f};
    I3dSetEyePos(&far);
    Log().Clear();
    patron->Draw();
    EXPECT_EQ(DrawCalls(), 0) << "beyond the patron draw distance";
}

TEST_F(PatronDraw, TicketsBoughtBeyondTheDrawDistanceFlyUpAtTheNextDraw) {
    const VECTOR3 far = {500.0f + g_patronDrawDistance + 10.0f, 0.0f, 500.0f};
    I3dSetEyePos(&far);
    EntCreateClass(EcIconFlyupProc, 0, 0);
    patron->ticketBought = true;
    patron->Draw();
    EXPECT_FALSE(patron->ticketBought);
    EXPECT_NE(EntTreeFindType(patron, "IconFlyup"), nullptr) << "held for a later, nearer draw";
}

TEST_F(PatronDraw, OutOfTheViewNothingIsSkinnedButTheClipKeepsTime) {
    TestClock clock;
    AppTimer(APPTIMER_START);
    AppTimer(APPTIMER_RESET);
    AppTimerHold(0);
    // A fresh character on the test clock, walking, and a patron that does nothing else.
    RubeCharacterFree(patron->character);
    patron->character = RubeCharacterCreate(patron->kind, patron->skin);
    ASSERT_NE(patron->character, nullptr);
    patron->state = RUBE_NO_BEHAVIOUR;
    patron->PlayAnim(RUBE_ANIM_WALK);
    const int parts = CharModelMeshCount(patron->character->model);
    const VECTOR3 eye = {500.0f, 5.0f, 490.0f}, away = {500.0f, 5.0f, 480.0f};
    const VECTOR3 at = {500.0f, 1.0f, 500.0f}, up = {0.0f, 1.0f, 0.0f};
    Mat4 view;
    I3dSetView(Mat4LookAt(&view, &eye, &away, &up)); // the patron behind the eye
    clock.AdvanceMs(100);
    world->h->Frame();
    const float before = patron->character->mesh->time;
    Log().Clear();
    patron->Draw();
    EXPECT_EQ(D3dRecordingLog().Count("Lock"), 0) << "skinned out of the view";
    EXPECT_EQ(DrawCalls(), 0) << "drawn out of the view";
    clock.AdvanceMs(300);
    world->h->Frame();
    patron->Draw();
    EXPECT_NEAR(patron->character->mesh->time - before, 0.3f, 1e-3f)
        << "the clip stood still while the patron was out of the view";

    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    Log().Clear();
    patron->Draw();
    EXPECT_EQ(D3dRecordingLog().Count("DrawIndexedPrimitive"), parts) << "back in the view";
    AppTimerHold(0);
}

TEST_F(PatronDraw, TheEditorsPassShowsTheBoxesButNotASecondCharacterOrIconTick) {
    // The character's parts are indexed triangle lists; the editor's boxes are line lists.
    auto triangleDraws = [] {
        int n = 0;
        for (const D3dCall& c : D3dRecordingLog().Named("DrawIndexedPrimitive"))
            n += !c.args.empty() && c.args[0] == (uint64_t)D3DPT_TRIANGLELIST;
        return n;
    };
    patron->SetFlag(ENT_FLAG_DRAWPOST);
    patron->icon.Show(10, 4.0f);
    patron->lastStep = 0.5f;
    EntTreeDrawPost(patron);
    EXPECT_EQ(triangleDraws(), 0) << "the character drawn again by the editor's pass";
    EXPECT_GT(D3dRecordingLog().Count("DrawIndexedPrimitive"), 0) << "the editor's boxes";
    EXPECT_FLOAT_EQ(patron->icon.timeLeft, 4.0f) << "the icon counted down twice a frame";
    Log().Clear();
    EntTreeDraw(patron);
    EXPECT_EQ(triangleDraws(), CharModelMeshCount(patron->character->model))
        << "the second walk draws the character";
    EXPECT_FLOAT_EQ(patron->icon.timeLeft, 3.5f);
}

TEST_F(PatronDraw, HighlightNeedsAndPathAddTheirShapes) {
    patron->Draw();
    const int plain = DrawCalls();
    patron->highlighted = 1;
    Log().Clear();
    patron->Draw();
    EXPECT_EQ(DrawCalls(), plain + 1) << "the highlight quad";
    patron->highlighted = 0;

    patron->showNeeds = 1;
    for (float& level : patron->needs.level)
        level = 0.0f;
    patron->needs.level[0] = 0.5f; // eat
    Log().Clear();
    patron->Draw();
    const std::vector<D3dCall> lists = D3dRecordingLog().Named("DrawPrimitive");
    ASSERT_EQ(DrawCalls(), plain + 1) << "the needs display is one batched draw";
    ASSERT_FALSE(lists.empty());
    EXPECT_EQ(lists.back().args[0], (uint64_t)D3DPT_TRIANGLELIST);
    EXPECT_EQ(lists.back().args[2], 2u * 2u) << "the backing and the one need above 0";
    patron->showNeeds = 0;

    ASSERT_TRUE(patron->route);
    patron->route->count = 0;
    WaypointPathAppend(patron->route, 504.0f, 500.0f);
    WaypointPathAppend(patron->route, 504.0f, 508.0f);
    patron->route->current = 0;
    Log().Clear();
    patron->Draw();
    EXPECT_EQ(DrawCalls(), plain) << "paths are drawn only with the shared switch";
    g_rubeDrawPaths = 1;
    Log().Clear();
    patron->Draw();
    const std::vector<D3dCall> path = D3dRecordingLog().Named("DrawPrimitive");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back().args[2], 3u * 2u) << "two segments and the goal square";
}

TEST_F(PatronDraw, TheSpawnPointDrawsAnEllipsoidOfItsRadius) {
    RubeSpawnPt* pt = world->AddSpawnPoint(450.0f, 450.0f);
    pt->radius = 2.5f;
    pt->VarsChanged();
    pt->SetClassFlags(ENT_CLASS_DRAW); // no editor overlay
    pt->Draw();
    EXPECT_EQ(D3dRecordingLog().Count("DrawIndexedPrimitive"), 1);
    const std::vector<Mat4> worlds = Worlds();
    ASSERT_FALSE(worlds.empty());
    EXPECT_EQ(worlds.back().m[0], 2.5f);
    EXPECT_EQ(D3dRecordingLog().Count("SetRenderState", {D3DRS_TEXTUREFACTOR, 0x5FFF0000u}), 1)
        << "translucent red";
    pt->SetClassFlags(0);
    Log().Clear();
    pt->Draw();
    EXPECT_EQ(D3dRecordingLog().Count("DrawIndexedPrimitive"), 0);
    pt->SetClassFlags(0x1F);
}

TEST(GameEntQuadBatch, HoldsItsCapacityAndEmptiesOnFlushWithoutADevice) {
    GameEntQuadBatch batch(2);
    const VECTOR3 a = {0, 0, 0}, b = {1, 0, 0}, c = {1, 0, 1}, d = {0, 0, 1};
    EXPECT_TRUE(batch.Add(a, b, c, d, 0xFFFFFFFFu));
    EXPECT_FALSE(batch.AddSegment(a, a, 0.2f, 0xFFFFFFFFu)) << "a segment of no length";
    EXPECT_TRUE(batch.AddSegment(a, c, 0.2f, 0xFFFFFFFFu));
    EXPECT_FALSE(batch.Add(a, b, c, d, 0xFFFFFFFFu)) << "past the capacity";
    EXPECT_EQ(batch.Count(), 2);
    batch.Flush();
    EXPECT_EQ(batch.Count(), 0);
}

} // namespace
