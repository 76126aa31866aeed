// The light table: records and the D3DLIGHT8 mirrors sent to the device.
#include "I3d/Lights.h"

#include "engine/Memory.h"

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

int I3dLightsAlloc(int n) {
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
