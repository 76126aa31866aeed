// A camera record: a named transform, a target transform for a target camera, and its ranges.
#pragma once

#include "gi/GM_NodeTM.h"

class GM_Camera : public GM_Object {
  public:
    GM_Camera();

    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    GM_NodeTM node;
    GM_NodeTM target;     // in the file only when the type is not 0
    uint32_t type = 0;    // 0 "Free", else "Target"
    uint32_t unnamed = 0; // stored and copied, never printed
    float hither = 0, yon = 0, nearRange = 0, farRange = 0, fov = 0, targetDistance = 0;
};
