// The sound entity: a positioned looping sound, one shared sound buffer played through one
// emitter. The emitter starts and stops itself as the listener comes within or leaves its far
// distance; the entity only feeds it.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/Sound/SndEmitter.h"
#include "engine/WorldClass.h"

#include <cstdint>

class SndBuffer;

class EntSound : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Sound"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<EntSound>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<EntSound>::word = flags; }
    // The table defaults with maxDist 200 and minDist 4; ENT_FLAG_PASSABLE; 0.
    int Create(EntNode* node) override;
    // Loads "soundFile" afresh; an emitter only when it loads; then VarsChanged. 0.
    int Start() override;
    // Gain, range and position into the emitter, when there is one; 1.
    int VarsChanged() override;
    // The near and far ranges as translucent debug spheres; 1.
    int Draw() override;
    int Destroy() override;

    char soundFile[261] = {};
    uint8_t eEnable = 1; // stored and loaded; nothing derives from it
    float volume = 1.0f;
    float maxDist = 200.0f;
    float minDist = 4.0f;

    SndBuffer* buffer = nullptr;
    SndEmitter* emitter = nullptr;

  protected:
    void ReleaseSound();
};

// Class "Sound".
intptr_t EcSoundProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
// The debug spheres' render states and the two spheres, for the sound classes.
void SoundDrawRanges(const VECTOR3* pos, float minDist, float maxDist);
