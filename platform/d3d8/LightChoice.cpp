// The per-draw choice of lights (see LightChoice.h).
#include "platform/d3d8/LightChoice.h"

#include <algorithm>
#include <cmath>

static bool Finite(const D3DCOLORVALUE& c) {
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

static bool Finite(const D3DVECTOR& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Only the values the light's type uses.
static bool Usable(const D3DLIGHT8& l) {
    if (!Finite(l.Diffuse) || !Finite(l.Specular) || !Finite(l.Ambient)) return false;
    if (l.Type == D3DLIGHT_DIRECTIONAL) return Finite(l.Direction);
    if (!Finite(l.Position) || !std::isfinite(l.Range) || !std::isfinite(l.Attenuation0) ||
        !std::isfinite(l.Attenuation1) || !std::isfinite(l.Attenuation2))
        return false;
    if (l.Type == D3DLIGHT_SPOT)
        return Finite(l.Direction) && std::isfinite(l.Theta) && std::isfinite(l.Phi) &&
               std::isfinite(l.Falloff);
    return true;
}

int D3dChooseLights(const std::vector<D3dLightSlot>& lights, const VECTOR3& origin, int max,
                    DWORD* out) {
    max = std::clamp(max, 0, kD3dChosenLightsMax);
    int n = 0;
    for (size_t i = 0; i < lights.size() && n < max; ++i) {
        const D3dLightSlot& s = lights[i];
        if (s.set && s.enabled && s.light.Type == D3DLIGHT_DIRECTIONAL && Usable(s.light))
            out[n++] = (DWORD)i;
    }
    // The nearest `room` lights, kept sorted by an insertion that places a tie after the
    // lights already held (lower indices first).
    struct Near {
        float d2;
        DWORD index;
    } nearest[kD3dChosenLightsMax];
    const int room = max - n;
    int held = 0;
    for (size_t i = 0; i < lights.size() && room > 0; ++i) {
        const D3dLightSlot& s = lights[i];
        if (!s.set || !s.enabled || s.light.Type == D3DLIGHT_DIRECTIONAL || !Usable(s.light))
            continue;
        const D3DVECTOR& p = s.light.Position;
        float dx = p.x - origin.x, dy = p.y - origin.y, dz = p.z - origin.z;
        float d2 = dx * dx + dy * dy + dz * dz;
        if (!(d2 <= s.light.Range * s.light.Range)) continue;
        if (held == room && !(d2 < nearest[held - 1].d2)) continue;
        int at = held < room ? held++ : held - 1;
        while (at > 0 && nearest[at - 1].d2 > d2) {
            nearest[at] = nearest[at - 1];
            --at;
        }
        nearest[at] = {d2, (DWORD)i};
    }
    for (int k = 0; k < held; ++k)
        out[n++] = nearest[k].index;
    return n;
}
