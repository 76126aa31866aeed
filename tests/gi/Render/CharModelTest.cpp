// Character models on the recording layer: loading the parts, base vertices and textures, the
// limits, what every character's draw asks of the device, animation on the application clock,
// and memory that stays flat however many characters come and go.
#include "I3d/MeshBuf.h"
#include "datagen/Characters/CharRig.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/gi/Render/CharModelFixture.h"
#include "tests/support/HeapInUse.h"
#include "tests/support/TestSupport.h"

namespace {

// What the character pass saw each time it ran.
std::vector<std::pair<uint32_t, uint32_t>> s_passWords;
void RecordingPass() {
    s_passWords.emplace_back(ShaderParams.words[0], ShaderParams.words[8]);
    ShaderLitTexturePass();
}

class CharModels : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecording();
        ASSERT_EQ(I3dTexTableAlloc(64), 0);
        CreateOffscreen();
        Log().Clear();
    }
    void TearDown() override {
        chars.Free();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    // The character pass replaced by one that records the words it is given.
    void RecordPasses() {
        ASSERT_NE(CharModelShader(), nullptr);
        CharModelShader()->passes[0] = RecordingPass;
        s_passWords.clear();
    }

    CharKeeper chars;
    TempDir dir;
};

TEST_F(CharModels, TheAdultMaleLoadsElevenPartsOnOneSharedTexture) {
    CharModel* m = chars.Loaded("AdultMale");
    ASSERT_NE(m->templateMesh, nullptr);
    ASSERT_EQ(m->partCount, 11);
    EXPECT_EQ(m->vertexTotal, 264);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(m->partBaseVertices[i], (uint32_t)(24 * i));
        ASSERT_NE(m->partMeshes[i], nullptr);
        EXPECT_EQ(m->partMeshes[i]->vertexCount, 24u);
        EXPECT_EQ(m->partMeshes[i]->triangleCount, 12u);
        EXPECT_EQ(m->partTextures[i], m->partTextures[0]);
    }
    ASSERT_GE(m->partTextures[0], 0);
    EXPECT_EQ(I3dTexFind("adult.tga"), m->partTextures[0]);
    EXPECT_EQ(I3dTexGetSlot(m->partTextures[0])->count, 11);
    EXPECT_EQ(m->partTextures[11], -1);
    EXPECT_EQ(m->manager, giModelDefManager::Get());
    EXPECT_EQ(CharModelMeshCount(m), 11);
    EXPECT_EQ(CharModelMeshBuf(m, 11), nullptr);
    EXPECT_EQ(CharModelTexture(m, -1), -1);
    EXPECT_FALSE(
        CharModelLoad(m, (kCharData + "Characters/ChildMale.xml").c_str(), kCharData.c_str()))
        << "a loaded model is not loaded again";
    EXPECT_EQ(m->partCount, 11);
    EXPECT_EQ(I3dTexGetSlot(m->partTextures[0])->count, 11);

    SharedObjRelease(m);
    chars.models.clear();
    EXPECT_TRUE(giModelDefManager::Get()->instances.empty()) << "the template mesh went back";
    EXPECT_TRUE(giModelDefManager::Get()->models.empty());
}

TEST_F(CharModels, BaseVerticesRunOverThePartsAndOneLockSkinsThemAll) {
    CharModel* m = chars.Model();
    const std::string desc = CharKeeper::FanCharacter(dir, "Three", {100, 50, 10});
    ASSERT_TRUE(CharModelLoad(m, desc.c_str(), dir.Path().c_str()));
    ASSERT_EQ(m->partCount, 3);
    EXPECT_EQ(m->partBaseVertices[1], 100u);
    EXPECT_EQ(m->partBaseVertices[2], 150u);
    EXPECT_EQ(m->vertexTotal, 160);
    CharModelInst* c = chars.Inst(m);
    ASSERT_NE(c->mesh, nullptr);
    Log().Clear();
    EXPECT_TRUE(CharModelInstSkin(c)) << "no skeleton: the parts are written in bind pose";
    ASSERT_EQ(Log().Count("VbLock"), 1);
    EXPECT_EQ(Log().Named("VbLock")[0].args[1], 160u * 32u);
}

