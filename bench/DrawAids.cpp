// Costs of the kernel's small drawing aids and the plain code beside them: a frame of 3000
// sprites (the kernel's cost per sprite on the recording layer, whole frames on llvmpipe), info
// icons, a patron's needs, the pick ray and an ellipsoid build.
#include "I3d/Math/Pick.h"
#include "I3d/Math/RubeNeeds.h"
#include "I3d/Math/Vec3Ops.h"
#include "bench/BenchKernel.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <string>

namespace {

void NoSetup(intptr_t) {}

// The camera the sprites and icons face: 6 back, looking at the origin.
void Look() {
    const VECTOR3 eye{0, 2, -6}, at{0, 0, 0}, up{0, 1, 0};
    Mat4 view, proj;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.04718f, I3dGetInvAspect(), 0.1f, 100.0f));
}

VECTOR3 SpriteCentre(int i) {
    return VECTOR3{float(i % 60) * 0.1f - 3.0f, float(i / 60) * 0.08f - 2.0f, float(i % 7) * 0.3f};
}

// 3000 sprites in 10 groups with cull on (every centre in view), then the flush.
void SpriteFrame(int groups[10]) {
    for (int i = 0; i < 3000; ++i) {
        const VECTOR3 c = SpriteCentre(i);
        I3dSpriteBatchAdd(groups[i % 10], &c, 0.03f, 0xFF80FF80u);
    }
    I3dSpriteBatchFlush();
}

bool MakeBatch(int groups[10]) {
    Look();
    I3dSpriteBatchDestroy();
    if (I3dSpriteBatchCreate(3000, 40) != 0) return false;
    for (int g = 0; g < 10; ++g)
        groups[g] = I3dSpriteBatchAddGroup(300, NoSetup, 0);
    return true;
}

void BM_SpriteFrameKernelCost(benchmark::State& state) {
    int groups[10];
    if (!UseLayer(Layer::Recording) || !MakeBatch(groups)) return state.SkipWithError("no batch");
    for (auto _ : state)
        SpriteFrame(groups);
    state.SetItemsProcessed(state.iterations() * 3000);
    state.SetLabel("3000 adds and a flush, recording layer, log off; items = sprites");
    I3dSpriteBatchDestroy();
}
BENCHMARK(BM_SpriteFrameKernelCost);

void BM_SpriteFrameGl(benchmark::State& state) {
    int groups[10];
    if (!UseLayer(Layer::Gl) || !MakeBatch(groups)) return state.SkipWithError("no batch");
    for (auto _ : state) {
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        D3dBeginScene();
        SpriteFrame(groups);
        D3dEndScene();
        glFinish();
    }
    state.SetLabel("per frame of 3000 sprites in 10 groups, llvmpipe 1024 x 768");
    I3dSpriteBatchDestroy();
}
BENCHMARK(BM_SpriteFrameGl)->Unit(benchmark::kMillisecond);

// 300 fading icons, each with its own alpha (a texture-factor change per icon).
void IconFrames(benchmark::State& state, Layer layer) {
    if (!UseLayer(layer)) return state.SkipWithError("no device");
    if (I3dTexCount() == 0) I3dTexTableAlloc(16);
    const std::string sheet = std::string(FAIRLARK_BUILD_DATA_DIR) + "Menu\\InfoIcons";
    InfoIconsAcquire(sheet.c_str());
    if (InfoIconsSheet() < 0) {
        InfoIconsRelease();
        return state.SkipWithError("no generated icon sheet");
    }
    Look();
    std::vector<InfoIcon> icons(300);
    for (int i = 0; i < 300; ++i) {
        icons[i].cell = i % 32;
        icons[i].position = SpriteCentre(i * 10);
    }
    for (auto _ : state) {
        D3dBeginScene();
        for (InfoIcon& icon : icons) {
            icon.duration = 1e9f;
            icon.timeLeft = 1e9f * float(&icon - icons.data() + 1) / 300.0f;
            icon.UpdateDraw(0.001f);
        }
        D3dEndScene();
        if (layer == Layer::Gl) glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 300);
    InfoIconsRelease();
}

void BM_InfoIconsKernelCost(benchmark::State& state) {
    IconFrames(state, Layer::Recording);
    state.SetLabel("300 icons, recording layer, log off; items = icons");
}
BENCHMARK(BM_InfoIconsKernelCost)->Unit(benchmark::kMicrosecond);

void BM_InfoIconsGl(benchmark::State& state) {
    IconFrames(state, Layer::Gl);
    state.SetLabel("300 icons, llvmpipe; items = icons");
}
BENCHMARK(BM_InfoIconsGl)->Unit(benchmark::kMicrosecond);

void BM_RubeNeedsUpdate(benchmark::State& state) {
    std::vector<RubeNeeds> patrons(1000);
    for (auto _ : state) {
        for (RubeNeeds& n : patrons)
            n.Update(0.016f);
        benchmark::DoNotOptimize(patrons.data());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    state.SetLabel("items = patrons");
}
BENCHMARK(BM_RubeNeedsUpdate);

void BM_PickRay(benchmark::State& state) {
    const VECTOR3 eye{3, 4, -5}, at{0, 0, 0}, up{0, 1, 0};
    Mat4 view;
    PickSetCamera(Mat4LookAt(&view, &eye, &at, &up));
    PickSetFov(1.04718f);
    PickSetAspect(1024, 768);
    VECTOR3 origin, dir;
    float x = -1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PickRay(x, 0.25f, &origin, &dir));
        x = x < 1 ? x + 0.001f : -1;
    }
}
BENCHMARK(BM_PickRay);

void BM_MeshMakeEllipsoid(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) return state.SkipWithError("no device");
    for (auto _ : state) {
        MeshBuf* mesh = MeshMakeEllipsoid(32, 64, 1, 2, 1);
        if (!mesh) return state.SkipWithError("no mesh");
        mesh->Destroy();
        delete mesh;
    }
    state.SetLabel("32 rings x 64 segments (2015 vertices), llvmpipe device buffers");
}
BENCHMARK(BM_MeshMakeEllipsoid)->Unit(benchmark::kMicrosecond);

} // namespace
