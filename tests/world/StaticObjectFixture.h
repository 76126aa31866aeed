// Static-object tests: the recording device, the world test classes with the static-object
// classes registered on a scratch data folder, a stand-in "TimeOfDay" with a "time" property, a
// stand-in "Terrain" of constant height, and tool-made models in that folder.
#pragma once

#include "I3d/Camera.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/Paths.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "gi/Render/Mdl3Ex.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/I3d/ModelFiles.h"
#include "tests/world/WorldTestClasses.h"
#include "world/ArticuModel.h"
#include "world/Particles/ParticleSys.h"
#include "world/StaticObject.h"

#include <string>

// Class "DayClock", type "TimeOfDay": only its "time" property, as the game object writes it.
class DayClock : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("DayClock", buffer); }
    const char* GetTypeName() override { return "TimeOfDay"; }
    float time = 0.5f;
};

// Class "TestGround": answers the height query with `level` everywhere.
class TestGround : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override { return WorldCopyClassName("TestGround", buffer); }
    intptr_t Dispatch(int message, intptr_t a, intptr_t b, intptr_t c) override {
        if (message != ENT_MSG_GROUND_HEIGHT) return Ent3dBase::Dispatch(message, a, b, c);
        *reinterpret_cast<float*>(c) = level;
        return 0;
    }
    float level = 10.0f;
};

inline PropDb* DayClockDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "DayClock");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(DayClock, name), 32);
        PropDbAddFloat(&s_db, "time", PROP_OFFSET(DayClock, time), 0.5f);
    }
    return &s_db;
}
inline intptr_t DayClockProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef kDef = {"DayClock", DayClockDb, WorldMake<DayClock>, nullptr};
    return WorldClassProc(kDef, node, message, a, b, c);
}
inline intptr_t TestGroundProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    static const WorldClassDef kDef = {"TestGround", nullptr, WorldMake<TestGround>, nullptr};
    return WorldClassProc(kDef, node, message, a, b, c);
}

// A red box 2 units wide standing on its origin's centre.
inline const char* const kRedBox = R"(
model RedBox
material Red diffuse 1 0 0 1 ambient 1 0 0 1 emissive 1 0 0 1
node Root
node Box parent Root box 2 2 2 material Red
)";

// A post whose arm turns about its own origin, a spinner beside it and a scrolled material.
inline const char* const kArm = R"(
model Arm
texture Stripes stripes 16 255 255 255 0 0 255
material beam2 diffuse 1 1 1 1 map Stripes
material Grey diffuse 0.5 0.5 0.5 1
node Root
node Post parent Root box 0.5 0.5 0.5 material Grey
node Arm parent Root translate 0 1 0 box 4 0.2 0.2 material beam2
node Spinner parent Root translate 0 -1 0 box 0.3 0.3 0.3 material Grey
)";

// A box with two point lights in its model information.
inline const char* const kLamp = R"(
model Lamp
material Grey diffuse 0.5 0.5 0.5 1
node Root
node Pole parent Root box 0.5 4 0.5 material Grey
)";
inline const char* const kLampInfo = "[ModelInfo]\nnumPointLights=2\n"
                                     "[PointLights0000]\npos.y=2\nflashMask=0xFFFFFFFF\n"
                                     "[PointLights0001]\npos.y=3\nflashMask=0xFFFFFFFF\n";

class StaticObjectTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        // An eye behind the origin looking along +z, where the tests place their objects.
        Mat4 view, proj;
        const VECTOR3 eye = {0, 0, -30}, at = {0, 0, 0}, up = {0, 1, 0};
        I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
        I3dSetProj(Mat4Perspective(&proj, 1.0f, 0.75f, 0.1f, 1000.0f));
        RegisterWorldTestClasses();
        // The classes' data folder is the folder of the file they are registered from.
        const std::string from = m_files / "Startup.lua";
        EntCreateClass(EcStaticObjectProc, reinterpret_cast<intptr_t>(from.c_str()), 0);
        EntCreateClass(EcArticuModelProc, reinterpret_cast<intptr_t>(from.c_str()), 0);
        EntCreateClass(DayClockProc, 0, 0);
        EntCreateClass(TestGroundProc, 0, 0);
        CrtSrand(7);
        root = Make("EntNull", nullptr, "Root");
        world = Make("EntNull", root, "World");
    }
    void TearDown() override {
        if (root) EntDestroyTree(root);
        EntSystemShutdown();
        if (Mdl3ExParticles()) Mdl3ExParticles()->count = 0;
        KernelTest::TearDown();
    }

    // The description's model in the data folder; its file name.
    std::string Model(const char* description, const std::string& info = "") {
        const std::string path = WriteScene(m_files, description);
        if (!info.empty()) WriteTextFile(PathWithExt(path, "ini"), info);
        return path.substr(path.find_last_of('/') + 1);
    }
    // A started object of that model at pos, placed on the ground only when asked.
    StaticObject* Object(const std::string& file, VECTOR3 at = {0, 0, 0}, bool agl = false,
                         const char* cls = "StaticObject") {
        auto* o = Make<StaticObject>(cls, world, "Object");
        std::snprintf(o->modelFile, sizeof o->modelFile, "%s", file.c_str());
        o->pos = at;
        o->agl = agl ? 1 : 0;
        o->Start();
        return o;
    }
    DayClock* Clock(float t) {
        auto* c = Make<DayClock>("DayClock", world, "Clock");
        c->time = t;
        return c;
    }

    TempDir m_files;
    ENTBASE *root = nullptr, *world = nullptr;
};
