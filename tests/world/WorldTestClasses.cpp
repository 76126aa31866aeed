// The world tests' entity classes and WAV writer.
#include "tests/world/WorldTestClasses.h"

#include "I3d/Math/Mat4Math.h"
#include "engine/PropDb.h"
#include "tests/support/TestSupport.h"
#include "world/EcGroupSound.h"
#include "world/EcMusic.h"
#include "world/EcNull.h"
#include "world/EcSound.h"
#include "world/EcViewport.h"
#include "world/WorldClass.h"

#include <cmath>
#include <cstdint>

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
        PropDbAddStringBlank(db, "name", PROP_OFFSET(Probe, name), 32, 3);
        PropDbAddVector3Zero(db, "pos", PROP_OFFSET(Probe, pos), 3);
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
    for (EntClassProc proc : {EcNullProc, EcViewportProc, EcSoundProc, EcGroupSoundProc,
                              EcMusicProc, ProbeProc, CameraProc})
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

void WriteWavFile(const std::string& path, int frames) {
    std::string v;
    auto put = [&](uint32_t x, int bytes) {
        for (int i = 0; i < bytes; ++i)
            v.push_back((char)(x >> (8 * i)));
    };
    const uint32_t rate = 22050, data = (uint32_t)frames * 2;
    v += "RIFF";
    put(36 + data, 4);
    v += "WAVEfmt ";
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    v += "data";
    put(data, 4);
    for (int i = 0; i < frames; ++i)
        put((uint32_t)(int16_t)(3000.0 * std::sin(i * 0.125)), 2);
    WriteTextFile(path, v);
}
