// Particle systems and the particle entity on the recording layer: sharing by name, the shared
// buffers and their index pattern, the default cells, what one draw writes and issues, the
// capacity limit, release, device loss and reset, and the entity's order of drawing.
#include "I3d/Math/Mat4Math.h"
#include "I3d/SpriteBatch.h"
#include "tests/I3d/KernelFixture.h"
#include "tests/world/WorldTestClasses.h"
#include "world/Particles.h"
#include "world/Particles/ParticleSys.h"

#include <cstring>

namespace {

class ParticleTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
        ASSERT_EQ(I3dTexTableAlloc(16), 0);
        Mat4 identity;
        I3dSetView(Mat4Identity(&identity));
    }
    void TearDown() override {
        for (ParticleSys* s : m_systems)
            SharedObjRelease(s);
        EntSystemShutdown();
        I3dSpriteBatchDestroy();
        I3dTexTableFree();
        KernelTest::TearDown();
    }
    ParticleSys* Acquire(const char* file, int capacity) {
        ParticleSys* s = ParticleSysAcquire(file, capacity);
        if (s) m_systems.push_back(s);
        return s;
    }
    void Release(ParticleSys* s) {
        std::erase(m_systems, s);
        SharedObjRelease(s);
    }
    static void Put(ParticleSys* s, VECTOR3 pos, float size, uint8_t used, uint8_t cell = 0) {
        Particle* p = s->Add();
        ASSERT_NE(p, nullptr);
        p->pos = pos;
        p->size = size;
        p->colour = 0xFF336699u;
        p->cell = cell;
        p->used = used;
    }
    // Bytes of a device buffer read back through a lock.
    template <class T, class Buffer>
    static std::vector<T> Contents(Buffer* buffer, size_t n) {
        BYTE* data = nullptr;
        std::vector<T> out(n);
        if (buffer->Lock(0, 0, &data, D3DLOCK_READONLY) != D3D_OK) return {};
        std::memcpy(out.data(), data, n * sizeof(T));
        buffer->Unlock();
        return out;
    }
    // The quad pattern over the first `quads` quads of the shared index buffer.
    static bool QuadPattern(int quads) {
        const auto idx = Contents<uint16_t>(ParticleSysIndexBuffer()->buffer, (size_t)quads * 6);
        if (idx.empty()) return false;
        for (int q = 0; q < quads; ++q) {
            const int v = 4 * q;
            const int want[6] = {v, v + 1, v + 2, v, v + 2, v + 3};
            for (int i = 0; i < 6; ++i)
                if (idx[6 * q + i] != want[i]) return false;
        }
        return true;
    }
    struct Vertex {
        float x, y, z;
        uint32_t colour;
        float u, v;
    };

    std::vector<ParticleSys*> m_systems;
};

TEST_F(ParticleTest, SystemsAreSharedByTitleAndSizeTheSharedBuffers) {
    ParticleSys* a = Acquire("Textures\\Particles.tga", 400);
    ParticleSys* again = Acquire("Other/particles", 400);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(again, a) << "systems are shared by the texture file's title";
    EXPECT_EQ(a->refCount, 2);
    EXPECT_EQ(ParticleSysSharedCapacity(), 800);
    EXPECT_EQ(ParticleSysVertexBuffer()->capacity, 3200);
    EXPECT_EQ(ParticleSysVertexBuffer()->format, 37);
    EXPECT_EQ(ParticleSysIndexBuffer()->capacity, 4800);
    EXPECT_TRUE(QuadPattern(800));
    const ParticleCell want[5] = {{0, 0, 0.25f, 0.25f},
                                  {0.25f, 0, 0.5f, 0.25f},
                                  {0.5f, 0, 0.75f, 0.25f},
                                  {0.75f, 0, 0.99f, 0.25f},
                                  {0, 0.25f, 0.125f, 0.375f}};
    EXPECT_EQ(std::memcmp(a->cells, want, sizeof want), 0) << "the default atlas cells 0 to 4";

    ParticleSys* big = Acquire("Smoke.tga", 800);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(ParticleSysSharedCapacity(), 1600) << "a larger system remakes the buffers at once";
    EXPECT_EQ(ParticleSysVertexBuffer()->capacity, 6400);
    EXPECT_EQ(ParticleSysIndexBuffer()->capacity, 9600);
    EXPECT_TRUE(QuadPattern(1600));
    EXPECT_EQ(ParticleSysFirst(), big) << "the newest system comes first";
    EXPECT_EQ(a->texture, -1) << "no such texture file";
    const int slot = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "smoke", 0);
    ASSERT_GE(slot, 0);
    big->SetTexture(slot);

    Release(a);
    Release(a);
    EXPECT_EQ(ParticleSysLiveCount(), 1);
    EXPECT_NE(ParticleSysDefaultShader(), nullptr);
    Release(big);
    EXPECT_EQ(ParticleSysLiveCount(), 0);
    EXPECT_EQ(ParticleSysSharedCapacity(), 0);
    EXPECT_EQ(ParticleSysVertexBuffer(), nullptr);
    EXPECT_EQ(ParticleSysIndexBuffer(), nullptr);
    EXPECT_EQ(ParticleSysDefaultShader(), nullptr);
    EXPECT_EQ(I3dTexGetSlot(slot)->count, 0) << "the system's texture goes with it";
    EXPECT_EQ(SharedObjFind("ParticleBasic", *ShaderList()), nullptr)
        << "the last release frees the default shader";
}

