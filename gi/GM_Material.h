// A material record: colours, shading and flags, its texture maps and its sub-materials.
#pragma once

#include "gi/GM_List.h"
#include "gi/GM_Object.h"

enum : uint32_t {
    GM_MTL_TWOSIDED = 1,
    GM_MTL_WIRE = 2,
    GM_MTL_WIREUNITS = 4,
    GM_MTL_FACEMAP = 8,
    GM_MTL_SOFTEN = 16,
    GM_MTL_FALLOFF_OUT = 32,
};

class GM_Material : public GM_Object {
  public:
    GM_Material();

    int Write(GM_Stream* s) override;
    // Reads its own type id (8) first. `depth` is the level of the list that holds it.
    int Read(GM_Stream* s) override { return Read(s, 1); }
    int Read(GM_Stream* s, int depth);
    uint32_t ComputeSize() override;

    GM_String className;
    uint32_t flags = 0;
    uint32_t ambient = 0, diffuse = 0, specular = 0;
    float shine = 0, shineStrength = 0, transparency = 0, wireSize = 0;
    int32_t shading = 0;
    float xpFalloff = 0, selfIllum = 0;
    int32_t xpType = 0;
    uint32_t refNo = 0;
    GM_TextureList textures;
    GM_MaterialList subMaterials;
};
