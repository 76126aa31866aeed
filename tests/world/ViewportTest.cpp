// The viewport and null entities on the recording layer: the rectangle rules, what each walk
// does, the order of several viewports, the camera's view and the ear, links to entities that
// are not cameras or no longer live, draw roots that hold the viewport, and the ini form.
#include "I3d/Math/Mat4Math.h"
#include "engine/PropDb.h"
#include "engine/Sound/Sound.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/EntViewport.h"

#include <AL/al.h>

#include <array>
#include <cmath>
#include <cstring>

namespace {

using Rect = std::array<DWORD, 4>;

class ViewportTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice(); // 1024 x 768
        RegisterWorldTestClasses();
        ASSERT_EQ(SndInit(nullptr, 0, 4), 0) << "OpenAL Soft's null backend did not open";
        root = Make("EntNull", nullptr, "Root");
        viewports = Make("EntNull", root, "Viewport");
        world = Make("EntNull", root, "World");
        Make("Probe", world, "Scene");
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        SndShutdown();
        KernelTest::TearDown();
    }
    EntViewport* AddViewport(const char* name, ENTBASE* drawRoot) {
        auto* v = Make<EntViewport>("Viewport", viewports, name);
        EXPECT_TRUE(v->SetVoid("entDrawRoot", (intptr_t)drawRoot));
        return v;
    }
    std::vector<Rect> Rects() {
        std::vector<Rect> out;
        for (const D3dCall& c : Log().Named("SetViewport")) {
            const auto vp = c.DataAs<D3DVIEWPORT8>();
            out.push_back(Rect{vp.X, vp.Y, vp.Width, vp.Height});
        }
        return out;
    }
    static void AllWalks(ENTBASE* e) {
        EntTreeDrawPre(e);
        EntTreeDraw(e);
        EntTreeDrawPost(e);
    }
    static bool Same(const Mat4& a, const Mat4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr;
};

TEST_F(ViewportTest, ClassesTablesAndCreation) {
    EntClass* null = EntClassFind("ENTNULL");
    ASSERT_NE(null, nullptr) << "the application asks for its containers as \"ENTNULL\"";
    EXPECT_STREQ(null->name, "EntNull");
    EXPECT_EQ(root->classDb->first->next, nullptr) << "the null entity's table is \"name\" only";

    EntViewport* v = AddViewport("Main", world);
    std::string rows;
    for (PropField* f = v->classDb->first; f; f = f->next)
        rows += std::string(rows.empty() ? "" : " ") + f->name;
    EXPECT_EQ(rows, "General: name color pos x y width height clear setEarPos entDrawRoot "
                    "entCamera")
        << "the rows are the ini and script interface, in this order";
    EXPECT_TRUE(v->width == 1024.0f && v->height == 768.0f) << "Create takes the back buffer";
    EXPECT_TRUE(v->TestFlag(ENT_FLAG_DRAWPOST)) << "without 0x8 the third walk never reaches it";
}

TEST_F(ViewportTest, RectanglesThatCannotBeUsedBecomeTheWholeBackBuffer) {
    const Rect whole = {0, 0, 1024, 768};
    const struct {
        float x, y, w, h;
        Rect want;
    } cases[] = {
        {5, 6, 0, 99, whole},                           // width 0 asks for the whole buffer
        {100, 50, 200, 100, {100, 50, 200, 100}},       // fits: used as given
        {10.7f, 20.2f, 30.9f, 40.5f, {10, 20, 30, 40}}, // whole pixels
        {10, 0, 1024, 768, whole},                      // reaches past the right edge
        {-10, 0, 100, 100, whole},                      // negative corner
        {0, 0, -5, 100, whole},                         // negative side
        {std::nanf(""), 0, 100, 100, whole},            // not a number
        {0, 0, 1.0e20f, 100, whole},                    // beyond any integer
    };
    EntViewport* v = AddViewport("Main", world);
    for (const auto& c : cases) {
        v->x = c.x, v->y = c.y, v->width = c.w, v->height = c.h;
        Log().Clear();
        EntTreeDrawPre(viewports);
        EXPECT_EQ(Rects(), std::vector<Rect>{c.want}) << c.x << ", " << c.y << ", " << c.w;
    }
}