// A part without a skeleton is written from its bind pose, not left as the ring held it.
TEST_F(CharModels, UnskinnedPartsAreWrittenInBindPose) {
    CharModel* m = chars.Model();
    ASSERT_TRUE(
        CharModelLoad(m, CharKeeper::FanCharacter(dir, "Fan", {6}).c_str(), dir.Path().c_str()));
    CharModelInst* c = chars.Inst(m);
    I3dVertexBuffer* vb = CharModelVb();
    ASSERT_EQ(I3dVbLock(vb, 6), 0);
    std::memset(I3dVbLockedPtr(vb), 0x7F, 6 * 32);
    I3dVbUnlock(vb);
    ASSERT_TRUE(CharModelInstSkin(c));
    BYTE* p = nullptr;
    ASSERT_EQ(vb->buffer->Lock((UINT)vb->lastStart * 32, 6 * 32, &p, 0), D3D_OK);
    const giMeshPart& part = *c->mesh->Model()->Part(0);
    for (int i = 0; i < 6; ++i) {
        const float* v = (const float*)(p + 32 * i);
        EXPECT_EQ(v[0], part.positions[(size_t)i].x) << i;
        EXPECT_EQ(v[1], part.positions[(size_t)i].y) << i;
        EXPECT_EQ(v[5], 1.0f) << "normal +z";
        EXPECT_EQ(v[6], part.texCoords[0][(size_t)i].x);
    }
    vb->buffer->Unlock();
}

TEST_F(CharModels, MapsAreFoundBesideTheDescriptorDdsFirstThenTga) {
    const std::string desc = CharKeeper::FanCharacter(dir, "Skin", {4}, "AdultMale1.dds");
    WriteTextFile(dir / "Characters/Maps/AdultMale1.tga",
                  ReadTextFile(kCharData + "Characters/Maps/AdultMale1.tga"));
    CharModel* m = chars.Model();
    ASSERT_TRUE(CharModelLoad(m, desc.c_str(), dir.Path().c_str()));
    ASSERT_GE(m->partTextures[0], 0);
    EXPECT_EQ(I3dTexGetSlot(m->partTextures[0])->width, 64);
}

TEST_F(CharModels, LimitsOfPartsAndVerticesAreChecked) {
    std::vector<int> parts41(41, 3);
    CharModel* m = chars.Model();
    EXPECT_FALSE(CharModelLoad(m, CharKeeper::FanCharacter(dir, "Many", parts41).c_str(),
                               dir.Path().c_str()));
    EXPECT_EQ(m->partCount, 0);
    EXPECT_EQ(m->templateMesh, nullptr);
    EXPECT_NE(LogText().find("has 41 meshes of 123 vertices; at most 40 meshes"), std::string::npos)
        << LogText();
    EXPECT_FALSE(CharModelLoad(m, CharKeeper::FanCharacter(dir, "Big", {12000}).c_str(),
                               dir.Path().c_str()));
    EXPECT_TRUE(giModelDefManager::Get()->instances.empty()) << "the refused template is freed";
    EXPECT_TRUE(CharModelLoad(m, CharKeeper::FanCharacter(dir, "Full", {5000, 5000}).c_str(),
                              dir.Path().c_str()))
        << "exactly the buffer's capacity";
    EXPECT_EQ(m->vertexTotal, 10000);
}

TEST_F(CharModels, AMissingDescriptorGivesEmptyCharactersThatDrawNothing) {
    CharModel* m = chars.Model();
    EXPECT_FALSE(CharModelLoad(m, (dir / "Missing.xml").c_str(), dir.Path().c_str()));
    CharModelInst* c = chars.Inst(m);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->mesh, nullptr);
    Log().Clear();
    CharModelInstPlayAnim(c, "AdultWalk");
    CharModelInstPlayAnim(c, nullptr);
    CharModelInstSetSkin(c, -1);
    CharModelInstAnimate(c);
    CharModelInstDraw(c);
    CharModelInstDrawMesh(c, 0);
    EXPECT_FALSE(CharModelInstSkin(c));
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
    EXPECT_EQ(Log().Count("VbLock"), 0);
}

