// The static graphic.
#include "ui/StaticGraphic.h"

#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/FrameClock.h"
#include "engine/PropDb.h"
#include "ui/Ctl3Draw.h"
#include "ui/UiClass.h"

#include <cmath>

namespace {
constexpr float kFlashPulse = 12.566368f; // one swell over the quarter second of a flash
}

int StaticGraphic::Create(EntNode* n) {
    Ctl3Base::Create(n);
    colour = 0xFFFFFFFFu;
    width = 0.1f;
    return 1;
}

int StaticGraphic::Start() {
    if (slot >= 0) I3dTexRelease(slot);
    textureName[CTL3_TEXTURE_NAME_MAX] = 0;
    slot = Ctl3LoadTexture(textureName);
    VarsChanged();
    return Ctl3Base::Start();
}

int StaticGraphic::Destroy() {
    if (slot >= 0) I3dTexRelease(slot);
    slot = -1;
    return Ctl3Base::Destroy();
}

Ctl3Rect StaticGraphic::Layout() const {
    const float x = pos.x, y = pos.y;
    if (horizAlign == 1)
        return {x - width / 2, y - height / 2, x + width / 2 - 1, y + height / 2 - 1};
    return {x, y, x + width, y + height};
}

int StaticGraphic::VarsChanged() {
    rect = Layout();
    return 1;
}

int StaticGraphic::Update(float) {
    // A NaN lifetime counts as none: the control stays.
    if (lifetime > 0.0f) {
        lifetime -= g_frameSeconds;
        if (!(lifetime > 0.0f)) {
            Destroy(); // frees this
            return 0;
        }
    }
    if (flashTimer >= 0.0f) flashTimer -= g_frameSeconds;
    return 1;
}

float StaticGraphic::AlphaFactor() {
    float factor = fadeWithParent ? Ctl3ParentAlpha(this) : 1.0f;
    // Without a fade-out period (0, negative) the picture stays opaque to its end.
    if (lifetime > 0.0f && fadeOutPeriod > 0.0f) factor *= lifetime / fadeOutPeriod;
    if (!(factor > 0.0f)) return 0.0f;
    return factor > 1.0f ? 1.0f : factor;
}

int StaticGraphic::DrawPre() {
    if (!visible) return 1;
    Ctl3Rect r = Layout();
    // A size of 0 or below draws nothing rather than a mirrored quad: a negative size is a
    // broken value, not a picture turned over.
    if (!(width > 0.0f) || !(height > 0.0f) || !std::isfinite(r.left) || !std::isfinite(r.top) ||
        !std::isfinite(r.right) || !std::isfinite(r.bottom))
        return 1;
    if (flashTimer >= 0.0f) {
        const float d = std::sin(flashTimer * kFlashPulse) * flashAmplitude;
        if (std::isfinite(d)) r = {r.left - d, r.top - d, r.right + d, r.bottom + d};
    }
    const float alpha = float(colour >> 24) * AlphaFactor();
    const uint32_t argb = (colour & 0x00FFFFFFu) | (uint32_t(alpha) << 24);

    const I3dTexSlot* tex = slot >= 0 ? I3dTexGetSlot(slot) : nullptr;
    if (!tex || tex->width <= 0 || tex->height <= 0) {
        Ctl3Set2DStates(-1, argb);
        I3dDrawQuad(r.left, r.top, r.right, r.bottom, 0);
        return 1;
    }
    Ctl3Set2DStates(slot, argb);
    // The colour comes from the texture alone; the factor's alpha still fades it.
    if (!modulate) D3dSetColorOp(0, D3DTOP_SELECTARG1);
    const float du = 0.5f / float(tex->width), dv = 0.5f / float(tex->height);
    I3dDrawQuadUv(r.left, r.top, r.right, r.bottom, uv.left + du, uv.top + dv, uv.right + du,
                  uv.bottom + dv, 0);
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "StaticGraphic");
        Ctl3AddNamePos(&s_db);
        PropDbAddFloat(&s_db, "height", PROP_OFFSET(StaticGraphic, height), 0.1f);
        PropDbAddFloat(&s_db, "width", PROP_OFFSET(StaticGraphic, width), 0.1f);
        PropDbAddStringBlank(&s_db, "textureName", PROP_OFFSET(StaticGraphic, textureName),
                             CTL3_TEXTURE_NAME_MAX);
        // The whole picture unless told otherwise: a rectangle of 0 to 1 both ways.
        PropDbAddFloat(&s_db, "uv.left", PROP_OFFSET(StaticGraphic, uv.left), 0.0f);
        PropDbAddFloat(&s_db, "uv.top", PROP_OFFSET(StaticGraphic, uv.top), 0.0f);
        PropDbAddFloat(&s_db, "uv.right", PROP_OFFSET(StaticGraphic, uv.right), 1.0f);
        PropDbAddFloat(&s_db, "uv.bottom", PROP_OFFSET(StaticGraphic, uv.bottom), 1.0f);
        PropDbAddFloat(&s_db, "fadeOutPeriod", PROP_OFFSET(StaticGraphic, fadeOutPeriod), 0.0f);
        PropDbAddInt(&s_db, "hAlign", PROP_OFFSET(StaticGraphic, horizAlign), 0);
    }
    return &s_db;
}

const WorldClassDef kClass = {"StaticGraphic", Db, WorldMake<StaticGraphic>, nullptr};
} // namespace

intptr_t EcStaticGraphicProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
