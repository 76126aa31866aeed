// The block's class-wide resources: its value table, three shaders, two meshes and its
// textures, made at class set-up and freed at class shut-down.
#pragma once

#include "engine/DataDir.h"

struct MeshBuf;
class Shader;
struct VarTable;

enum CubeTexture { CUBETEX_FRAMED, CUBETEX_XYZ, CUBETEX_DIFFUSE, CUBETEX_SPECMAP, CUBETEX_ENVIRO };

struct CubeResources {
    VarTable* vars = nullptr;
    // Only "Solid" draws; the other two are made, validated and held with the class.
    Shader* solid = nullptr;
    Shader* specMap = nullptr;
    Shader* enviroMap = nullptr;
    MeshBuf* box = nullptr;    // the unit cube, one texture column per face
    MeshBuf* sphere = nullptr; // diameter 1
    // Made in this order; "Diffuse.dds" and the framed texture are only held.
    int textures[5] = {-1, -1, -1, -1, -1};
    DataDir dataDir;
};

CubeResources& CubeRes();
void CubeMakeResources();
void CubeFreeResources();
