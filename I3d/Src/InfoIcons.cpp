// The info-icon sheet and the icons' countdown and drawing (see I3d/InfoIcon.h).
#include "I3d/InfoIcon.h"

#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "I3d/Frustum.h"
#include "I3d/Math/Mat4Math.h"
#include "I3d/Primitives.h"
#include "I3d/Src/Kernel.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
#include "engine/DebugLog.h"
#include "engine/MathConst.h"

#include <cmath>

static int s_sheet = -1;
static int s_refs = 0;

// ---- the sheet ----

void InfoIconsAcquire(const char* textureName) {
    ++s_refs;
    if (!textureName || s_sheet >= 0) return;
    s_sheet = I3dTexLoad(textureName, nullptr, 1);
    if (s_sheet < 0)
        DbgPrintf(DBG_RENDER, "InfoIconsAcquire: no sheet \"%s\": icons stay undrawn\n",
                  textureName);
}

void InfoIconsRelease() {
    if (s_refs <= 0) return;
    if (--s_refs == 0 && s_sheet >= 0) {
        I3dTexRelease(s_sheet);
        s_sheet = -1;
    }
}

int InfoIconsSheet() {
    return s_sheet;
}

// ---- icons ----

InfoIcon::InfoIcon() {
    InfoIconsAcquire(nullptr);
}

InfoIcon::~InfoIcon() {
    InfoIconsRelease();
}

// 0..255; anything else (NaN included) is held at the nearer end.
static uint32_t AlphaByte(float a) {
    if (!(a > 0.0f)) return 0;
    return a >= 255.0f ? 255u : (uint32_t)a;
}

static void SetIconStates(uint32_t colour) {
    D3dSetAlphaTest(1);
    D3dSetAlphaRef(2);
    D3dSetAlphaFunc(D3DCMP_GREATER);
    D3dSetZWrite(1);
    D3dSetZFunc(D3DCMP_LESSEQUAL);
    D3dSetCullMode(D3DCULL_NONE);
    D3dSetFillMode(D3DFILL_SOLID);
    D3dSetLighting(0);
    D3dSetAlphaBlend(1);
    D3dSetSrcBlend(D3DBLEND_SRCALPHA);
    D3dSetDestBlend(D3DBLEND_INVSRCALPHA);
    D3dSetTextureFactorStages();
    D3dSetTexture(0, s_sheet);
    D3dSetTextureFactor(colour);
}

void InfoIcon::UpdateDraw(float dt) {
    if (cell < 0 || cell >= INFOICON_CELLS || std::isnan(dt)) return;
    uint32_t alpha = 255;
    if (duration >= 0.0f) {
        timeLeft -= dt;
        elapsed += dt;
        // A duration of 0 has nothing to fade over.
        if (!(timeLeft > 0.0f) || duration == 0.0f) {
            cell = -1;
            duration = -1.0f;
            return;
        }
        alpha = AlphaByte(blink ? 255.0f * std::fabs(std::cos(elapsed * 4.0f * kPi6))
                                : 255.0f * timeLeft / duration);
    }
    if (s_sheet < 0 || !D3dDevice() || !std::isfinite(size)) return;

    // Owners draw their icon after themselves: their world matrix must not move the icon.
    Mat4 identity;
    Mat4Identity(&identity);
    I3dSetWorld(&identity);
    float screen[3];
    I3dProjectPoint(&position, screen);
    const float x = screen[0], y = screen[1];
    if (!(x >= -1.0f && x <= 1.0f && y >= -1.0f && y <= 1.0f && screen[2] >= 0.0f)) return;

    Mat4 view, proj;
    I3dGetViewMatrix(&view);
    I3dGetProjMatrix(&proj);
    I3dSetView(&identity);
    I3dSetProj(&identity);
    SetIconStates(alpha << 24 | 0x00FFFFFFu);
    float uv[4];
    if (!InfoIconsCellUv(cell, uv)) return;
    const float aspect = I3dGetAspect();
    // The first corner is the lower edge on screen: it takes the cell's lower v so that the
    // picture stands upright.
    I3dDrawQuadUv(x - size, y - size * aspect, x + size, y + size * aspect, uv[0], uv[3], uv[2],
                  uv[1], 0.0f);
    I3dSetView(&view);
    I3dSetProj(&proj);
}

bool InfoIconsCellUv(int32_t cell, float out[4]) {
    if (cell < 0 || cell >= INFOICON_CELLS || !out) return false;
    const int column = cell / 4, row = cell % 4;
    out[0] = (float)column / 8.0f;
    out[1] = (float)row / 4.0f;
    out[2] = (float)(column + 1) / 8.0f;
    out[3] = (float)(row + 1) / 4.0f;
    return true;
}
