// The lens flare: eight halos drawn across the screen on the line from the sun through the
// screen centre, fading in while nothing lies between the eye and the sun and out while
// something does. It starts hidden; the sun shows it while it stands above the horizon.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

constexpr int LENS_HALOS = 8;
constexpr float LENS_FADE_RATE = 2.78f; // masterAlpha per second

struct LensHalo {
    int32_t texture; // 0 "Lens Flare 1", 1 "Lens Flare 2"
    uint32_t color;  // unused: the draw takes the flare's "color"
    float size;      // half-size in screen units before the flare size factor
    float axis;      // 1.0 at the sun, 0 at the screen centre, negative beyond it
    float spare;
};

class LensFlare : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "LensFlare"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<LensFlare>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<LensFlare>::word = flags; }

    // The halos, "color" 0xAFFFFFFF, size 1, hidden; 1.
    int Create(EntNode* node) override;
    int Start() override { return Ent3dBase::Start(); }
    // Keeps the frame time for the fade; 0.
    int Update(float seconds) override;
    // Fades and draws the halos (with ENT_CLASS_DRAW, while shown); 0.
    int DrawPre() override;
    // 1 shows the flare (clears ENT_FLAG_HIDDEN), 0 hides it.
    int Hook26(intptr_t word) override;
    // The sun's call: the halos drawn or not.
    void ShowHalos(bool show) { Hook26(show ? 1 : 0); }

    // The halo's texture factor for the fade factor f: "color" with its alpha scaled.
    uint32_t HaloFactor(float f) const;

    uint32_t color = 0xAFFFFFFFu;
    float masterAlpha = 0.0f;
    float flareSize = 1.0f;
    int visible = 0;
    LensHalo halos[LENS_HALOS] = {};
};

// The class textures "Lens Flare 1" and "Lens Flare 2" (-1 when not loaded) and the last frame
// time an update stored.
int EcLensFlareTexture(int which);
float EcLensFlareFrameTime();

// Class "LensFlare".
intptr_t EcLensFlareProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
