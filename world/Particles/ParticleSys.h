// Particle systems: camera-facing textured quads, collected per frame by systems shared by
// texture name and drawn all at once by the "Particles" entity. All systems share one dynamic
// vertex buffer and one index buffer sized for twice the largest capacity asked for.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/SharedObj.h"

#include <cstdint>

class Shader;
struct I3dVertexBuffer;
struct I3dIndexBuffer;

// 16-bit indices reach 65536 vertices: 4 per particle for twice this capacity.
constexpr int PARTICLE_CAPACITY_MAX = 8192;
constexpr int PARTICLE_CELLS = 16;

struct Particle {
    VECTOR3 pos;
    float size;
    uint32_t colour; // ARGB
    uint8_t cell;    // atlas cell; one beyond the cells draws with cell 0
    uint8_t spare0;
    uint8_t used; // only used particles are drawn
    uint8_t spare1;
};

struct ParticleCell {
    float uMin, vMin, uMax, vMax;
};

class ParticleSys : public SharedObj {
  public:
    // A system of `capacity` records; the shared buffers grow to fit it. Use ParticleSysAcquire.
    explicit ParticleSys(int capacity);
    // The last release: the records and the texture go, and with the last system the shared
    // shader and buffers.
    ~ParticleSys() override;

    // Cells outside 0..15 are ignored.
    void SetCell(int index, float uMin, float vMin, float uMax, float vMax);
    // The system takes over the caller's reference to the slot; the old one is released.
    void SetTexture(int slot);
    // Loads the texture, shared by its file title; the slot or -1.
    int LoadTexture(const char* file);
    void MarkAllUsed();
    // The next record, or null when the system is full; the caller fills it and sets `used`.
    Particle* Add();
    // Writes the used particles of this frame and draws them with the system's shader.
    void Draw();

    Shader* shader = nullptr; // null: the shared "ParticleBasic"
    int32_t capacity = 0;
    int32_t count = 0; // added this frame; the draw empties it
    int32_t drawn = 0; // written in the last draw
    ParticleCell cells[PARTICLE_CELLS] = {};
    int32_t texture = -1;
    uint8_t showAll = 0; // draw every added particle, used or not
    Particle* particles = nullptr;
    VECTOR3 corners[4] = {};
};

// The system named by the file's title, one reference more; or a new one with the texture
// loaded and the default cells. Null, with a log line, for a capacity below 0 or above
// PARTICLE_CAPACITY_MAX, or when memory fails. Released through SharedObjRelease.
ParticleSys* ParticleSysAcquire(const char* textureFile, int capacity);

// Draws every system, newest first, and empties it.
void ParticleSysDrawAll();
// Around a device reset: the shared buffers go, then come back for the same shared capacity.
void ParticleSysDeviceLost();
void ParticleSysDeviceReset();

// The shared state, for the entity, tests and tools.
SharedObj* ParticleSysFirst(); // newest first, through `next`
int ParticleSysLiveCount();
int ParticleSysSharedCapacity(); // K: twice the largest capacity asked for, 0 without systems
I3dVertexBuffer* ParticleSysVertexBuffer();
I3dIndexBuffer* ParticleSysIndexBuffer();
Shader* ParticleSysDefaultShader();
// The pass of "ParticleBasic": additive, unlit, depth-tested without depth writes.
void ParticleBasicPass();
