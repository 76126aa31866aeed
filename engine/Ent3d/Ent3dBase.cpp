// Ent3dBase: position, matrix and boxes, the ray, box and pick tests, ini persistence and the
// debug overlay.
#include "engine/Ent3d/Ent3dBase.h"

#include "I3d/Camera.h"
#include "I3d/DebugDraw.h"
#include "I3d/Font.h"
#include "I3d/Frustum.h"
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/EntDrawWalk.h"
#include "engine/IniFile.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>

static constexpr uint32_t kGreen = 0xFF00FF00u;

Ent3dBase::Ent3dBase() {
    Mat4Identity(&matrix);
}

uint32_t Ent3dBase::GetClassFlags() {
    return ENT_CLASS_FLAGS_BASE;
}

int Ent3dBase::Start() {
    Ent3dGetTerrain(this);
    return 0;
}

int Ent3dBase::DrawPre() {
    return 1;
}

// ---- the debug overlay ----

int Ent3dBase::Draw() {
    // The editor's debug drawing: never in the game's second walk.
    if (!EntDebugDrawAllowed()) return 1;
    if (!(GetClassFlags() & ENT_CLASS_DEBUG_DRAW)) return 1;
    DrawNameTag();
    DrawWorldBounds(kGreen);
    DrawLocalBounds(kGreen);
    return 1;
}

// pos is a world position: it is projected, and the name drawn in pixel space, under an
// identity world, whatever the last draw left there; all three matrices are restored after.
void Ent3dBase::DrawNameTag() {
    Mat4 world, view, proj, identity;
    I3dGetWorldMatrix(&world);
    I3dGetViewMatrix(&view);
    I3dGetProjMatrix(&proj);
    Mat4Identity(&identity);
    I3dSetWorld(&identity);
    float p[3];
    I3dProjectPoint(&pos, p);
    Font* font = Ent3dGetDebugFont();
    if (font && p[2] > 1.0f) {
        // The viewport's size, so that the projection and the pixel space agree inside any
        // viewport (the whole screen for the world's usual viewport).
        int vx, vy, w, h;
        I3dGetViewport(&vx, &vy, &w, &h);
        const float x = (p[0] * float(w) + float(w)) * 0.5f;
        const float y = (float(h) - p[1] * float(h)) * 0.5f;
        Mat4 ortho;
        I3dSetView(&identity);
        I3dSetProj(Mat4OrthoScreen(&ortho, w, h));
        // The debug font is shared: its own colour comes back after the tag, so the next text
        // printed with it is not green.
        const uint32_t colour = font->colour;
        font->colour = kGreen;
        FontPrint(font, x, y, name);
        font->colour = colour;
        I3dSetView(&view);
        I3dSetProj(&proj);
    }
    I3dSetWorld(&world);
}

int Ent3dBase::DrawWorldBounds(uint32_t colour) {
    if (!I3dBoxVisible(worldBox)) return 0;
    DbgDrawAabb(worldBox, nullptr, colour);
    return 1;
}

int Ent3dBase::DrawLocalBounds(uint32_t colour) {
    DbgDrawAabb(localBox, &matrix, colour);
    return 1;
}

// ---- position, matrix and boxes ----

void Ent3dBase::SetPos(const VECTOR3* p) {
    if (p) pos = *p;
}
void Ent3dBase::CopyPos(VECTOR3* out) {
    if (out) *out = pos;
}
VECTOR3* Ent3dBase::GetPos() {
    return &pos;
}
void Ent3dBase::SetPosXYZ(float x, float y, float z) {
    pos = VECTOR3{x, y, z};
}
void Ent3dBase::ScalePos(const VECTOR3* f) {
    if (!f) return;
    pos.x *= f->x;
    pos.y *= f->y;
    pos.z *= f->z;
}
void Ent3dBase::SetYaw(float) {}
float Ent3dBase::GetYaw() {
    return 0.0f;
}
void Ent3dBase::SetPitch(float) {}
float Ent3dBase::GetPitch() {
    return 0.0f;
}

int Ent3dBase::GetMatrix(float* out16) {
    if (!out16) return 0;
    std::memcpy(out16, matrix.m, sizeof matrix.m);
    return 1;
}
int Ent3dBase::SetOrientation(const float* m16) {
    if (!m16) return 0;
    std::memcpy(matrix.m, m16, sizeof matrix.m);
    matrix.m[12] = matrix.m[13] = matrix.m[14] = 0.0f;
    return 1;
}
int Ent3dBase::GetWorldMatrix(float* out16) {
    return GetMatrix(out16);
}

