// The slide show: counting the series, holding, cross-fading and swapping slides, and the
// two-stage blend that draws a fade in one pass.
#include "ui/Ctl3SlideShow.h"

#include "I3d/Primitives.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/Files.h"
#include "engine/FrameClock.h"
#include "engine/PropDb.h"
#include "ui/Ctl3Draw.h"
#include "ui/UiClass.h"

#include <cmath>
#include <cstdio>

namespace {
// The longest base name that is formatted: the field's 260 characters less one, as the series
// were always named within a 260-byte buffer.
constexpr int kBaseNameMax = CTL3_TEXTURE_NAME_MAX - 1;
constexpr float kLongestFrame = 1.0f; // longer frames are pauses, not time the show runs

// "<data folder><base><index>.dds"; the base name is cut and the whole name bounded.
void SlideName(const char* base, int index, char (&out)[1024]) {
    std::snprintf(out, sizeof out, "%s%.*s%02i.dds", Ctl3DataFolder(), kBaseNameMax, base, index);
}
} // namespace

int Ctl3SlideShow::Create(EntNode* n) {
    Ctl3Base::Create(n);
    colour = 0xFFFFFFFFu;
    width = 0.1f;
    return 1;
}

int Ctl3SlideShow::CountFrames() const {
    if (!textureName[0]) return 0;
    char path[1024];
    for (int i = 0; i < SLIDESHOW_MAX_FRAMES; ++i) {
        SlideName(textureName, i, path);
        if (!FileExists(path)) return i;
    }
    return SLIDESHOW_MAX_FRAMES;
}

Ctl3Rect Ctl3SlideShow::Layout() const {
    const float x = pos.x, y = pos.y;
    if (horizAlign == 1)
        return {x - width / 2, y - height / 2, x + width / 2 - 1, y + height / 2 - 1};
    return {x, y, x + width, y + height};
}

int Ctl3SlideShow::VarsChanged() {
    rect = Layout();
    frameCount = CountFrames();
    return 1;
}

int Ctl3SlideShow::LoadNext() {
    // With no frames there is no index to wrap: nothing is loaded.
    if (frameCount <= 0) return -1;
    if (nextIndex < 0 || nextIndex >= frameCount) nextIndex = 0;
    char path[1024];
    SlideName(textureName, nextIndex, path);
    nextIndex = (nextIndex + 1) % frameCount;
    // The counted file itself: a name with a dot in its title still finds its ".dds".
    return I3dTexLoad(path, nullptr, 1);
}

void Ctl3SlideShow::ReleaseSlides() {
    if (currentSlot >= 0) I3dTexRelease(currentSlot);
    if (nextSlot >= 0) I3dTexRelease(nextSlot);
    currentSlot = nextSlot = -1;
}

int Ctl3SlideShow::Start() {
    ReleaseSlides();
    VarsChanged();
    nextIndex = 0;
    currentSlot = LoadNext();
    nextSlot = LoadNext();
    fading = 0;
    showTimer = holdTime;
    blend = 0.0f;
    return Ctl3Base::Start();
}

int Ctl3SlideShow::Destroy() {
    ReleaseSlides();
    return Ctl3Base::Destroy();
}

// Synchronous: the next slide loads here, and the frame that swaps pays for it.
void Ctl3SlideShow::Swap() {
    showTimer = holdTime;
    if (currentSlot >= 0) I3dTexRelease(currentSlot);
    currentSlot = nextSlot;
    nextSlot = LoadNext();
}

int Ctl3SlideShow::Update(float seconds) {
    float dt = g_frameSeconds;
    if (!(dt >= 0.0f && dt <= kLongestFrame)) dt = 0.0f; // pauses, and NaN
    if (frameCount > 0) {
        showTimer -= dt;
        if (fading) {
            // A fade time a script set to 0 mid-fade ends the fade rather than divide by it.
            if (showTimer > 0.0f && fadeTime > 0.0f) {
                blend = 1.0f - showTimer / fadeTime;
                blend = blend < 0.0f ? 0.0f : blend > 1.0f ? 1.0f : blend;
            } else {
                fading = 0;
                blend = 0.0f;
                Swap();
            }
        } else if (!(showTimer > 0.0f)) {
            blend = 0.0f;
            if (fadeTime > 0.0f) {
                showTimer = fadeTime;
                fading = 1;
            } else {
                Swap();
            }
        }
    }
    return Ctl3Base::Update(seconds);
}

