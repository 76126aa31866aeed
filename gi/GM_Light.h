// A light record: a named transform, an optional target transform and the light's settings.
// Version 3 adds the far-attenuation switch.
#pragma once

#include "gi/GM_NodeTM.h"

class GM_Light : public GM_Object {
  public:
    GM_Light();

    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    GM_NodeTM node;
    GM_NodeTM target; // in the file only when targetFlag is not 0
    uint32_t targetFlag = 0;
    int32_t type = 0;    // 0 Omni, 1 Target, 2 Directional, 4 Free
    int32_t shadows = 0; // 0 Off, 1 Mapped, 2 Raytraced
    int32_t useLight = 1;
    int32_t spotShape = 0; // 0 Rect, 1 Circle; text form only
    uint32_t color = 0;
    float intensity = 0, aspect = 1.0f, hotspot = 0, falloff = 0;
    float attenStart = 0, attenEnd = 1.0f, targetDistance = 0;
    bool useFarAtten = false;
};
