// The kernel's table of lights, numbered like the device's light indices. Every setter updates
// the record and its D3DLIGHT8 mirror and sends the mirror at once, so the device always holds
// the current light. A light index outside the table changes nothing (and asserts in debug
// builds): I3dLightAlloc answers -1 when the table is full, and callers may pass that on.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "platform/d3d8/D3d8Types.h"

struct I3dLight {
    int32_t inUse;
    int32_t enabled;
    int32_t type; // 1 point, 2 spot, 3 directional; kept as passed
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

// ---- the table ----
// n records (and their device mirrors) at their defaults; 0, or -1 with no table.
int I3dLightsAlloc(int n);
void I3dLightsFree();
// Records in the table.
int I3dLightCount();
// A record, null outside the table.
I3dLight* I3dLightGet(int light);
// The mirror last sent for a record, null outside the table.
const D3DLIGHT8* I3dLightMirror(int light);

// ---- one light ----
// A white point light at the origin, enabled on the device; -1 when every record is in use
// (the caller then draws without it).
int I3dLightAlloc();
// Disables the light on the device and frees the record; the LightEnable result, -1 outside
// the table.
HRESULT I3dLightFree(int light);
// The LightEnable result, -1 outside the table.
HRESULT I3dLightEnable(int light, int on);
// 2 spot, 3 directional, anything else a point light on the device.
void I3dLightSetType(int light, int type);
void I3dLightSetDiffuse(int light, float r, float g, float b);
void I3dLightSetSpecular(int light, float r, float g, float b);
void I3dLightSetPosition(int light, float x, float y, float z);
void I3dLightSetDirection(int light, float x, float y, float z);
// Attenuation becomes (0, 0, 10 / range^2) whatever the mode: callers that want the mode's
// curve call I3dLightSetAttenuation afterwards.
void I3dLightSetRange(int light, float range);
// (1, 0, 10 / range^2) for mode 1 (1/11 of full light at the range), (1, 0, 0) otherwise
// (constant up to the range).
void I3dLightSetAttenuation(int light, int mode);
// Inner cone theta, outer cone 1.5 x theta, falloff 1.0.
void I3dLightSetSpotAngle(int light, float theta);

// Sends every enabled light again (a reset leaves the device without lights).
void I3dLightsRestore();

// Software lighting of a normal by the ambient colour and the directional lights in use,
// each channel clamped to at most 1.0 (no lower clamp). Directional lights only, so the
// position is not used.
void I3dLightShadeNormal(float out[3], const VECTOR3* position, const VECTOR3* normal);
