// Direct3D's lights and material on GL's fixed-function lighting. Where GL cannot follow:
// - GL has 8 lights: each draw shows its directional lights, then the point and spot lights
//   nearest its world origin (LightChoice.h).
// - GL has no light range: a point or spot light is left out of a draw whose world origin lies
//   beyond its Range, so a light's edge falls between objects, not across one.
// - GL's spot light has one cut-off angle and an exponent: the cut-off is half the outer cone
//   (at most 90 degrees) and the exponent halves the light midway between the cones, where
//   Direct3D's linear falloff does.
#include "platform/d3d8/GlDevice.h"
#include "platform/d3d8/LightChoice.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr float kRadToDeg = 57.29578f;

void ToFloats(const D3DCOLORVALUE& c, float out[4]) {
    out[0] = c.r, out[1] = c.g, out[2] = c.b, out[3] = c.a;
}

// GL refuses negative attenuation; a light that divides by zero everywhere shows nothing.
float Attenuation(float a) {
    return a >= 0.0f ? std::min(a, FLT_MAX) : 0.0f;
}

float SpotExponent(float theta, float phi) {
    float mid = std::clamp((theta + phi) * 0.25f, 0.0f, 1.5f);
    float c = std::cos(mid);
    if (!(c > 0.0f && c < 1.0f)) return 0.0f;
    return std::clamp(std::log(0.5f) / std::log(c), 0.0f, 128.0f);
}

} // namespace

// ---- material ----

// Specular reaches GL only with SPECULARENABLE, as Direct3D adds none without it.
void D3dGlDevice::ApplyMaterial() {
    const D3DMATERIAL8& m = Material();
    float c[4];
    ToFloats(m.Diffuse, c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, c);
    ToFloats(m.Ambient, c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, c);
    ToFloats(m.Emissive, c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, c);
    if (RenderState(D3DRS_SPECULARENABLE)) {
        ToFloats(m.Specular, c);
    } else {
        c[0] = c[1] = c[2] = c[3] = 0.0f;
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, c);
    float power = m.Power >= 0.0f ? std::min(m.Power, 128.0f) : 0.0f; // GL takes 0..128
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, power);
}

HRESULT D3dGlDevice::SetMaterial(const D3DMATERIAL8* material) {
    HRESULT hr = D3dDeviceBase::SetMaterial(material);
    if (SUCCEEDED(hr)) ApplyMaterial();
    return hr;
}

// Specular is added after texturing, with the viewer at the eye when LOCALVIEWER is on.
void D3dGlDevice::ApplyLightModel() {
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, RenderState(D3DRS_LOCALVIEWER) ? 1 : 0);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
}

// Vertex colours feed the material only with COLORVERTEX and lighting on and a diffuse colour
// in the format. GL tracks one material colour: ambient and diffuse together when both take
// the vertex colour, else the first of diffuse, ambient, emissive, specular that does.
// Specular and COLOR2 sources read the vertex's specular colour, which the layer does not pass:
// they keep the material's.
void D3dGlDevice::ApplyColorMaterial(DWORD fvf) {
    GLenum mode = 0;
    if (RenderState(D3DRS_LIGHTING) && RenderState(D3DRS_COLORVERTEX) && (fvf & D3DFVF_DIFFUSE)) {
        bool d = RenderState(D3DRS_DIFFUSEMATERIALSOURCE) == D3DMCS_COLOR1;
        bool a = RenderState(D3DRS_AMBIENTMATERIALSOURCE) == D3DMCS_COLOR1;
        bool e = RenderState(D3DRS_EMISSIVEMATERIALSOURCE) == D3DMCS_COLOR1;
        bool s = RenderState(D3DRS_SPECULARMATERIALSOURCE) == D3DMCS_COLOR1 &&
                 RenderState(D3DRS_SPECULARENABLE);
        mode = d && a ? GL_AMBIENT_AND_DIFFUSE
               : d    ? GL_DIFFUSE
               : a    ? GL_AMBIENT
               : e    ? GL_EMISSION
               : s    ? GL_SPECULAR
                      : 0;
    }
    if (mode == m_colorMaterial) return;
    // The colour GL tracked stays in its material: give it the real one back.
    glDisable(GL_COLOR_MATERIAL);
    ApplyMaterial();
    if (mode) {
        glColorMaterial(GL_FRONT_AND_BACK, mode);
        glEnable(GL_COLOR_MATERIAL);
    }
    m_colorMaterial = mode;
}

