// The world tests' entity classes.
#include "tests/world/WorldTestClasses.h"

#include "I3d/Math/Mat4Math.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "world/CloudDome2.h"
#include "world/EntLight.h"
#include "world/EntMusic.h"
#include "world/EntNull.h"
#include "world/EntSound.h"
#include "world/EntViewport.h"
#include "world/Environment.h"
#include "world/GroupSound.h"
#include "world/Particles.h"
#include "world/SkyDome.h"
#include "world/Terrain2.h"

#include <new>

std::vector<std::string> g_drawJournal;

std::string DrawJournal() {
    std::string all;
    for (const std::string& e : g_drawJournal)
        all += (all.empty() ? "" : " ") + e;
    return all;
}

int Probe::CopyClassName(char* buffer) {
    return WorldCopyClassName("Probe", buffer);
}
int Probe::Create(EntNode*) {
    SetFlag(ENT_FLAG_DRAWPOST);
    return 0;
}
int Probe::DrawPre() {
    g_drawJournal.push_back(std::string("DrawPre:") + name);
    return 1;
}
int Probe::Draw() {
    g_drawJournal.push_back(std::string("Draw:") + name);
    return 1;
}
int Probe::DrawPost() {
    g_drawJournal.push_back(std::string("DrawPost:") + name);
    return 1;
}

namespace {
alignas(std::max_align_t) unsigned char s_slot[1024];
bool s_slotTaken = false;
} // namespace

int SlotProbe::CopyClassName(char* buffer) {
    return WorldCopyClassName("SlotProbe", buffer);
}
void* SlotProbe::operator new(size_t size) {
    if (s_slotTaken || size > sizeof s_slot) throw std::bad_alloc();
    s_slotTaken = true;
    return s_slot;
}
void SlotProbe::operator delete(void*) {
    s_slotTaken = false;
}

int TestCamera::CopyClassName(char* buffer) {
    return WorldCopyClassName("TestCamera", buffer);
}
int TestCamera::GetCamera(CameraDesc* out) {
    if (!answer) return 0;
    *out = desc;
    return 1;
}

namespace {
PropDb* NameDb(PropDb* db, const char* name) {
    if (!db->first) {
        PropDbSetName(db, name);
        PropDbAddStringBlank(db, "name", PROP_OFFSET(Probe, name), 32);
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(Probe, pos));
    }
    return db;
}
PropDb* ProbeDb() {
    static PropDb s_db;
    return NameDb(&s_db, "Probe");
}
PropDb* CameraDb() {
    static PropDb s_db;
    return NameDb(&s_db, "TestCamera");
}
ENTBASE* MakeProbe() {
    return new Probe;
}
ENTBASE* MakeTestCamera() {
    return new TestCamera;
}
ENTBASE* MakeSlotProbe() {
    return new SlotProbe;
}
const WorldClassDef kSlotProbe = {"SlotProbe", ProbeDb, MakeSlotProbe, nullptr};
intptr_t SlotProbeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kSlotProbe, node, message, a, b, c);
}
const WorldClassDef kProbe = {"Probe", ProbeDb, MakeProbe, nullptr};
const WorldClassDef kCamera = {"TestCamera", CameraDb, MakeTestCamera, nullptr};

intptr_t ProbeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kProbe, node, message, a, b, c);
}
intptr_t CameraProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kCamera, node, message, a, b, c);
}
} // namespace

void RegisterWorldTestClasses() {
    EntSystemShutdown();
    EntSystemInit();
    g_drawJournal.clear();
    for (EntClassProc proc :
         {EcNullProc, EcViewportProc, EcSoundProc, EcGroupSoundProc, EcMusicProc, EcParticlesProc,
          EcTerrain2Proc, EcEnvironmentProc, EcLightProc, EcSkyDomeProc, EcCloudDome2Proc,
          ProbeProc, SlotProbeProc, CameraProc})
        EntCreateClass(proc, 0, 0);
}

TestCamera* MakeCamera(ENTBASE* parent, const char* name, VECTOR3 eye, VECTOR3 at, float fov) {
    auto* cam = Make<TestCamera>("TestCamera", parent, name);
    const VECTOR3 up = {0.0f, 1.0f, 0.0f};
    Mat4LookAt(&cam->desc.view, &eye, &at, &up);
    cam->desc.fov = fov;
    cam->desc.eye = eye;
    cam->desc.valid = 1;
    return cam;
}