TEST_F(ViewportTest, WhatEachWalkDoes) {
    EntViewport* v = AddViewport("Main", world);
    v->clear = 1;
    v->SetColor3("color", 0.25f, 0.5f, 1.0f);
    EntTreeDrawPre(viewports);
    ASSERT_EQ(Log().Count("Clear"), 1);
    EXPECT_EQ(
        Log().Named("Clear")[0].args,
        (std::vector<uint64_t>{0, 0, 7, D3dPackColor(0.25f, 0.5f, 1.0f), D3dFloatBits(1.0f), 0}))
        << "target, depth and stencil, in the viewport's colour, depth 1.0 and stencil 0";
    Log().Clear();
    EntTreeDraw(viewports);
    EntTreeDrawPost(viewports);
    EXPECT_EQ(Log().Count("Clear"), 0) << "the second and third walks never clear";
    EXPECT_EQ(DrawJournal(), "DrawPre:Scene Draw:Scene DrawPost:Scene");

    // Bit 0x2 of the class flags gates the first walk only.
    g_drawJournal.clear();
    Log().Clear();
    v->SetClassFlags(0x1F & ~0x2u);
    EntTreeDrawPre(viewports);
    EXPECT_EQ(Log().Count("Clear") + Log().Count("SetViewport"), 0);
    EntTreeDraw(viewports);
    EntTreeDrawPost(viewports);
    EXPECT_EQ(DrawJournal(), "Draw:Scene DrawPost:Scene");

    // Without a draw root the first two walks still set the rectangle; the third does nothing.
    v->SetClassFlags(0x1F);
    v->SetVoid("entDrawRoot", 0);
    Log().Clear();
    EntTreeDrawPre(viewports);
    EntTreeDraw(viewports);
    EXPECT_EQ(Log().Count("SetViewport"), 2);
    Log().Clear();
    EntTreeDrawPost(viewports);
    EXPECT_TRUE(Log().Calls().empty());
}

TEST_F(ViewportTest, SeveralViewportsDrawInChildOrderAndReachTheirOwnChildren) {
    ENTBASE* left = Make("EntNull", world, "LeftWorld");
    ENTBASE* right = Make("EntNull", world, "RightWorld");
    Make("Probe", left, "A");
    Make("Probe", right, "B");
    EntViewport* a = AddViewport("Left", left);
    EntViewport* b = AddViewport("Right", right);
    Make("Probe", a, "OverlayA");
    a->width = 512;
    b->x = 512, b->width = 512;
    EntTreeDrawPre(viewports);
    EXPECT_EQ(DrawJournal(), "DrawPre:A DrawPre:OverlayA DrawPre:B");
    EXPECT_EQ(Rects(), (std::vector<Rect>{{0, 0, 512, 768}, {512, 0, 512, 768}}));
}

TEST_F(ViewportTest, CameraGivesViewProjectionEyeAndEar) {
    const VECTOR3 eye = {3.0f, 4.0f, -10.0f};
    TestCamera* cam = MakeCamera(world, "Cam", eye, VECTOR3{0, 0, 0}, 1.04718f);
    EntViewport* v = AddViewport("Main", world);
    v->SetVoid("entCamera", (intptr_t)cam);
    v->setEarPos = 1;
    EntTreeDrawPre(viewports);

    Mat4 proj, view;
    I3dGetProjMatrix(&proj);
    I3dGetViewMatrix(&view);
    const float m10 = 2000.0f / 1999.9f;
    EXPECT_NEAR(proj.m[0], 1.2990381f, 1e-4f) << "the aspect must be the viewport's 3:4";
    EXPECT_NEAR(proj.m[5], 1.7320508f, 1e-4f);
    EXPECT_NEAR(proj.m[10], m10, 1e-6f);
    EXPECT_EQ(proj.m[11], 1.0f);
    EXPECT_NEAR(proj.m[14], -0.1f * m10, 1e-6f) << "near plane 0.1, far plane 2000";
    EXPECT_TRUE(Same(view, cam->desc.view));
    VECTOR3 kernelEye;
    I3dGetEyePos(&kernelEye);
    EXPECT_TRUE(kernelEye.x == eye.x && kernelEye.y == eye.y && kernelEye.z == eye.z);

    ALfloat lp[3] = {}, orient[6] = {};
    alGetListener3f(AL_POSITION, &lp[0], &lp[1], &lp[2]);
    alGetListenerfv(AL_ORIENTATION, orient);
    EXPECT_TRUE(lp[0] == eye.x && lp[1] == eye.y && lp[2] == eye.z) << "the ear is at the eye";
    const float* m = view.m;
    const float expected[6] = {m[1], m[5], m[9], m[2], m[6], m[10]};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(orient[i], expected[i], 1e-6f)
            << "at = the view's second column, up = its third (element " << i << ")";
}

// Anything that does not answer with a valid description leaves the camera of whoever drew
// before in force, and the ear where it was.
TEST_F(ViewportTest, EntitiesThatAreNotCamerasLeaveViewAndEarAlone) {
    const VECTOR3 ear = {7.0f, 8.0f, 9.0f};
    SndSetListenerPosV(&ear);
    Mat4 view, proj;
    const VECTOR3 eye = {1, 2, 3}, at = {0, 0, 0}, up = {0, 1, 0};
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 0.9f, 0.75f, 1.0f, 50.0f));

    ENTBASE* probe = Make("Probe", world, "NotACamera");
    TestCamera* silent = MakeCamera(world, "Silent", eye, at, 1.0f);
    silent->answer = false;
    TestCamera* invalid = MakeCamera(world, "Invalid", eye, at, 1.0f);
    invalid->desc.valid = 0;
    EntViewport* v = AddViewport("Main", world);
    v->setEarPos = 1;
    for (ENTBASE* notCamera : {probe, (ENTBASE*)silent, (ENTBASE*)invalid}) {
        v->SetVoid("entCamera", (intptr_t)notCamera);
        Log().Clear();
        EntTreeDrawPre(viewports);
        Mat4 nowView, nowProj;
        I3dGetViewMatrix(&nowView);
        I3dGetProjMatrix(&nowProj);
        EXPECT_TRUE(Same(nowView, view) && Same(nowProj, proj)) << notCamera->GetName();
        EXPECT_EQ(Log().Count("SetTransform"), 0) << notCamera->GetName();
        EXPECT_EQ(SndGetListenerPos().x, ear.x) << notCamera->GetName();
    }
}

