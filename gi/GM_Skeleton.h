// The skeleton record: per bone its name, parent name, bind orientation and the mesh vertices
// it weights. The stored bone count is kept apart from the number of bone records.
#pragma once

#include "gi/GM_Object.h"

#include <map>
#include <string>
#include <vector>

struct GM_BoneWeight {
    uint32_t vertex;
    float weight;
};

struct GM_SkelBoneData {
    uint32_t vertexCount = 0;
    float orient[16] = {};
    std::string name;   // TABs dropped when read
    std::string parent; // empty for a root
    std::vector<GM_BoneWeight> weights;
};

class GM_Skeleton : public GM_Object {
  public:
    GM_Skeleton();

    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    std::map<uint32_t, GM_SkelBoneData> bones; // by index, in file order
    uint32_t boneCount = 0;                    // stored and written as given
};
