// The test board's class-wide resources: its value table, shaders, meshes and textures, made at
// class set-up and freed at class shut-down.
#pragma once

struct MeshBuf;
class Shader;
struct VarTable;

struct PlayfieldResources {
    VarTable* vars = nullptr;
    Shader* board = nullptr;       // the floor: lit, texture matrix, depth written
    Shader* tileOverlay = nullptr; // marks and cursor: unlit, biased toward the eye
    Shader* flatOverlay = nullptr; // a flat colour on the overlay states
    Shader* solid = nullptr;       // lit and textured, for the sphere
    MeshBuf* sphere = nullptr;
    MeshBuf* boardQuad = nullptr;
    MeshBuf* tileQuad = nullptr;
    int textures[6] = {-1, -1, -1, -1, -1, -1}; // by PlayfieldTexture
};

PlayfieldResources& PlayfieldRes();
void PlayfieldMakeResources();
void PlayfieldFreeResources();
