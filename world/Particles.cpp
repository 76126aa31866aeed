// The particle entity's class and its draw.
#include "world/Particles.h"

#include "I3d/SpriteBatch.h"
#include "engine/WorldClass.h"
#include "world/Particles/ParticleSys.h"

namespace {
const WorldClassDef kClass = {"Particles", nullptr, WorldMake<Particles>,
                              WorldClassFlags<Particles>::Reset};
} // namespace

intptr_t EcParticlesProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int Particles::CopyClassName(char* buffer) {
    return WorldCopyClassName("Particles", buffer);
}

int Particles::Create(EntNode*) {
    name[0] = '\0';
    return 1;
}

int Particles::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW)) return 1;
    // Sprites added before the particles draw first, in their own buffers.
    I3dSpriteBatchFlush();
    ParticleSysDrawAll();
    return 1;
}
