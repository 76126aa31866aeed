// A triangle mesh record: vertices, faces, texture and colour layers, extra mapping channels
// and per-face normals. Embedded in geometry objects and collision meshes.
#pragma once

#include "gi/GM_Object.h"
#include "gi/giMath.h"

#include <vector>

struct GM_MeshFace {
    uint32_t a, b, c, mtlId;
};
// A face of a texture or colour layer: three indices into that layer's vertices.
struct GM_TexFace {
    uint32_t a, b, c;
};
// The face normal, then the normals at corners a, b and c.
struct GM_FaceNormal {
    giVec3 face;
    giVec3 corner[3];
};
// One extra mapping channel: a slice of the shared extra texture vertices and faces. The slice's
// face indices count from its first vertex. `link` is written as stored and cleared on reading.
struct GM_MapChannel {
    uint32_t stored;
    uint32_t channel;
    uint32_t texVertCount;
    uint32_t firstTexVert;
    uint32_t texFaceCount;
    uint32_t firstTexFace;
    uint32_t link;
};

class GM_Mesh : public GM_Object {
  public:
    GM_Mesh();

    // Fails without writing anything when the layers disagree with the faces (a texture, colour
    // or normal layer needs one entry per face) or a channel's slice lies outside the extra
    // arrays.
    int Write(GM_Stream* s) override;
    // Read by its owner: reads its own type id first, which must be 16. Every index is checked
    // against the array it points into.
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    // Packs the colour vertices into `colors`: 0xFF, then red, green, blue, each x 255 truncated.
    void PackColors();

    uint32_t timeValue = 0;
    int32_t materialRef = -1;
    std::vector<giVec3> vertices;
    std::vector<GM_MeshFace> faces;
    std::vector<giVec3> texVerts;
    std::vector<GM_TexFace> texFaces; // one per face when there are texture vertices
    std::vector<GM_MapChannel> channels;
    std::vector<giVec3> extraTexVerts;
    std::vector<GM_TexFace> extraTexFaces;
    std::vector<giVec3> colorVerts;
    std::vector<GM_TexFace> colorFaces; // one per face when there are colour vertices
    std::vector<uint32_t> colors;       // packed from colorVerts when read
    std::vector<GM_FaceNormal> normals; // one per face
    uint32_t backfaceCull = 1;

  private:
    bool Consistent() const;
    bool WriteBinary(GM_Stream* s) const;
    bool WriteText(GM_Stream* s) const;
    bool ReadPayload(GM_Stream* s);
};