TEST_F(ParticleTest, SettingTheHeldTextureAgainKeepsOneReference) {
    ParticleSys* s = Acquire("Spark.tga", 10);
    ASSERT_NE(s, nullptr);
    const int slot = D3dTexCreate(4, 4, I3DTEX_A8R8G8B8, 1, "spark", 0);
    ASSERT_GE(slot, 0);
    s->SetTexture(slot);
    s->SetTexture(I3dTexLoad("Spark.tga", nullptr, 1)); // the shared load finds the same slot
    ASSERT_EQ(s->texture, slot);
    EXPECT_EQ(I3dTexGetSlot(slot)->count, 1) << "the second reference would hold the slot for ever";
    Release(s);
    EXPECT_EQ(I3dTexGetSlot(slot)->count, 0);
}

// 16-bit indices reach 4 x 16384 vertices; more would wrap and draw garbage.
TEST_F(ParticleTest, CapacityIsLimitedTo16BitIndices) {
    EXPECT_EQ(Acquire("Big.tga", 9000), nullptr);
    EXPECT_EQ(Acquire("Negative.tga", -1), nullptr);
    EXPECT_NE(LogText().find("ParticleSysAcquire(Big.tga, 9000)"), std::string::npos);
    EXPECT_EQ(ParticleSysLiveCount(), 0);
    ParticleSys* most = Acquire("Most.tga", PARTICLE_CAPACITY_MAX);
    ASSERT_NE(most, nullptr);
    EXPECT_EQ(ParticleSysVertexBuffer()->capacity, 65536);
    ParticleSys* none = Acquire("None.tga", 0);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->Add(), nullptr) << "a system of capacity 0 holds nothing";
    Log().Clear();
    none->count = 3; // effect code that ignored the capacity
    none->Draw();
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0);

    // An overfilled count must not send the draw past the records (AddressSanitizer watches).
    ParticleSys* two = Acquire("Two.tga", 2);
    Put(two, VECTOR3{0, 0, 0}, 1.0f, 1);
    Put(two, VECTOR3{0, 0, 0}, 1.0f, 1);
    EXPECT_EQ(two->Add(), nullptr);
    two->count = 50;
    two->showAll = 1;
    two->Draw();
    EXPECT_EQ(two->drawn, 2);
}

TEST_F(ParticleTest, DrawWritesUsedParticlesFacingTheCamera) {
    ParticleSys* s = Acquire("Sparks.tga", 4);
    ASSERT_NE(s, nullptr);
    Put(s, VECTOR3{10, 20, 30}, 2.0f, 1, 1);
    Put(s, VECTOR3{0, 0, 0}, 1.0f, 0);
    Put(s, VECTOR3{0, 0, 0}, 1.0f, 1, 200); // a cell past the table draws with cell 0
    Log().Clear();
    s->Draw();
    EXPECT_EQ(s->drawn, 2) << "the unused particle is skipped";
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive", {D3DPT_TRIANGLELIST, 0, 8, 0, 4}), 1);
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_DESTBLEND, D3DBLEND_ONE}), 1) << "additive";

    // Identity view: right (1, 0, 0), up (0, 1, 0).
    const auto v = Contents<Vertex>(ParticleSysVertexBuffer()->buffer, 8);
    const float corners[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
    const float uv[4][2] = {{0.25f, 0}, {0.5f, 0}, {0.5f, 0.25f}, {0.25f, 0.25f}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(v[k].x == 10 + 2 * corners[k][0] && v[k].y == 20 + 2 * corners[k][1] &&
                    v[k].z == 30 && v[k].colour == 0xFF336699u)
            << "corner " << k;
        EXPECT_TRUE(v[k].u == uv[k][0] && v[k].v == uv[k][1]) << "cell 1, corner " << k;
        EXPECT_TRUE(v[4 + k].u == (k == 1 || k == 2 ? 0.25f : 0.0f)) << "cell 0, corner " << k;
    }

    s->showAll = 1;
    s->Draw();
    EXPECT_EQ(s->drawn, 3) << "show all draws every added particle";
    s->count = 0;
    Log().Clear();
    s->Draw();
    EXPECT_EQ(Log().Count("VbLock") + Log().Count("DrawIndexedPrimitive"), 0);
}

