// The flip-book.
#include "ui/AnimGraphic.h"

#include "I3d/Primitives.h"
#include "engine/FrameClock.h"
#include "engine/PropDb.h"
#include "ui/Ctl3Draw.h"
#include "ui/UiClass.h"

#include <cmath>

int AnimGraphic::Create(EntNode* n) {
    Ctl3Base::Create(n);
    colour = 0xFFFFFFFFu;
    width = 0.1f;
    image.left = 0;
    image.top = 1;
    image.right = 0;
    image.bottom = 1;
    return 1;
}

int AnimGraphic::Start() {
    Ctl3StripLoad(&image);
    VarsChanged();
    return Ctl3Base::Start();
}

int AnimGraphic::Destroy() {
    Ctl3StripRelease(&image);
    return Ctl3Base::Destroy();
}

int AnimGraphic::VarsChanged() {
    rect = {pos.x, pos.y, pos.x + float(image.CellWidth()), pos.y + float(image.CellHeight())};
    return 1;
}

int AnimGraphic::Update(float) {
    // Both are editable: no frames acts as one, and no rate (or a broken one) holds frame 0.
    const int32_t count = frames < 1 ? 1 : frames;
    if (!(rate > 0.0f) || !std::isfinite(rate)) {
        frame = 0;
        frameTimer = 0.0f;
        return 1;
    }
    frameTimer -= g_frameSeconds;
    if (frameTimer < 0.0f) {
        frame = frame + 1 >= count || frame < 0 ? 0 : frame + 1;
        // The overshoot is kept, so each frame lasts 1 / rate however the frame times fall; a
        // hitch longer than a frame starts the period afresh rather than racing to catch up.
        frameTimer += 1.0f / rate;
        if (frameTimer < 0.0f) frameTimer = 1.0f / rate;
    }
    return 1;
}

int AnimGraphic::DrawPre() {
    if (!visible || image.slot < 0) return 1;
    if (!std::isfinite(rect.left) || !std::isfinite(rect.top) || !std::isfinite(rect.right) ||
        !std::isfinite(rect.bottom))
        return 1;
    float uv[4];
    if (!Ctl3StripUv(image, frame, uv)) return 1;
    Ctl3Set2DStates(image.slot, Ctl3FadedColour(this, colour));
    I3dDrawQuadUv(rect.left, rect.top, rect.right, rect.bottom, uv[0], uv[1], uv[2], uv[3], 0);
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "AnimGraphic");
        Ctl3AddNamePos(&s_db);
        PropDbAddStringBlank(&s_db, "textureName", PROP_OFFSET(AnimGraphic, image.textureName),
                             CTL3_TEXTURE_NAME_MAX);
        PropDbAddInt(&s_db, "frames", PROP_OFFSET(AnimGraphic, frames), 1);
        PropDbAddInt(&s_db, "left", PROP_OFFSET(AnimGraphic, image.left), 0);
        PropDbAddInt(&s_db, "right", PROP_OFFSET(AnimGraphic, image.right), 0);
        PropDbAddInt(&s_db, "top", PROP_OFFSET(AnimGraphic, image.top), 1);
        PropDbAddInt(&s_db, "bottom", PROP_OFFSET(AnimGraphic, image.bottom), 1);
    }
    return &s_db;
}

const WorldClassDef kClass = {"AnimGraphic", Db, WorldMake<AnimGraphic>, nullptr};
} // namespace

intptr_t EcAnimGraphicProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
