// Control images.
#include "ui/Ctl3Strip.h"

#include "I3d/Primitives.h"
#include "I3d/Textures.h"
#include "ui/Ctl3Base.h"
#include "ui/Ctl3Draw.h"

int Ctl3StripLoad(Ctl3Strip* strip) {
    Ctl3StripRelease(strip);
    strip->textureName[CTL3_TEXTURE_NAME_MAX] = 0;
    strip->slot = Ctl3LoadTexture(strip->textureName);
    return strip->slot;
}

void Ctl3StripRelease(Ctl3Strip* strip) {
    if (strip->slot >= 0) I3dTexRelease(strip->slot);
    strip->slot = -1;
}

bool Ctl3StripUv(const Ctl3Strip& strip, int frame, float uv[4]) {
    const I3dTexSlot* tex = strip.slot >= 0 ? I3dTexGetSlot(strip.slot) : nullptr;
    if (!tex || tex->width <= 0 || tex->height <= 0) return false;
    const float w = float(tex->width), h = float(tex->height);
    const float top = float(strip.top) + float(frame) * float(strip.CellHeight());
    const float bottom = float(strip.bottom) + float(frame) * float(strip.CellHeight());
    uv[0] = (float(strip.left) + 0.5f) / w;
    uv[1] = (top + 0.5f) / h;
    uv[2] = (float(strip.right) + 0.5f) / w;
    uv[3] = (bottom + 0.5f) / h;
    return true;
}

void Ctl3StripDraw(const Ctl3Strip& strip, int frame, float x0, float y0, float x1, float y1,
                   uint32_t argb) {
    float uv[4];
    if (Ctl3StripUv(strip, frame, uv)) {
        Ctl3Set2DStates(strip.slot, argb);
        I3dDrawQuadUv(x0, y0, x1, y1, uv[0], uv[1], uv[2], uv[3], 0);
    } else {
        Ctl3Set2DStates(-1, argb);
        I3dDrawQuad(x0, y0, x1, y1, 0);
    }
}
