// The kernel's table of lights, numbered like the device's light indices.
#pragma once

#include "platform/d3d8/D3d8Types.h"

struct I3dLight {
    int32_t inUse;
    int32_t enabled;
    int32_t type; // 1 point, 2 spot, 3 directional
    float diffuse[3];
    float specular[3];
    float ambient[3];
    float position[3];
    float reserved[3];
    float direction[3];
    float range;
    float falloff;
    int32_t attenuationMode;
    float attenuation[3];
    float theta; // inner cone, radians
    float phi;   // outer cone, radians
};

// n records (and their device mirrors) at their defaults; 0, or -1 with no table.
int I3dLightsAlloc(int n);
void I3dLightsFree();
// Records in the table.
int I3dLightCount();
// A record, null outside the table.
I3dLight* I3dLightGet(int light);