int Ctl3SlideShow::DrawPre() {
    if (!visible || frameCount <= 0) return 1;
    const I3dTexSlot* tex = currentSlot >= 0 ? I3dTexGetSlot(currentSlot) : nullptr;
    if (!tex || tex->width <= 0 || tex->height <= 0) return 1;
    const Ctl3Rect r = Layout();
    if (!(width > 0.0f) || !(height > 0.0f) || !std::isfinite(r.left) || !std::isfinite(r.top) ||
        !std::isfinite(r.right) || !std::isfinite(r.bottom))
        return 1;
    // The field is public: whatever was written, the factor's alpha stays a byte.
    const float weight = blend > 0.0f ? (blend < 1.0f ? blend : 1.0f) : 0.0f;
    const uint32_t factorAlpha = uint32_t(float(colour >> 24) * weight);
    Ctl3Set2DStates(currentSlot, (colour & 0x00FFFFFFu) | factorAlpha << 24);
    D3dSetColorOp(0, D3DTOP_SELECTARG1);
    D3dSetAlphaOp(0, D3DTOP_SELECTARG1);
    const bool twoStages = nextSlot >= 0;
    if (twoStages) {
        // next x factor alpha + current x (1 - factor alpha), from the quad's one uv pair.
        D3dSetTexture(1, nextSlot);
        D3dSetTexCoordIndex(1, 0);
        D3dSetColorOp(1, D3DTOP_BLENDFACTORALPHA);
        D3dSetColorArg1(1, D3DTA_TEXTURE);
        D3dSetColorArg2(1, D3DTA_CURRENT);
        D3dSetAlphaOp(1, D3DTOP_BLENDFACTORALPHA);
        D3dSetAlphaArg1(1, D3DTA_TEXTURE);
        D3dSetAlphaArg2(1, D3DTA_CURRENT);
        D3dSetColorOp(2, D3DTOP_DISABLE);
        D3dSetAlphaOp(2, D3DTOP_DISABLE);
    }
    const float du = 0.5f / float(tex->width), dv = 0.5f / float(tex->height);
    I3dDrawQuadUv(r.left, r.top, r.right, r.bottom, uv.left + du, uv.top + dv, uv.right + du,
                  uv.bottom + dv, 0);
    if (twoStages) {
        // Whatever draws next with stage 0 alone must not blend in this slide.
        D3dSetColorOp(1, D3DTOP_DISABLE);
        D3dSetAlphaOp(1, D3DTOP_DISABLE);
    }
    return 1;
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Ctl3Slideshow");
        Ctl3AddNamePos(&s_db);
        PropDbAddFloat(&s_db, "height", PROP_OFFSET(Ctl3SlideShow, height), 0.1f);
        PropDbAddFloat(&s_db, "width", PROP_OFFSET(Ctl3SlideShow, width), 0.1f);
        PropDbAddStringBlank(&s_db, "textureName", PROP_OFFSET(Ctl3SlideShow, textureName),
                             CTL3_TEXTURE_NAME_MAX);
        // The whole slide unless told otherwise: 0 to 1 both ways.
        PropDbAddFloat(&s_db, "uv.left", PROP_OFFSET(Ctl3SlideShow, uv.left), 0.0f);
        PropDbAddFloat(&s_db, "uv.top", PROP_OFFSET(Ctl3SlideShow, uv.top), 0.0f);
        PropDbAddFloat(&s_db, "uv.right", PROP_OFFSET(Ctl3SlideShow, uv.right), 1.0f);
        PropDbAddFloat(&s_db, "uv.bottom", PROP_OFFSET(Ctl3SlideShow, uv.bottom), 1.0f);
        PropDbAddFloat(&s_db, "fadeTime", PROP_OFFSET(Ctl3SlideShow, fadeTime), 0.0f);
        PropDbAddFloat(&s_db, "holdTime", PROP_OFFSET(Ctl3SlideShow, holdTime), 0.0f);
        PropDbAddInt(&s_db, "hAlign", PROP_OFFSET(Ctl3SlideShow, horizAlign), 0);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Ctl3Slideshow", Db, WorldMake<Ctl3SlideShow>, nullptr};
} // namespace

intptr_t EcCtl3SlideshowProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
