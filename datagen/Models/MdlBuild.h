// The model tool's geometry and file writer: a scene's nodes in depth-first pre-order with
// their triangles, prepared as the loader prepares them, and the ".md3" bytes of a model.
#pragma once

#include "I3d/Mdl3.h"
#include "datagen/Models/MdlScene.h"

#include <string>
#include <vector>

// A model as the file holds it. The node records' links, override, material pointer and
// buffers are not part of the file and are left null.
struct MdlModel {
    std::string title;
    uint32_t storage = 2;
    std::vector<MDL3NODE> nodes; // pre-order, nodes[0] the root
    std::vector<MDL3MTRL> materials;
    std::vector<MDL3VERTEX> verts;
    std::vector<uint16_t> indices;
};

// The geometry of every node, numChildren, the vertex ranges and index runs, the flags,
// spheres and bounds. False and "line N: ..." when the model would need more than
// MDL3_MAX_VERTS vertices or a triangle is degenerate.
bool MdlBuildModel(const MdlScene& scene, MdlModel* out, std::string* error);

// The file: header, nodes, materials, vertices and indices, each array right behind the one
// before; zeros in the run-time fields, the unused bytes and the spare vertex words, -1 in the
// texture slots.
std::vector<uint8_t> MdlModelBytes(const MdlModel& model);