TEST_F(ParticleTest, EntityFlushesSpritesThenDrawsNewestFirstAndEmpties) {
    RegisterWorldTestClasses();
    EntClass* cls = EntClassFind("Particles");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->proc(nullptr, 0, 0, 0, 0), 0) << "no property table";
    auto* e = Make<Particles>("Particles", nullptr, "Ignored");
    EXPECT_STREQ(e->GetName(), "Ignored");
    EXPECT_EQ(e->classDb, nullptr);

    ASSERT_EQ(I3dSpriteBatchCreate(16, 2), 0);
    I3dSpriteBatchSetCull(0);
    const int group = I3dSpriteBatchAddGroup(
        16, [](intptr_t) {}, 0);
    ASSERT_GE(group, 0);
    const VECTOR3 centre = {0, 0, 0};
    ASSERT_EQ(I3dSpriteBatchAdd(group, &centre, 1.0f, 0xFFFFFFFFu), 0);

    ParticleSys* older = Acquire("Older.tga", 8);
    ParticleSys* newer = Acquire("Newer.tga", 8);
    Put(older, VECTOR3{0, 0, 0}, 1.0f, 1);
    Put(older, VECTOR3{0, 0, 0}, 1.0f, 1);
    Put(newer, VECTOR3{0, 0, 0}, 1.0f, 1);

    e->SetClassFlags(0x1F & ~0x2u);
    Log().Clear();
    EntTreeDrawPre(e);
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive"), 0) << "bit 0x2 clear: nothing draws";
    EXPECT_EQ(older->count, 2);

    e->SetClassFlags(0x1F);
    Log().Clear();
    EntTreeDrawPre(e);
    std::vector<D3dCall> draws = Log().Named("DrawIndexedPrimitive");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].args[4], 2u) << "the sprite batch is flushed first";
    EXPECT_EQ(draws[1].args[4], 2u) << "then the newest system (one particle)";
    EXPECT_EQ(draws[2].args[4], 4u) << "then the older one (two particles)";
    EXPECT_EQ(older->count + newer->count, 0) << "every system is emptied after the draw";
    EntDestroyTree(e);
}

TEST_F(ParticleTest, DeviceLossReleasesAndResetRemakesTheBuffers) {
    ParticleSys* s = Acquire("Sparks.tga", 100);
    ASSERT_NE(s, nullptr);
    IDirect3DDevice8* dev = D3dDevice();
    D3dTestLoseDevice(dev);
    ASSERT_EQ(D3dDeviceNeedsReset(), 0);
    ASSERT_EQ(D3dDeviceNeedsReset(), 1);
    ParticleSysDeviceLost();
    EXPECT_EQ(ParticleSysVertexBuffer(), nullptr);
    s->Draw(); // nothing to draw with, and no fault
    ASSERT_EQ(D3dReset(), 0) << "a particle buffer still held by the device blocks the reset";
    I3dResetBufferSelection();
    I3dResetStateCache();
    ParticleSysDeviceReset();
    EXPECT_EQ(ParticleSysSharedCapacity(), 200);
    ASSERT_NE(ParticleSysVertexBuffer(), nullptr);
    EXPECT_EQ(ParticleSysVertexBuffer()->capacity, 800);
    EXPECT_TRUE(QuadPattern(200));
    Put(s, VECTOR3{0, 0, 0}, 1.0f, 1);
    Log().Clear();
    ParticleSysDrawAll();
    EXPECT_EQ(Log().Count("DrawIndexedPrimitive", {D3DPT_TRIANGLELIST, 0, 4, 0, 2}), 1);
}

} // namespace