// ---- lights ----

HRESULT D3dGlDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
    HRESULT hr = D3dDeviceBase::SetLight(index, light);
    if (FAILED(hr)) return hr;
    for (int g = 0; g < m_maxLights; ++g)
        if (m_glLight[g] == (int)index) SpecifyGlLight(g);
    return D3D_OK;
}

int D3dGlDevice::GlLightIndex(int glLight) const {
    return glLight >= 0 && glLight < m_maxLights ? m_glLight[glLight] : -1;
}

void D3dGlDevice::SpecifyGlLight(int g) {
    const D3DLIGHT8& l = Lights()[(size_t)m_glLight[g]].light;
    const GLenum id = GL_LIGHT0 + (GLenum)g;
    float c[4];
    ToFloats(l.Diffuse, c);
    glLightfv(id, GL_DIFFUSE, c);
    ToFloats(l.Specular, c);
    glLightfv(id, GL_SPECULAR, c);
    ToFloats(l.Ambient, c);
    glLightfv(id, GL_AMBIENT, c);
    // Direct3D's lights live in world space; GL takes a light through the modelview current
    // when it is given: the view alone.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(View().m);
    if (l.Type == D3DLIGHT_DIRECTIONAL) {
        const float towards[4] = {-l.Direction.x, -l.Direction.y, -l.Direction.z, 0.0f};
        glLightfv(id, GL_POSITION, towards);
        glLightf(id, GL_SPOT_CUTOFF, 180.0f);
    } else {
        const float at[4] = {l.Position.x, l.Position.y, l.Position.z, 1.0f};
        glLightfv(id, GL_POSITION, at);
        float a0 = Attenuation(l.Attenuation0), a1 = Attenuation(l.Attenuation1),
              a2 = Attenuation(l.Attenuation2);
        if (a0 == 0.0f && a1 == 0.0f && a2 == 0.0f) a0 = 1.0f;
        glLightf(id, GL_CONSTANT_ATTENUATION, a0);
        glLightf(id, GL_LINEAR_ATTENUATION, a1);
        glLightf(id, GL_QUADRATIC_ATTENUATION, a2);
        if (l.Type == D3DLIGHT_SPOT) {
            const float dir[3] = {l.Direction.x, l.Direction.y, l.Direction.z};
            glLightfv(id, GL_SPOT_DIRECTION, dir);
            glLightf(id, GL_SPOT_CUTOFF, std::clamp(l.Phi * 0.5f * kRadToDeg, 0.0f, 90.0f));
            glLightf(id, GL_SPOT_EXPONENT, SpotExponent(l.Theta, l.Phi));
        } else {
            glLightf(id, GL_SPOT_CUTOFF, 180.0f);
        }
    }
    glPopMatrix();
}

void D3dGlDevice::RespecifyGlLights() {
    for (int g = 0; g < m_maxLights; ++g)
        if (m_glLight[g] >= 0) SpecifyGlLight(g);
}

void D3dGlDevice::ForgetGlLights() {
    for (int g = 0; g < m_maxLights; ++g) {
        glDisable(GL_LIGHT0 + (GLenum)g);
        m_glLight[g] = -1;
    }
}

// A light chosen again keeps its GL light, so a scene whose draws share their lights specifies
// each once per view.
void D3dGlDevice::ApplyLights() {
    const float* w = World().m;
    DWORD chosen[kD3dChosenLightsMax];
    int n = D3dChooseLights(Lights(), VECTOR3{w[12], w[13], w[14]}, m_maxLights, chosen);
    bool placed[kD3dChosenLightsMax] = {};
    bool kept[kD3dChosenLightsMax] = {};
    for (int g = 0; g < m_maxLights; ++g) {
        for (int k = 0; k < n; ++k) {
            if (!placed[k] && m_glLight[g] == (int)chosen[k]) {
                placed[k] = kept[g] = true;
                break;
            }
        }
    }
    for (int g = 0; g < m_maxLights; ++g) {
        if (kept[g]) continue;
        int k = 0;
        while (k < n && placed[k])
            ++k;
        const GLenum id = GL_LIGHT0 + (GLenum)g;
        if (k == n) {
            if (m_glLight[g] >= 0) glDisable(id);
            m_glLight[g] = -1;
            continue;
        }
        placed[k] = true;
        m_glLight[g] = (int)chosen[k];
        SpecifyGlLight(g);
        glEnable(id);
    }
}
