// A primitive record: an analytic shape by its measures, or (type 4) a small triangle mesh.
#pragma once

#include "gi/GM_Object.h"
#include "gi/giMath.h"

#include <vector>

class GM_Primitive : public GM_Object {
  public:
    static constexpr int32_t kTriangleMesh = 4;

    struct Index {
        uint32_t v[4];
    };

    GM_Primitive();

    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    GM_String parent;
    int32_t type = -1;
    float length = 0, width = 0, height = 0;
    float rotation[4] = {};
    float offset[3] = {};
    float radius = 0, normal = 0, distance = 0;
    // Type 4 only; one triangle vector per index record.
    std::vector<giVec3> vertices;
    std::vector<Index> indices;
    std::vector<giVec3> triangles;
};
