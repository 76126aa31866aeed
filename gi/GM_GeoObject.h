// A geometry object record: a named node with its transform and mesh, and the welded form of
// the mesh that the model file builds after loading.
#pragma once

#include "gi/GM_Mesh.h"
#include "gi/GM_NodeTM.h"

#include <string>
#include <vector>

class GM_Material;

// The mesh welded into an indexed vertex list: one vertex per distinct combination of position,
// corner normal, texture coordinates and colour, faces taken in the corner order a, c, b.
struct GM_WeldedMesh {
    uint32_t vertexCount = 0;
    std::vector<giVec3> positions;
    std::vector<giVec3> normals;
    std::vector<uint32_t> colors; // packed; empty when the mesh has no colours
    // The mesh's own texture layer first (when it has one), then one per mapping channel.
    std::vector<std::vector<giVec2>> texCoords;
    std::vector<uint16_t> indices;
    // Per vertex: the mesh vertex (position index) it came from.
    std::vector<uint32_t> source;
    // The mesh's material in the model's material list; null for none or one out of range.
    GM_Material* material = nullptr;
};

class GM_GeoObject : public GM_Object {
  public:
    GM_GeoObject();

    int Write(GM_Stream* s) override;
    // Fails when the embedded node transform or mesh fails or is not one.
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    GM_Mesh mesh;
    GM_NodeTM node;
    GM_String parent;
    uint8_t shadeVerts = 0;

    // Filled by GM_ModelFile::BuildMeshes; vertexCount 0 until then or when the mesh could not
    // be welded.
    GM_WeldedMesh welded;
};
