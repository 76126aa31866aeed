// Ent3dBase, the base of every entity that lives in the 3D world (and of the menu root and the
// mouse cursor): a position, a matrix, two boxes, an optional per-instance variable table, ray
// and pick tests against its box, ini persistence under a section named like the entity, and a
// debug overlay. Also the routines every entity source shares.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/EntBase.h"
#include "engine/EntQueries.h"

#include <cstdint>

class Font;

class Ent3dBase : public ENTBASE {
  public:
    Ent3dBase();

    uint32_t GetClassFlags() override; // ENT_CLASS_FLAGS_BASE; concrete classes keep their own word
    // Looks up the shared "Terrain" entity (see Ent3dGetTerrain); 0.
    int Start() override;
    int DrawPre() override; // 1
    // The debug overlay when the class flags hold ENT_CLASS_DEBUG_DRAW: the name in green at the
    // projected position (only with a debug font, and only beyond clip depth 1.0), then both
    // boxes; 1.
    int Draw() override;
    // The world box with no matrix when it is in view: 1; else 0.
    int DrawWorldBounds(uint32_t colour) override;
    // The local box under `matrix`; 1.
    int DrawLocalBounds(uint32_t colour) override;
    void SetPos(const VECTOR3* p) override;
    void CopyPos(VECTOR3* out) override;
    VECTOR3* GetPos() override;
    void SetYaw(float yaw) override; // nothing
    float GetYaw() override;         // 0.0
    int GetMatrix(float* out16) override;
    // Copies m and zeroes its translation row; pos is unchanged.
    int SetOrientation(const float* m16) override;
    int CopyBounds(float* out6) override;
    float* GetBounds() override;
    int SetBounds(const float* box6) override;
    int GetWorldMatrix(float* out16) override;
    int SetTag(intptr_t value) override;
    int GetTag(intptr_t* out) override;
    // 0: world entities do not pass line queries to their children.
    int RayQuery(EntRayQuery* query) override;
    // The sender gets 1 and no hit. A line query (type 0) tests the segment, a box query (type
    // 8) the overlap, against the world box; a hit stores this node and answers 1. Anything
    // else answers 0.
    int BoundsQuery(EntBoundsQuery* query) override;
    // Only with ENT_CLASS_PICKABLE: the ray (0 < t < 100000) against the world box; on a hit the
    // distance from pos to the ray's origin replaces the best when it is smaller. True on every
    // hit, better or not; false when pos is not a number.
    bool PickTest(PickQuery* query) override;
    VarTable* GetInstanceVarTable() override;
    // The section named like the entity: the instance table's entries when there is one, else
    // the class database's fields. *outFlag = 0; 1.
    int LoadVars(const char* path, int* outFlag) override;
    // The class database's fields into the section named like the entity (never the instance
    // table); 1, or 0 when the file could not be written.
    int SaveVars(const char* path) override;
    int QueryVar1(const char* name, void* out) override; // 1 each
    int QueryVar2(const char* name, void* out) override;
    int QueryVar3(const char* name, void* out) override;
    int QueryVar4(const char* name, void* out) override;
    int QueryVar5(const char* name, void* out) override;
    int QueryVar6(const char* name, void* out) override;
    void SetViewTag(intptr_t value) override;
    intptr_t GetViewTag() override;
    void ScalePos(const VECTOR3* factors) override;

    // Appended operations, in this order.
    virtual void SetClassFlags(uint32_t flags); // concrete classes replace their class word
    virtual void SetPosXYZ(float x, float y, float z);
    virtual void SetPitch(float pitch); // nothing
    virtual float GetPitch();           // 0.0

    VECTOR3 pos = {0.0f, 0.0f, 0.0f};
    intptr_t tag = 0;
    Mat4 matrix; // the identity at construction
    VarTable* instanceVars = nullptr;
    float localBox[6] = {0.0f, 0.0f, 0.0f, 0.1f, 0.0f, 0.0f};
    float worldBox[6] = {0.0f, 0.0f, 0.0f, 0.1f, 0.0f, 0.0f};
    intptr_t viewTag = -1;

  private:
    void DrawNameTag();
};

// ---- routines shared by entity sources ----

// The debug font the overlay prints names with: set by the application when it has acquired
// it, null before (the overlay then draws the boxes only) and after it is released.
void Ent3dSetDebugFont(Font* font);
Font* Ent3dGetDebugFont();

// The entity named "Terrain" in the tree of `from` (searched from its root), kept until it is
// destroyed or renamed or the cache is forgotten; a "Terrain" made, renamed or linked in later
// is found on the next call. Null when there is none (or `from` is null); that answer is kept
// too, until an entity may have been named "Terrain" or moved (EntNameChanges).
ENTBASE* Ent3dGetTerrain(ENTBASE* from);
// Forgets the kept entity (class reset).
void Ent3dForgetTerrain();

// How the management camera flies to a point: (camera, target, yaw, pitch, distance). The
// application hands the camera class's function over at start-up; until then focusing does
// nothing.
using CameraFlyToFn = void (*)(ENTBASE* camera, const VECTOR3* target, float yaw, float pitch,
                               float distance);
void CameraVantorSetFlyTo(CameraFlyToFn flyTo);
// The function handed over, or null while none is.
CameraFlyToFn CameraVantorGetFlyTo();

// The ground a placement grid covers, x0 .. x1 by z0 .. z1 at height y0: the management camera
// frames it without seeing inside the grid's class, which sits beside the camera's.
struct GridExtent {
    float x0, y0, z0, x1, z1;
};
// How a grid entity answers; the application installs the grid class's at start-up.
using GridExtentFn = bool (*)(ENTBASE* grid, GridExtent* out);
void Ent3dSetGridExtentQuery(GridExtentFn query);
GridExtentFn Ent3dGetGridExtentQuery();
// The grid's extent through the installed query: false without a query, a grid or an answer.
bool Ent3dGridExtent(ENTBASE* grid, GridExtent* out);
// The entity of type "CameraVantor1" under root, if any, flies to the entity's position with
// yaw 0, pitch pi/4 and distance 40.
void CameraVantorFocusEnt(ENTBASE* root, ENTBASE* entity);
