// A texture record: one map of a material (its bitmap, slot, mapping and UVW settings), with
// its own nested maps.
#pragma once

#include "gi/GM_List.h"
#include "gi/GM_Object.h"

class GM_Texture : public GM_Object {
  public:
    GM_Texture();

    int Write(GM_Stream* s) override;
    // Reads its own type id (15) first. `depth` is the level of the list that holds it.
    int Read(GM_Stream* s) override { return Read(s, 1); }
    int Read(GM_Stream* s, int depth);
    uint32_t ComputeSize() override;

    GM_String className;
    GM_String bitmap;
    float amount = 0;
    int32_t mapSlot = -1; // 0 ambient ... 13 generic
    int32_t mappingType = 0;
    float uOffset = 0, vOffset = 0, uTiling = 0, vTiling = 0, angle = 0;
    float blur = 0, blurOffset = 0, noiseAmount = 0, noiseSize = 0;
    int32_t noiseLevel = 0;
    float noisePhase = 0;
    uint32_t invert = 0;
    uint32_t colorMapEnable = 0; // from version 3
    int32_t filter = 0;
    int32_t mapChannel = 1;
    GM_TextureList subTextures;
};
