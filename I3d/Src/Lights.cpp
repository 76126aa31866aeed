// The light table: records and the D3DLIGHT8 mirrors sent to the device, and the software
// shading of a normal.
#include "I3d/Lights.h"

#include "I3d/Src/Kernel.h"
#include "I3d/StateCache.h"
#include "engine/Memory.h"

#include <cassert>

static I3dLight* s_lights = nullptr;
static D3DLIGHT8* s_mirrors = nullptr;
static int s_numLights = 0;

static void Defaults(I3dLight* l, D3DLIGHT8* m) {
    *l = I3dLight{};
    l->type = 1;
    l->diffuse[0] = l->diffuse[1] = l->diffuse[2] = 1.0f;
    l->direction[2] = 1.0f;
    l->range = 10000.0f;
    l->falloff = 1.0f;
    l->attenuationMode = 1;
    l->attenuation[0] = 1.0f;
    l->attenuation[2] = 10.0f;
    l->theta = 0.5f;
    l->phi = 0.6f;
    *m = D3DLIGHT8{};
    m->Type = D3DLIGHT_POINT;
    m->Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m->Specular = {0.0f, 0.0f, 0.0f, 1.0f};
    m->Ambient = {0.0f, 0.0f, 0.0f, 1.0f};
    m->Direction = {0.0f, 0.0f, 1.0f};
    m->Range = l->range;
    m->Falloff = l->falloff;
    m->Attenuation0 = l->attenuation[0];
    m->Attenuation2 = l->attenuation[2];
    m->Theta = l->theta;
    m->Phi = l->phi;
}

// ---- the table ----

int I3dLightsAlloc(int n) {
    // A second table frees the first rather than leak it.
    I3dLightsFree();
    if (n <= 0) return -1;
    s_lights = static_cast<I3dLight*>(MemAlloc(sizeof(I3dLight) * (size_t)n));
    s_mirrors = static_cast<D3DLIGHT8*>(MemAlloc(sizeof(D3DLIGHT8) * (size_t)n));
    if (!s_lights || !s_mirrors) {
        I3dLightsFree();
        return -1;
    }
    for (int i = 0; i < n; ++i)
        Defaults(&s_lights[i], &s_mirrors[i]);
    s_numLights = n;
    return 0;
}

void I3dLightsFree() {
    if (s_lights) MemFree(s_lights);
    if (s_mirrors) MemFree(s_mirrors);
    s_lights = nullptr;
    s_mirrors = nullptr;
    s_numLights = 0;
}

int I3dLightCount() {
    return s_numLights;
}

I3dLight* I3dLightGet(int light) {
    return light >= 0 && light < s_numLights ? &s_lights[light] : nullptr;
}

const D3DLIGHT8* I3dLightMirror(int light) {
    return light >= 0 && light < s_numLights ? &s_mirrors[light] : nullptr;
}

// ---- one light ----

// An index from outside the table (the -1 of a full table passed on) would write before or
// after the arrays.
static bool Valid(int light) {
    bool ok = light >= 0 && light < s_numLights;
    assert(ok && "light index outside the table");
    return ok;
}

static HRESULT Send(int light) {
    IDirect3DDevice8* dev = D3dDevice();
    return dev ? dev->SetLight((DWORD)light, &s_mirrors[light]) : D3DERR_INVALIDCALL;
}

static HRESULT SendEnable(int light, int on) {
    IDirect3DDevice8* dev = D3dDevice();
    return dev ? dev->LightEnable((DWORD)light, on ? 1 : 0) : D3DERR_INVALIDCALL;
}

int I3dLightAlloc() {
    for (int i = 0; i < s_numLights; ++i) {
        if (s_lights[i].inUse) continue;
        Defaults(&s_lights[i], &s_mirrors[i]);
        s_lights[i].inUse = 1;
        I3dLightEnable(i, 1);
        return i;
    }
    return -1;
}

HRESULT I3dLightFree(int light) {
    if (!Valid(light)) return -1;
    s_lights[light].enabled = 0;
    Send(light);
    HRESULT hr = SendEnable(light, 0);
    s_lights[light].inUse = 0;
    return hr;
}

HRESULT I3dLightEnable(int light, int on) {
    if (!Valid(light)) return -1;
    s_lights[light].enabled = on;
    Send(light);
    return SendEnable(light, on);
}