int Ent3dBase::CopyBounds(float* out6) {
    if (!out6) return 0;
    std::memcpy(out6, worldBox, sizeof worldBox);
    return 1;
}
float* Ent3dBase::GetBounds() {
    return worldBox;
}
int Ent3dBase::SetBounds(const float* box6) {
    if (!box6) return 0;
    std::memcpy(worldBox, box6, sizeof worldBox);
    return 1;
}

void Ent3dBase::SetClassFlags(uint32_t) {}

// ---- words ----

int Ent3dBase::SetTag(intptr_t value) {
    tag = value;
    return 1;
}
int Ent3dBase::GetTag(intptr_t* out) {
    if (out) *out = tag;
    return 1;
}
void Ent3dBase::SetViewTag(intptr_t value) {
    viewTag = value;
}
intptr_t Ent3dBase::GetViewTag() {
    return viewTag;
}

// ---- queries ----

int Ent3dBase::RayQuery(EntRayQuery*) {
    return 0;
}

int Ent3dBase::BoundsQuery(EntBoundsQuery* query) {
    if (!query) return 0;
    if (query->sender && query->sender == node) return 1;
    int hit = 0;
    if (query->type == ENT_QUERY_LINE) {
        const Segment seg{query->start, query->end};
        hit = BoxSegmentTest(worldBox, &seg);
    } else if (query->type == ENT_QUERY_BOX) {
        hit = BoxOverlap(query->box, worldBox);
    } else {
        return 0;
    }
    if (!hit) return 0;
    query->hit = node;
    return 1;
}

bool Ent3dBase::PickTest(PickQuery* query) {
    if (!query || !(GetClassFlags() & ENT_CLASS_PICKABLE)) return false;
    const Ray ray{query->origin, query->dir};
    float enter = 0.0f, leave = 0.0f;
    if (!BoxRaySpan(worldBox, &ray, 0.0f, 100000.0f, &enter, &leave)) return false;
    float d = Vec3Dist(&pos, &query->origin);
    if (std::isnan(d)) return false;
    // Not only from the position: also from the middle of the ray's way through the box, when
    // that is nearer. The ground answers where the ray meets it, and from a booth's position (the
    // middle of its floor) the ground just behind its front wall is nearer than the booth: a
    // click on its lower half picked the ground. A small entity inside a big box still wins by
    // its position.
    const VECTOR3& v = query->dir;
    const float through =
        0.5f * (std::max(enter, 0.0f) + leave) * std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (std::isfinite(through) && through < d) d = through;
    if (d < query->bestDistance) {
        query->best = this;
        query->bestDistance = d;
    }
    return true;
}

// ---- variables ----

VarTable* Ent3dBase::GetInstanceVarTable() {
    return instanceVars;
}

int Ent3dBase::LoadVars(const char* path, int* outFlag) {
    EntNoteNamesEdited(); // the file may hold a name
    if (instanceVars)
        VarTableLoadIni(instanceVars, path, name, this);
    else if (classDb)
        VarDbLoadIni(classDb, this, path, name);
    if (outFlag) *outFlag = 0;
    return 1;
}

int Ent3dBase::SaveVars(const char* path) {
    if (!classDb) return 1;
    if (!path) {
        VarDbSaveIni(classDb, this, nullptr, name); // the caller's profile file
        return 1;
    }
    // The profile file made for the call, so that a file that cannot be written is told apart
    // from the fields' own answers.
    if (IniSetProfileFile(path) != 1) return 0;
    VarDbSaveIni(classDb, this, nullptr, name);
    return IniClearProfileFile() == 0 ? 1 : 0;
}

int Ent3dBase::QueryVar1(const char*, void*) {
    return 1;
}
int Ent3dBase::QueryVar2(const char*, void*) {
    return 1;
}
int Ent3dBase::QueryVar3(const char*, void*) {
    return 1;
}
int Ent3dBase::QueryVar4(const char*, void*) {
    return 1;
}
int Ent3dBase::QueryVar5(const char*, void*) {
    return 1;
}
int Ent3dBase::QueryVar6(const char*, void*) {
    return 1;
}
