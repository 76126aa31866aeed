// Test characters written to disk: GM models of parts with chosen vertex counts, one-bone rigs
// and descriptors, so that the model-definition manager and the character model read them as
// they read the generated set.
#pragma once

#include "datagen/Characters/CharRecords.h"
#include "gi/GM_GeoObject.h"
#include "gi/GM_Material.h"
#include "gi/GM_Skeleton.h"
#include "gi/GM_Texture.h"
#include "tests/support/TestSupport.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

// "<dir><rel>" (dir ending in "/"): a model of one part per count, part k a fan of n vertices on
// the plane z = k (n - 2 triangles, normals +z), every part of material 0 whose diffuse map is
// `map` (none when empty).
inline bool WriteFanModel(const std::string& dir, const std::string& rel,
                          const std::vector<int>& counts, const std::string& map = "Test.tga") {
    CharGmf gmf;
    gmf.path = rel;
    gmf.materials = std::make_unique<GM_MaterialList>();
    auto* mat = new GM_Material();
    mat->SetName("Test");
    mat->className.Set("Standard");
    mat->diffuse = 0xFFFFFFFF;
    if (!map.empty()) {
        auto* tex = new GM_Texture();
        tex->SetName("Test diffuse");
        tex->className.Set("Bitmap");
        tex->bitmap.Set(map.c_str());
        tex->amount = 1.0f;
        tex->mapSlot = 1;
        tex->uTiling = tex->vTiling = 1.0f;
        tex->mapChannel = 1;
        mat->textures.Append(tex);
    }
    gmf.materials->Append(mat);
    gmf.objects = std::make_unique<GM_ObjectList>();
    for (size_t k = 0; k < counts.size(); ++k) {
        auto* g = new GM_GeoObject();
        const std::string name = "Part" + std::to_string(k);
        g->SetName(name.c_str());
        g->node.SetName(name.c_str());
        g->node.SetMatrix(giMat44::Identity());
        GM_Mesh& m = g->mesh;
        m.materialRef = 0;
        const int n = counts[k];
        for (int v = 0; v < n; ++v) {
            const float a = 6.2831853f * (float)v / (float)n;
            m.vertices.push_back({std::cos(a) * 0.5f, std::sin(a) * 0.5f + 1.0f, (float)k * 0.01f});
            m.texVerts.push_back({(float)v / (float)n, 0.5f, 0});
        }
        const giVec3 nz{0, 0, 1};
        for (int v = 1; v + 1 < n; ++v) {
            m.faces.push_back({0, (uint32_t)v + 1, (uint32_t)v, 0});
            m.texFaces.push_back({0, (uint32_t)v + 1, (uint32_t)v});
            m.normals.push_back({nz, {nz, nz, nz}});
        }
        gmf.objects->Append(g);
    }
    return CharWriteGmf(gmf, dir);
}

// "<dir><rel>" (dir ending in "/"): a one-bone rig ("Root" at the origin) weighting source vertices
// 0 .. n - 1.
inline bool WriteOneBoneRig(const std::string& dir, const std::string& rel, int n) {
    CharGmf gmf;
    gmf.path = rel;
    auto* skel = new GM_Skeleton();
    skel->SetName("Rig");
    skel->boneCount = 1;
    GM_SkelBoneData& bone = skel->bones[0];
    bone.name = "Root";
    bone.parent = "";
    const giMat44 id = giMat44::Identity();
    std::memcpy(bone.orient, id.m, sizeof bone.orient);
    for (int v = 0; v < n; ++v)
        bone.weights.push_back({(uint32_t)v, 1.0f});
    bone.vertexCount = (uint32_t)bone.weights.size();
    gmf.objects = std::make_unique<GM_ObjectList>();
    gmf.objects->Append(skel);
    return CharWriteGmf(gmf, dir);
}