void I3dLightSetType(int light, int type) {
    if (!Valid(light)) return;
    s_lights[light].type = type;
    s_mirrors[light].Type = type == 2   ? D3DLIGHT_SPOT
                            : type == 3 ? D3DLIGHT_DIRECTIONAL
                                        : D3DLIGHT_POINT;
    Send(light);
}

// The record's three floats and the mirror's field, then the mirror to the device. A set
// colour's mirror alpha is 0.
static void SetColour(int light, float (I3dLight::*rec)[3], D3DCOLORVALUE D3DLIGHT8::*mirror,
                      float r, float g, float b) {
    if (!Valid(light)) return;
    float* c = s_lights[light].*rec;
    c[0] = r, c[1] = g, c[2] = b;
    s_mirrors[light].*mirror = {r, g, b, 0.0f};
    Send(light);
}

static void SetVector(int light, float (I3dLight::*rec)[3], D3DVECTOR D3DLIGHT8::*mirror, float x,
                      float y, float z) {
    if (!Valid(light)) return;
    float* v = s_lights[light].*rec;
    v[0] = x, v[1] = y, v[2] = z;
    s_mirrors[light].*mirror = {x, y, z};
    Send(light);
}

void I3dLightSetDiffuse(int light, float r, float g, float b) {
    SetColour(light, &I3dLight::diffuse, &D3DLIGHT8::Diffuse, r, g, b);
}

void I3dLightSetSpecular(int light, float r, float g, float b) {
    SetColour(light, &I3dLight::specular, &D3DLIGHT8::Specular, r, g, b);
}

void I3dLightSetPosition(int light, float x, float y, float z) {
    SetVector(light, &I3dLight::position, &D3DLIGHT8::Position, x, y, z);
}

void I3dLightSetDirection(int light, float x, float y, float z) {
    SetVector(light, &I3dLight::direction, &D3DLIGHT8::Direction, x, y, z);
}

static void SetAttenuation(int light, float a0, float a1, float a2) {
    float* a = s_lights[light].attenuation;
    a[0] = a0, a[1] = a1, a[2] = a2;
    D3DLIGHT8& m = s_mirrors[light];
    m.Attenuation0 = a0;
    m.Attenuation1 = a1;
    m.Attenuation2 = a2;
}

void I3dLightSetRange(int light, float range) {
    if (!Valid(light)) return;
    s_lights[light].range = range;
    s_mirrors[light].Range = range;
    SetAttenuation(light, 0.0f, 0.0f, 10.0f / (range * range));
    Send(light);
}

void I3dLightSetAttenuation(int light, int mode) {
    if (!Valid(light)) return;
    float range = s_lights[light].range;
    s_lights[light].attenuationMode = mode;
    SetAttenuation(light, 1.0f, 0.0f, mode == 1 ? 10.0f / (range * range) : 0.0f);
    Send(light);
}

void I3dLightSetSpotAngle(int light, float theta) {
    if (!Valid(light)) return;
    I3dLight& l = s_lights[light];
    l.theta = theta;
    l.phi = 1.5f * theta;
    l.falloff = 1.0f;
    D3DLIGHT8& m = s_mirrors[light];
    m.Theta = l.theta;
    m.Phi = l.phi;
    m.Falloff = l.falloff;
    Send(light);
}

void I3dLightsRestore() {
    for (int i = 0; i < s_numLights; ++i) {
        if (!s_lights[i].enabled) continue;
        Send(i);
        SendEnable(i, 1);
    }
}

// ---- software shading ----

void I3dLightShadeNormal(float out[3], const VECTOR3*, const VECTOR3* normal) {
    // The ambient starts clamped to 0..1 (the state cache keeps it so): a negative ambient cannot
    // darken here what the device lights at 0.
    D3dGetAmbient(out);
    for (int i = 0; i < s_numLights; ++i) {
        const I3dLight& l = s_lights[i];
        if (!l.inUse || l.type != 3) continue;
        float k =
            -(l.direction[0] * normal->x + l.direction[1] * normal->y + l.direction[2] * normal->z);
        // A NaN direction fails the test and adds nothing.
        if (!(k >= 0.0f)) continue;
        for (int c = 0; c < 3; ++c)
            out[c] += k * l.diffuse[c];
    }
    for (int c = 0; c < 3; ++c)
        if (out[c] > 1.0f) out[c] = 1.0f;
}