// A refused lock leaves no pointer to skin through: nothing is skinned or drawn.
TEST_F(CharModels, ARefusedLockSkipsSkinAndDraw) {
    CharModelInst* c = chars.Inst(chars.Loaded("AdultMale"));
    ASSERT_EQ(I3dVbLock(CharModelVb(), 1), 0); // someone else holds the lock
    Log().Clear();
    CharModelInstDraw(c);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
    I3dVbUnlock(CharModelVb());
    CharModelVbRelease(); // the device is lost
    CharModelInstDraw(c);
    EXPECT_FALSE(CharModelInstSkin(c));
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);
    ASSERT_NE(CharModelVbCreate(), nullptr);
    CharModelInstDraw(c);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 11);
}

TEST_F(CharModels, EachPartDrawsWithItsTextureAtItsBaseVertex) {
    CharModel* m = chars.Loaded("AdultMale");
    CharModelInst* c = chars.Inst(m);
    RecordPasses();
    // A texture in slot 7 for the override.
    int seven = -1;
    while (seven < 7)
        seven = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, ("t" + std::to_string(seven)).c_str(), 0);
    ASSERT_EQ(seven, 7);
    c->overrides[1] = 7;
    Log().Clear();
    CharModelInstDraw(c);
    ASSERT_EQ(s_passWords.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(s_passWords[(size_t)i].first, 0xFFFFFFFFu);
        EXPECT_EQ((int32_t)s_passWords[(size_t)i].second, i == 1 ? 7 : m->partTextures[0]);
    }
    const int start = (int)CharModelVb()->lastStart;
    const std::vector<D3dCall> sets = Log().Named("SetIndices");
    const std::vector<D3dCall> draws = Log().Named("DrawIndexedPrimitive");
    ASSERT_EQ(draws.size(), 11u);
    ASSERT_GE(sets.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(sets[sets.size() - 11 + (size_t)i].args[1], (uint64_t)(start + 24 * i));
        EXPECT_EQ(draws[(size_t)i].args[0], (uint64_t)D3DPT_TRIANGLELIST);
        EXPECT_EQ(draws[(size_t)i].args[2], 24u) << "vertices";
        EXPECT_EQ(draws[(size_t)i].args[4], 12u) << "triangles";
    }
}

TEST_F(CharModels, TheSkinTakesEveryPartWearingTheFirstPartsTexture) {
    CharModel* m = chars.Loaded("AdultMale");
    CharModelInst* c = chars.Inst(m);
    for (int i = 0; i < CHARMODEL_MAX_PARTS; ++i)
        EXPECT_EQ(c->overrides[i], -1);
    CharModelInstSetSkin(c, 5);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(c->overrides[i], 5);
    EXPECT_EQ(c->overrides[11], -1) << "no part there";
    CharModelInstSetSkin(c, -1);
    EXPECT_EQ(c->overrides[3], -1);
}

// No texture must not draw with the previous part's texture left on stage 0.
TEST_F(CharModels, APartWithoutTextureClearsTheStage) {
    CharModel* m = chars.Model();
    ASSERT_TRUE(CharModelLoad(m, CharKeeper::FanCharacter(dir, "Bare", {4}, "NoSuch.tga").c_str(),
                              dir.Path().c_str()));
    EXPECT_EQ(m->partTextures[0], -1);
    const int other = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "other", 0);
    D3dSetTexture(0, other);
    Log().Clear();
    CharModelInstDraw(chars.Inst(m));
    const int draw = Log().Find("DrawIndexedPrimitive");
    ASSERT_GE(draw, 0);
    int lastBind = -1;
    for (int i = 0; i < draw; ++i)
        if (Log().Calls()[(size_t)i].name == "SetTexture" && Log().Calls()[(size_t)i].args[0] == 0)
            lastBind = i;
    ASSERT_GE(lastBind, 0);
    EXPECT_EQ(Log().Calls()[(size_t)lastBind].args[1], 0u);
}

