// The test board's class-wide resources: its value table, shaders, meshes and textures, made at
// class set-up and freed at class shut-down.
#pragma once

struct MeshBuf;
class Shader;
struct VarTable;

struct PlayfieldResources {
    VarTable* vars = nullptr;
    // The board draws with the first two; the other two shaders, the sphere, the two spare
    // fills and "Blender" are made and held with the class, and nothing draws with them yet.
    Shader* board = nullptr;       // the floor: lit, texture matrix, depth written
    Shader* tileOverlay = nullptr; // marks and cursor: unlit, biased toward the eye
    Shader* flatOverlay = nullptr; // the factor's flat colour on the overlay states
    Shader* solid = nullptr;       // lit and textured
    MeshBuf* sphere = nullptr;
    MeshBuf* boardQuad = nullptr;
    MeshBuf* tileQuad = nullptr;
    int textures[6] = {-1, -1, -1, -1, -1, -1}; // by PlayfieldTexture
};

PlayfieldResources& PlayfieldRes();
void PlayfieldMakeResources();
void PlayfieldFreeResources();
