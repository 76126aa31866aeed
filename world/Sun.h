// The sun: a directional kernel light and a camera-facing disc on a sphere of radius 1000 around
// a centre, a screen glare drawn when ENT_MSG_HOOK15 asks while the camera looks into it, and the
// lens flare it makes and keeps shown while it stands above the horizon.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"

#include <cstdint>

class LensFlare;

constexpr float SUN_RADIUS = 1000.0f;
constexpr float SUN_FLARE_ELEVATION = 0.087265f; // 5 degrees: lower, no flare and no glare

class Sun : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Sun"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<Sun>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<Sun>::word = flags; }

    // The defaults, ENT_FLAG_PASSABLE, a directional kernel light when one is free; 0.
    int Create(EntNode* node) override;
    // Makes the lens flare under "VeryLast", else "World", else the root, unless it has one; 1.
    int Start() override;
    // Turns by the rates, places, then lets the glare decay; 0.
    int Update(float seconds) override;
    // Places the sun, then sends the light and shows, moves or hides the flare.
    int VarsChanged() override;
    // The disc (with ENT_CLASS_DRAW); 0.
    int DrawPre() override;
    // The glare (with ENT_CLASS_GLARE); only ENT_MSG_HOOK15 reaches it.
    int Hook15() override;
    // Destroys the flare when it still lives and frees the light when one is held.
    int Destroy() override;

    float TotalAzimuth() const { return azimuth + azimuthOffset; }
    float TotalElevation() const { return elevation + elevationOffset; }
    // The flare while it lives; a flare destroyed by anyone else is forgotten.
    LensFlare* Flare();

    VECTOR3 center = {0.0f, 0.0f, 0.0f};
    float azimuth = 0.0f;
    float elevation = 0.0f;
    float yawRate = 0.0f;
    float pitchRate = 0.0f;
    float scale = 1.0f;
    uint32_t sunColor = 0xFFFFFFFFu;
    float lightColor[3] = {1.0f, 1.0f, 1.0f};
    uint8_t drawHalos = 1;
    uint8_t drawGlare = 1;
    float glareDecayRate = 0.0f;

    float azimuthOffset = 0.0f;
    float elevationOffset = 0.0f;
    int lightOn = 1;
    int light = -1;
    EntRef flare;
    float glare = 0.0f; // 0..255
    // The subtree the glare's line query goes to: nothing sets it, so nothing is ever hit.
    EntNode* querySubtree = nullptr;

  private:
    void TakeLight();
};

// The class textures "SunDisc" and "Glare" (-1 when not loaded).
int EcSunDiscTexture();
int EcSunGlareTexture();

// Class "Sun".
intptr_t EcSunProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