// Scripts may destroy a camera or a draw root before they change the viewport: the next frame
// must not reach freed memory (AddressSanitizer watches).
TEST_F(ViewportTest, LinksToDestroyedEntitiesAreDropped) {
    TestCamera* cam = MakeCamera(world, "Cam", VECTOR3{0, 0, -5}, VECTOR3{0, 0, 0}, 1.0f);
    ENTBASE* stage = Make("EntNull", world, "Stage");
    Make("Probe", stage, "Actor");
    EntViewport* v = AddViewport("Main", stage);
    v->SetVoid("entCamera", (intptr_t)cam);
    AllWalks(viewports);
    EXPECT_EQ(DrawJournal(), "DrawPre:Actor Draw:Actor DrawPost:Actor");

    EntDestroyTree(cam);
    EntDestroyTree(stage);
    g_drawJournal.clear();
    Log().Clear();
    AllWalks(viewports);
    EXPECT_TRUE(v->camera == nullptr && v->drawRoot == nullptr);
    EXPECT_EQ(DrawJournal(), "");
    EXPECT_EQ(Log().Count("SetTransform"), 0) << "a dead camera sets no view";
}

// The draw root is destroyed and a new entity made at its address: the viewport must not draw
// the newcomer, whether the link was set through the property table or written directly.
TEST_F(ViewportTest, ALinkNeverPassesToANewEntityAtTheSameAddress) {
    EntViewport* v = AddViewport("Main", nullptr);
    ENTBASE* stage = Make("SlotProbe", world, "Stage");
    v->SetVoid("entDrawRoot", (intptr_t)stage);
    ENTBASE* direct = Make("EntNull", world, "Direct");
    EntViewport* w = AddViewport("Other", nullptr);
    w->drawRoot = stage; // behind SetVoid's back: taken as it is when first seen
    AllWalks(viewports);
    EXPECT_EQ(DrawJournal(), "DrawPre:Stage DrawPre:Stage Draw:Stage Draw:Stage DrawPost:Stage "
                             "DrawPost:Stage");
    EntDestroyTree(stage);
    ENTBASE* next = Make("SlotProbe", direct, "Next");
    ASSERT_EQ(next, stage) << "the test class must reuse the address";
    g_drawJournal.clear();
    AllWalks(viewports);
    EXPECT_EQ(DrawJournal(), "") << "a viewport drew the entity made where its draw root was";
    EXPECT_TRUE(v->drawRoot == nullptr && w->drawRoot == nullptr);
}

TEST_F(ViewportTest, DrawRootHoldingTheViewportDrawsOnce) {
    EntViewport* v = AddViewport("Main", root);
    AllWalks(viewports);
    EXPECT_EQ(DrawJournal(), "DrawPre:Scene Draw:Scene DrawPost:Scene")
        << "the viewport inside its own draw root must not walk again";
    EXPECT_EQ(Log().Count("SetViewport"), 3);
    v->SetVoid("entDrawRoot", (intptr_t)viewports);
    g_drawJournal.clear();
    AllWalks(root);
    EXPECT_EQ(DrawJournal(), "DrawPre:Scene Draw:Scene DrawPost:Scene")
        << "the guard must be let go after each walk";
}

// Keys count only at line starts, so "x=" is never found inside "pos.x=": the rows may come in
// any order. Entity links have no ini form: their keys are ignored.
TEST_F(ViewportTest, IniSectionReadsRectangleWhateverTheKeyOrder) {
    TempDir dir;
    WriteTextFile(dir / "Vp.ini", "[Main]\npos.x=1\npos.y=2\npos.z=3\nx=10\ny=20\nwidth=300\n"
                                  "height=200\nentCamera=1234\nentDrawRoot=5678\n");
    EntViewport* v = AddViewport("Main", world);
    v->LoadVars((dir / "Vp.ini").c_str(), nullptr);
    EXPECT_TRUE(v->pos.x == 1 && v->pos.y == 2 && v->pos.z == 3);
    EXPECT_TRUE(v->x == 10 && v->y == 20 && v->width == 300 && v->height == 200);
    EXPECT_EQ(v->drawRoot, world) << "a link key in an ini file must not become a pointer";
    EXPECT_EQ(v->camera, nullptr);
}

} // namespace
