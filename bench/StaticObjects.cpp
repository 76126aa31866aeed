// Costs of static objects: one frame of 300 objects' draws at night (fade, lights, chaser and one
// model draw each) on the recording layer with its log off and on llvmpipe, and one VarsChanged on
// the ground of a 512 x 512 terrain.
#include "I3d/Image.h"
#include "bench/BenchKernel.h"
#include "datagen/Models/MdlBuild.h"
#include "engine/EntTree.h"
#include "engine/Files.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "gi/Render/Mdl3Ex.h"
#include "world/EntNull.h"
#include "world/Particles/ParticleSys.h"
#include "world/StaticObject.h"
#include "world/Terrain2.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kLamp = "model Lamp\nmaterial Grey diffuse 0.5 0.5 0.5 1\nnode Root\n"
                          "node Pole parent Root box 0.5 4 0.5 material Grey\n"
                          "node Head parent Root translate 0 2.5 0 sphere 8 0.6 material Grey\n";
const char* const kLampInfo = "[ModelInfo]\nnumPointLights=2\n"
                              "[PointLights0000]\npos.y=2\nflashMask=0xaaaaaaaa\n"
                              "[PointLights0001]\npos.y=3\nflashMask=0x55555555\n";

// The time of day at night, so that every lamp's lights are on.
class NightClock : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("NightClock", buffer); }
    const char* GetTypeName() override { return "TimeOfDay"; }
    float time = 0.9f;
};
PropDb* NightClockDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "NightClock");
        PropDbAddFloat(&s_db, "time", PROP_OFFSET(NightClock, time), 0.9f);
    }
    return &s_db;
}
intptr_t NightClockProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef kDef = {"NightClock", NightClockDb, WorldMake<NightClock>, nullptr};
    return WorldClassProc(kDef, node, message, a, b, c);
}

// Its own folder in the temporary folder with the lamp model, the registry of the classes a
// scene needs with the static objects' data folder there, and a root.
struct Scene {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("fairlark-bench-statics-" + std::to_string(getpid()));
    ENTBASE* root = nullptr;
    std::vector<StaticObject*> objects;

    Scene() {
        std::filesystem::create_directories(dir);
        MdlScene scene;
        MdlModel model;
        std::string error;
        if (!MdlParseScene(kLamp, &scene, &error) || !MdlBuildModel(scene, &model, &error))
            std::fprintf(stderr, "bench model: %s\n", error.c_str());
        const std::vector<uint8_t> bytes = MdlModelBytes(model);
        FileWriteAll((dir / "Lamp.md3").c_str(), bytes.data(), bytes.size());
        FileWriteAll((dir / "Lamp.ini").c_str(), kLampInfo, std::strlen(kLampInfo));
        EntSystemShutdown();
        EntSystemInit();
        const std::string from = (dir / "Scene.ini").string();
        EntCreateClass(EcNullProc, 0, 0);
        EntCreateClass(EcTerrain2Proc, 0, 0);
        EntCreateClass(EcStaticObjectProc, reinterpret_cast<intptr_t>(from.c_str()), 0);
        EntCreateClass(NightClockProc, 0, 0);
        root = EntCreateChild("EntNull", nullptr);
        EntCreateChild("NightClock", root);
        CrtSrand(3);
    }
    ~Scene() {
        EntDestroyTree(root);
        EntSystemShutdown();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    // n lamps in rows ahead of an eye at the origin looking along +z.
    void Lamps(int n) {
        for (int i = 0; i < n; ++i) {
            auto* o = static_cast<StaticObject*>(EntCreateChild("StaticObject", root));
            std::snprintf(o->modelFile, sizeof o->modelFile, "Lamp.md3");
            o->pos = {float(i % 20) * 3.0f - 30.0f, -3.0f, 10.0f + float(i / 20) * 3.0f};
            o->Start();
            objects.push_back(o);
        }
    }
};

void Camera() {
    Mat4 view, proj;
    const VECTOR3 eye = {0, 0, 0}, at = {0, 0, 1}, up = {0, 1, 0};
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.0f, 0.75f, 0.1f, 1000.0f));
}

void DrawFrame(const std::vector<StaticObject*>& objects) {
    StaticObjectFlashTick(1.0f / 60.0f);
    for (StaticObject* o : objects)
        o->DrawPre();
    if (ParticleSys* sys = Mdl3ExParticles()) sys->count = 0; // the particles entity's draw
}

void BM_StaticObjectsCpu(benchmark::State& state) {
    if (!UseLayer(Layer::Recording)) {
        state.SkipWithError("no device");
        return;
    }
    Scene scene;
    scene.Lamps((int)state.range(0));
    Camera();
    for (auto _ : state)
        DrawFrame(scene.objects);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetLabel("objects per frame, recording layer with its log off");
}
BENCHMARK(BM_StaticObjectsCpu)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_StaticObjectsLlvmpipe(benchmark::State& state) {
    if (!UseLayer(Layer::Gl)) {
        state.SkipWithError("no device");
        return;
    }
    Scene scene;
    scene.Lamps((int)state.range(0));
    Camera();
    for (auto _ : state) {
        D3dBeginScene();
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        DrawFrame(scene.objects);
        D3dEndScene();
        D3dPresent();
        glFinish(); // the frame's work, not only its submission
    }
    state.SetLabel("objects per frame on llvmpipe, 1024 x 768");
    UseLayer(Layer::Recording);
}
BENCHMARK(BM_StaticObjectsLlvmpipe)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_StaticObjectVarsChanged(benchmark::State& state) {
    Scene scene;
    const std::string stem = (scene.dir / "Ground").string();
    I3dImage* img = ImgAlloc(513, 513, IMG_L8);
    for (int r = 0; r < 513; ++r)
        for (int x = 0; x < 513; ++x)
            img->pixels[size_t(r) * img->pitch + x] = uint8_t((x * 3 + r * 5) & 0xFF);
    ImgSaveTga(img, (stem + " elevation.tga").c_str(), nullptr);
    ImgFree(img);
    auto* t = static_cast<Terrain2*>(EntCreateChild("Terrain2", scene.root));
    t->SetName("Terrain");
    t->SetString("mapName", stem.c_str());
    t->Start();
    auto* o = static_cast<StaticObject*>(EntCreateChild("StaticObject", scene.root));
    o->pos = {200.0f, 1.0f, 300.0f};
    o->agl = 1;
    o->Start();
    for (auto _ : state)
        benchmark::DoNotOptimize(o->VarsChanged());
    state.SetLabel("on the ground of 512 x 512 cells");
}
BENCHMARK(BM_StaticObjectVarsChanged);

} // namespace
