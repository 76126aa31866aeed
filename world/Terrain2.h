// The terrain entity: the ground of the world. It owns the terrain object (the grid of height
// samples loaded from a grey image, and the height query) and a static height-field object in
// the shared physics world. Other code finds it as the entity named "Terrain" (Ent3dGetTerrain)
// and asks it for the ground height through its messages.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntQueries.h"
#include "engine/WorldClass.h"

#include <cstdint>

struct TerrainObj;
struct PhysObj;
struct PhysWorld;

class Terrain2 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Terrain2"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<Terrain2>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<Terrain2>::word = flags; }
    intptr_t Dispatch(int message, intptr_t a, intptr_t b, intptr_t c) override;

    // The Create values; no terrain or physics object; ENT_FLAG_PASSABLE; 0.
    int Create(EntNode* node) override;
    // The section's values, then the terrain object when there is none; 1.
    int LoadVars(const char* path, int* outFlag) override;
    // The terrain object when none was loaded (a terrain made by a script), then VarsChanged; 0.
    int Start() override;
    // The detail values and the scale into the terrain object, then a new physics object; 0.
    int VarsChanged() override;
    // With ENT_CLASS_DRAW and "draw": the eye, the switches and the LOD unit to the terrain
    // object, then its draw, under a white ambient with "fullAmbient"; 1. Else 0.
    int DrawPre() override;
    // The patch LOD overlay.
    int Hook15() override;
    // Pickable classes (ENT_CLASS_PICKABLE) only: the terrain's ray test, kept when nearer than the
    // best.
    bool PickTest(PickQuery* query) override;
    // ENT_MSG_RAY_QUERY: kind 3 a ray, kind 4 a segment; a hit sets the record's result to this
    // node. 1; -1 for another kind; 0 for no record.
    int RayQuery(EntRayQuery* query) override;
    // Frees the textures, the terrain object and the physics object, then the entity.
    int Destroy() override;

    // The ground height at the position's x and z (y is ignored): 0 outside the grid; 0.
    int GetHeight(const VECTOR3* pos, float* out);

    TerrainObj* terrain = nullptr;
    PhysObj* physics = nullptr;
    PhysWorld* physWorld = nullptr; // held from the first physics object to Destroy

    uint8_t draw = 1;
    uint8_t fullAmbient = 1;
    float detailControl = 48.0f;
    uint8_t drawDetailMap = 0;
    float detailUTile = 16.0f;
    float detailVTile = 16.0f;
    float detailDist = 56.0f;
    float scale = 1.0f;
    float elvScale = 1.0f;
    float farCull = 4000.0f;
    char mapName[261] = {};
    char baseTexName[261] = {};
    char detailTexName[261] = {};
    char terrainTexPath[261] = {};
    int32_t tileWidth = 512;
    int32_t tileHeight = 512;
    int32_t test = 0;

  private:
    void BuildTerrain();
    void RebuildPhysics();
    void Surface(const VECTOR3* pos, float* height, int32_t* surface);
};

// Class "Terrain2".
intptr_t EcTerrain2Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
