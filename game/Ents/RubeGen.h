// The patron generator: while the day runs it makes a patron under itself every "delay" seconds,
// up to a maximum that follows how happy the departing patrons were, at one of its spawn points
// (children of class RubeSpawnPt) or at its own position.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"

#include <cstdint>
#include <vector>

struct MtGameRubeGenLinks;

class RubeGen : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "RubeGen"; }
    uint32_t GetClassFlags() override;
    void SetClassFlags(uint32_t word) override;
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int OnEntityRemoved(ENTBASE* gone) override;
    int Update(float seconds) override;
    int Draw() override;

    // ---- properties ----
    float delay = 5.0f;
    int32_t max = 100;

    // ---- fields ----
    int32_t ceiling = 0;
    int32_t baseRubes = 0;
    int32_t created = 0;
    int32_t present = 0;
    int32_t spawnPoints = 0;
    float spawnTimer = 0.0f;
    float averageHappiness = 0.0f;
    EntRef game;
    // The spawn points among the children, in order: found again only when a spawn point was
    // made, moved, renamed or destroyed (the class's change count), not at every arrival.
    std::vector<EntNode*> spawnCache;
    uint64_t spawnStamp = UINT64_MAX;
};

// Class "RubeGen".
intptr_t EcRubeGenProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
// The game object's generator links, which the application installs (MtGameSetRubeGenLinks).
const MtGameRubeGenLinks* RubeGenLinks();

// A random spawn point's position, or the generator's own; true when a spawn point was used.
bool RubeGenSpawnPosition(RubeGen* generator, VECTOR3* out);
// delay -= amount x the venue's delayTimer, held in 1..10 s; nothing without a venue.
void RubeGenAdjustDelay(RubeGen* generator, float amount);
// The day's marketing extras: the maximum rises by `extra`, no higher than the ceiling.
void RubeGenAddExtra(RubeGen* generator, int extra);
// A patron left with `happiness`: one fewer present, and the maximum follows.
void RubeGenDeparture(RubeGen* generator, float happiness);
