// The particle spray: a fountain of camera-facing sprites emitted from a point or a square, at a
// rate, within a cone; each particle falls under gravity and moves from its initial colour and
// size to its final ones. Every spray owns one sprite-batch group; the "Particles" entity flushes
// the batch once per frame. A spray with an emitting time, or one shut down, stops emitting, lets
// its particles die and then destroys itself.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

constexpr int SPRAY_MAX_PARTICLES = 500;

struct SprayParticle {
    VECTOR3 pos;
    float life; // seconds remaining
    float size;
    float sizeRate;
    float r, g, b, a;
    float rateR, rateG, rateB, rateA;
    VECTOR3 vel;
    SprayParticle* next;
};

struct SprayPool {
    int group = -1; // the sprite group, -1 without one
    int additive = 0;
    int texture = -1;
    int count = 0;
    SprayParticle* records = nullptr;
    SprayParticle* live = nullptr;
    SprayParticle* free = nullptr;
};

// Four floats r, g, b, a, as the value table's colour entries lay them out.
struct SprayColor {
    float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;
};

class ParticleSpray : public Ent3dBase {
  public:
    ~ParticleSpray() override;
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<ParticleSpray>::word; }
    const char* GetTypeName() override { return "ParticleSpray"; }
    // The table defaults, "visDist" 400, "radius" 0, no pool, visible; 1.
    int Create(EntNode* node) override;
    // Pool, group, texture and state from the values; 1.
    int Start() override;
    // Stops emitting: the spray goes once its particles have died; -1.
    int Shutdown() override;
    // The pool and its group; then the entity goes. -1.
    int Destroy() override;
    // Emits, steps the pool and grows the box; a stopped spray without particles destroys
    // itself. 1.
    int Update(float seconds) override;
    // One sprite per live particle when the box is in view and near enough; 1, else 0.
    int DrawPre() override;
    // The debug sphere and the world box; 1.
    int Draw() override;
    // Emission direction and blending from the values; 1.
    int VarsChanged() override;
    void SetPos(const VECTOR3* p) override;
    void SetYaw(float yaw) override;
    float GetYaw() override { return yaw; }
    int Spare2(intptr_t word) override; // "radius" from the word's float bits; 1
    int BoundsQuery(EntBoundsQuery*) override { return 1; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<ParticleSpray>::word = flags; }
    void SetPosXYZ(float x, float y, float z) override;
    void SetPitch(float pitch) override;
    float GetPitch() override { return pitch; }

    // Appended operations.
    // Spawns "rate" particles a second over dt, carrying the fraction to the next call.
    virtual void SprayEmit(float dt);
    // One particle at `at` (or in the square around the spray when "radius" is positive).
    virtual void SpraySpawn(const VECTOR3* at);

    // Moves the live particles on by dt; the number left alive.
    int StepPool(float dt);

    // ---- the value table's fields ----
    int32_t maxParticles = 0;
    float radius = 0.0f;
    float pitch = 0.0f;
    float yaw = 0.0f;
    float rate = 0.0f;
    float theta = 0.0f;
    float lifeSpan = 0.0f;
    VECTOR3 gravity = {0.0f, 0.0f, 0.0f};
    char textureFile[261] = "!";
    float activeMin = 0.0f, activeMax = 0.0f, inactiveMin = 0.0f, inactiveMax = 0.0f;
    float lifeSpanMin = 0.0f, lifeSpanMax = 0.0f;
    float sizeInitial = 0.0f, sizeFinal = 0.0f, sizeVar = 0.0f;
    float speedMin = 0.0f, speedMax = 0.0f;
    SprayColor colorInitial, colorFinal, colorVar;
    uint32_t destBlend = 0;
    float visDist = 400.0f;

    // ---- run-time state ----
    SprayPool pool;
    int state = 2; // 0 emitting with a time limit, 1 stopping, 2 emitting forever
    float remaining = 0.0f;
    int visible = 1;
    VECTOR3 direction = {0.0f, 1.0f, 0.0f};
    float carry = 0.0f;
    bool lifeWarned = false;

  private:
    void FreePool();
};

// Class "ParticleSpray".
intptr_t EcParticleSprayProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
