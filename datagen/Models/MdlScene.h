// The model tool's scene description: one statement per line, "#" starts a comment.
//   model <Title>                     the file title: 1 to 31 of A-Z a-z 0-9 _ -, first
//   storage 0|2                       2 (default): prepared; 0: the loader prepares
//   texture <Name> solid <size> r g b
//   texture <Name> checker|stripes <size> r g b r g b    8 cells or bands across
//   material <Name> [ambient|diffuse|specular|emissive r g b a] [shininess 0..128]
//            [doublesided] [reflective] [map <Tex>] [bump <Tex> [tile u v]] [detail <Tex> [tile u
//            v]]
//   node <Name> [parent <Node>] [translate x y z] [rotate-x|rotate-y|rotate-z degrees]
//        [box sx sy sz] [cylinder segments radius height] [sphere segments radius] [quad w h]
//        [tri x y z x y z x y z] [material <Name>] [nocollision] [infinitevis] [castshadow]
//        [receiveshadows] [motionblur] [maxdist d] [mindist d] [faderange d]
// A node turns by its rotations in the order written, then moves by its translations (summed).
// Primitives are centred on the node's origin; a cylinder stands along y; a quad faces -z.
// Parents may be named before or after their children; the one node without a parent is the
// root, which neither moves nor turns.
#pragma once

#include "I3d/Materials.h"
#include "I3d/Math/MathTypes.h"

#include <cstdint>
#include <string>
#include <vector>

enum class MdlPattern { Solid, Checker, Stripes };

struct MdlTextureDesc {
    std::string name;
    MdlPattern pattern = MdlPattern::Solid;
    int size = 0;
    uint32_t a = 0, b = 0; // ARGB, opaque
    int line = 0;
};

enum class MdlPrimKind { Box, Cylinder, Sphere, Quad, Tri };

struct MdlPrim {
    MdlPrimKind kind;
    float v[9] = {}; // box sx sy sz; cylinder segments r h; sphere segments r; quad w h; tri
};

struct MdlNodeDesc {
    std::string name, parent, material;
    Mat4 matrix;
    bool moved = false; // a translate or rotate was given
    std::vector<MdlPrim> prims;
    uint32_t flags = 0; // MDL3_COLLISION unless nocollision, and the stored-only flags
    float maxDist = 0, minDist = 0, fadeRange = 0;
    int line = 0;
};

struct MdlScene {
    std::string title;
    uint32_t storage = 2;
    std::vector<MdlTextureDesc> textures;
    std::vector<MDL3MTRL> materials; // slots -1, tiles 1.0 unless given
    std::vector<int> materialLines;
    std::vector<MdlNodeDesc> nodes;
};

// True and the scene, or false and "line N: what is wrong".
bool MdlParseScene(const std::string& text, MdlScene* out, std::string* error);