TEST_F(CharModels, CharactersLockConsecutiveRangesAndTheRingWraps) {
    CharModel* m = chars.Loaded("AdultMale");
    std::vector<CharModelInst*> cs;
    for (int i = 0; i < 38; ++i)
        cs.push_back(chars.Inst(m));
    Log().Clear();
    for (CharModelInst* c : cs)
        CharModelInstDraw(c);
    const std::vector<D3dCall> locks = Log().Named("VbLock");
    ASSERT_EQ(locks.size(), 38u);
    for (size_t i = 0; i < 37; ++i) {
        EXPECT_EQ(locks[i].args[1], 264u * 32u);
        if (i > 0) {
            EXPECT_EQ(locks[i].args[0], locks[i - 1].args[0] + 264u * 32u) << i;
        }
    }
    EXPECT_EQ(locks[37].args[0], 0u);
    EXPECT_TRUE(locks[37].args[2] & D3DLOCK_DISCARD) << "the 38th wraps";
}

TEST_F(CharModels, PlayingAClipPosesOnTheApplicationClock) {
    SkinClock clock;
    CharModel* m = chars.Loaded("AdultMale");
    CharModelInst* a = chars.Inst(m);
    CharModelInst* b = chars.Inst(m);
    CharModelInstPlayAnim(a, "AdultWalk");
    giAnimGroup* g = a->mesh->FindGroup(0);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->layers.size(), 1u);
    EXPECT_TRUE(g->layers[0]->looping);
    EXPECT_FLOAT_EQ(g->layers[0]->fadeCurrent, 1.0f);
    clock.Advance(0.3);
    CharModelInstPlayAnim(b, "AdultWalk");
    clock.Advance(0.05); // 0.35 s and 0.05 s into the walk: the legs swing apart

    CharModelInstAnimate(a);
    CharModelInstAnimate(b);
    EXPECT_FALSE(SameTurn(a->mesh->boneRot[kThighL], b->mesh->boneRot[kThighL], 1e-3f))
        << "started 0.3 s apart";

    // Held: nothing moves.
    const giQuat held = a->mesh->boneRot[kThighL];
    AppTimerHold(1);
    clock.Advance(0.2);
    CharModelInstAnimate(a);
    EXPECT_TRUE(SameTurn(a->mesh->boneRot[kThighL], held, 0));
    AppTimerHold(0);

    // An unknown clip sends the group to weight 0 at once; the layer's last evaluation holds
    // and the emptied group leaves the character in its last pose.
    CharModelInstPlayAnim(a, "Unknown");
    ASSERT_EQ(g->layers.size(), 1u);
    EXPECT_EQ(g->layers[0]->fadeFinal, 0.0f);
    clock.Advance(0.1);
    CharModelInstAnimate(a);
    EXPECT_EQ(g->layers[0]->fadeCurrent, 0.0f);
    const giQuat last = a->mesh->boneRot[kThighL];
    clock.Advance(0.1);
    CharModelInstAnimate(a);
    EXPECT_TRUE(g->layers.empty());
    EXPECT_TRUE(SameTurn(a->mesh->boneRot[kThighL], last, 1e-6f));
}

TEST_F(CharModels, MemoryStaysFlatHoweverManyCharactersComeAndGo) {
    CharModel* m = chars.Loaded("AdultMale");
    giModelDefManager* defs = giModelDefManager::Get();
    auto cycle = [m] {
        CharModelInst* c = CharModelCreateInstance(m);
        CharModelInstPlayAnim(c, "AdultWalk");
        delete c;
    };
    for (int i = 0; i < 100; ++i)
        cycle();
    const size_t warm = HeapBytesInUse();
    const size_t instances = defs->instances.size();
    const int refs = defs->models[0]->refCount;
    for (int i = 0; i < 10000; ++i)
        cycle();
    const size_t now = HeapBytesInUse();
    EXPECT_LE(now > warm ? now - warm : warm - now, 64u * 1024u);
    EXPECT_EQ(defs->instances.size(), instances);
    EXPECT_EQ(defs->models[0]->refCount, refs);
    for (const giAnimation* a : defs->animations)
        EXPECT_EQ(a->TriggerCount(), 0);
}

} // namespace
