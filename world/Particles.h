// The particle entity: marks the place in a drawn subtree where every particle system is drawn
// and emptied, once per frame, in the first walk.
#pragma once

#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/WorldClass.h"

#include <cstdint>

class Particles : public ENTBASE {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Particles"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<Particles>::word; }
    // The class-wide word; the first walk draws only while ENT_CLASS_DRAW is set.
    void SetClassFlags(uint32_t flags) { WorldClassFlags<Particles>::word = flags; }
    int Create(EntNode* node) override; // empties the name; 1
    // The sprite batch first, then every system, newest first; 1.
    int DrawPre() override;
};

// Class "Particles": no property table.
intptr_t EcParticlesProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
