// The time of day: a fraction of a day that its own clock advances (the game object writes the
// game clock into it in play), turned every update into lighting by blending six key frames and
// pushed into the entities named "Sun", "SkyDome" and "Environment".
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"

#include <cstdint>

constexpr int TOD_KEYS = 6; // key frames 0..5; record 6 is the copy of key 0 the search wraps to

// Time (fraction of a day), ambient r, g, b, light r, g, b, fog r, g, b, sun scale.
struct TodKey {
    float time;
    float ambient[3];
    float light[3];
    float fog[3];
    float sunScale;
};

// The blended lighting of one time.
struct TodBlend {
    int prev, next; // the records blended
    float factor;   // 0 gives prev's values
    float ambient[3];
    float light[3];
    float fog[3];
    float sunScale;
};

class EntTimeOfDay : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "TimeOfDay"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<EntTimeOfDay>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<EntTimeOfDay>::word = flags; }

    // The table defaults, time scale 1, then the day's six key frames; 0.
    int Create(EntNode* node) override;
    // Finds "Sun", "SkyDome" and "Environment" from the root; 0.
    int Start() override;
    // Advances the clock unless paused, then applies; 1.
    int Update(float seconds) override;
    // Applies the lighting of the current time; 1.
    int VarsChanged() override;
    // Tells the tree first, so that the game object forgets its cached pointer.
    int Destroy() override;

    // The time the blend uses: wrapped into 0..1 (1.0 itself kept), NaN and infinities 0.5.
    float BlendTime() const;
    // The key frames blended at t (a time in 0..1).
    TodBlend Blend(float t) const;

    float time = 0.5f;
    float timeScale = 1.0f;
    uint8_t paused = 0;
    TodKey keys[TOD_KEYS + 1] = {};
    EntRef sun, skyDome, environment;
};

// Truncates a colour product toward zero into a byte: above 255 is 255, below 0 (and NaN) 0.
uint8_t TodByte(float value);

// Class "TimeOfDay".
intptr_t EcTimeOfDayProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
