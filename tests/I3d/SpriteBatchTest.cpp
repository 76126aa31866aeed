// The sprite batch on the recording layer: what it writes for each sprite, the calls of a flush,
// its limits, and its release and restore around a device reset.
#include "I3d/Math/Mat4Math.h"
#include "I3d/Math/Vec3Ops.h"
#include "tests/I3d/KernelFixture.h"

#include <cmath>

namespace {

using Args = std::vector<uint64_t>;

// Each group's callback leaves its argument as the texture factor, so the log shows when it ran.
void MarkSetup(intptr_t arg) {
    D3dDevice()->SetRenderState(D3DRS_TEXTUREFACTOR, (DWORD)arg);
}

class SpriteBatch : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
    }
    void TearDown() override {
        I3dSpriteBatchDestroy();
        KernelTest::TearDown();
    }
    static int Add(int group, VECTOR3 c, float size = 0.1f, uint32_t colour = 0xFFFFFFFF) {
        return I3dSpriteBatchAdd(group, &c, size, colour);
    }
    int Draws() { return Log().Count("DrawIndexedPrimitive"); }
};

TEST_F(SpriteBatch, EachNonEmptyGroupDrawsOnceAfterItsCallback) {
    ASSERT_EQ(I3dSpriteBatchCreate(3000, 40), 0);
    I3dSpriteBatchSetCull(0);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(I3dSpriteBatchAddGroup(100, MarkSetup, 1000 + i), i);
    EXPECT_EQ(I3dSpriteBatchAddGroup(100, MarkSetup, 0), -1) << "the 41st group";
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(Add(0, {0, 0, float(i)}), 0);
        ASSERT_EQ(Add(2, {1, 0, float(i)}), 0);
    }
    Log().Clear();
    I3dSpriteBatchFlush();
    EXPECT_EQ(Log().Count("SetStreamSource", {0, 1, 36}), 1);
    EXPECT_EQ(Log().Count("SetVertexShader", {0x152}), 1);
    ASSERT_EQ(Draws(), 2) << "groups 0 and 2 hold sprites; the other 38 must make no call";
    for (const D3dCall& d : Log().Named("DrawIndexedPrimitive"))
        EXPECT_EQ(d.args, (Args{D3DPT_TRIANGLELIST, 0, 80, 0, 20}));
    EXPECT_EQ(Log().Count("SetRenderState", {D3DRS_TEXTUREFACTOR}), 2)
        << "an empty group's callback";
    int first = Log().Find("SetRenderState", {D3DRS_TEXTUREFACTOR, 1000});
    int second = Log().Find("SetRenderState", {D3DRS_TEXTUREFACTOR, 1002});
    int draw0 = Log().Find("DrawIndexedPrimitive");
    int draw1 = Log().Find("DrawIndexedPrimitive", {}, draw0 + 1);
    EXPECT_TRUE(first >= 0 && first < draw0 && draw0 < second && second < draw1)
        << "each group's callback runs just before its own draw";
    EXPECT_EQ(I3dSpriteBatchGet()->lastSpriteCount, 20);
    Log().Clear();
    I3dSpriteBatchFlush();
    EXPECT_EQ(Draws(), 0) << "the next frame starts empty";
}

// With the camera yawed and pitched, the corners are the view's right R and up U; culling
// looks at the world point under view x projection alone, whatever world matrix is set.
TEST_F(SpriteBatch, ASpriteIsWrittenAroundItsCentreFacingTheView) {
    const VECTOR3 eye{4, 3, -6}, at{0, 0, 0}, up{0, 1, 0};
    Mat4 view, proj;
    I3dSetView(Mat4LookAt(&view, &eye, &at, &up));
    I3dSetProj(Mat4Perspective(&proj, 1.0f, 0.75f, 0.1f, 100.0f));
    ASSERT_EQ(I3dSpriteBatchCreate(3000, 40), 0); // the first frame takes the view's corners
    I3dSpriteBatchSetCull(0);
    const int g = I3dSpriteBatchAddGroup(10, MarkSetup, 0);
    ASSERT_EQ(Add(g, {0, 0, 0}), 0);
    const VECTOR3 c{8, 6, -12}; // behind the camera: written all the same with cull off
    ASSERT_EQ(Add(g, c, 0.5f, 0x80112233), 0);

    const VECTOR3 r{view.m[0], view.m[4], view.m[8]}, u{view.m[1], view.m[5], view.m[9]};
    const VECTOR3 corners[4] = {v3::Scale(v3::Add(r, u), -1), v3::Sub(u, r), v3::Add(r, u),
                                v3::Sub(r, u)};
    const float uvs[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    const I3dSpriteVertex* v = I3dSpriteBatchGet()->locked + 4;
    for (int i = 0; i < 4; ++i) {
        const VECTOR3 want = v3::Add(c, v3::Scale(corners[i], 0.5f));
        EXPECT_LT(v3::Length(v3::Sub(v[i].pos, want)), 1e-5f) << "corner " << i;
        EXPECT_EQ((std::vector<float>{v[i].normal.x, v[i].normal.y, v[i].normal.z, v[i].u, v[i].v}),
                  (std::vector<float>{1, 1, 1, uvs[i][0], uvs[i][1]}));
        EXPECT_EQ(v[i].colour, 0x80112233u);
    }
    const uint16_t* idx = I3dSpriteBatchGet()->groups[g]->locked;
    EXPECT_EQ((std::vector<uint16_t>(idx, idx + 12)),
              (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));

    I3dSpriteBatchSetCull(1);
    EXPECT_EQ(Add(g, c), -1) << "behind the camera, culled";
    Mat4 away;
    Mat4Identity(&away)->m[12] = 500.0f;
    I3dSetWorld(&away);
    EXPECT_EQ(Add(g, {0, 0, 0}), 0) << "the caller's world matrix moved the sprite out of view";
}

TEST_F(SpriteBatch, RefusalsByAFullGroupStillCountTowardTheFrame) {
    ASSERT_EQ(I3dSpriteBatchCreate(4, 2), 0);
    I3dSpriteBatchSetCull(0);
    const int small = I3dSpriteBatchAddGroup(1, MarkSetup, 0);
    const int large = I3dSpriteBatchAddGroup(50, MarkSetup, 1);
    EXPECT_EQ(Add(small, {0, 0, 1}), 0);
    EXPECT_EQ(Add(small, {0, 0, 1}), -1) << "the group is full";
    EXPECT_EQ(Add(large, {0, 0, 1}), 0);
    EXPECT_EQ(Add(large, {0, 0, 1}), 0);
    EXPECT_EQ(Add(large, {0, 0, 1}), -1) << "the refused sprite used the frame's fourth place";
    Log().Clear();
    I3dSpriteBatchFlush();
    EXPECT_EQ(Log().Named("DrawIndexedPrimitive").at(1).args,
              (Args{D3DPT_TRIANGLELIST, 0, 12, 0, 4}));
}

// Release clears what it releases: a second release (a failed reset tried again) and Destroy
// find nothing left to release, and nothing writes through a released pointer.
TEST_F(SpriteBatch, ReleaseAndRestoreCarryTheGroupsThroughAReset) {
    ASSERT_EQ(I3dSpriteBatchCreate(3000, 40), 0);
    I3dSpriteBatchSetCull(0);
    const int g = I3dSpriteBatchAddGroup(100, MarkSetup, 7);
    ASSERT_EQ(Add(g, {0, 0, 1}), 0);
    D3dTestLoseDevice(D3dDevice());
    I3dSpriteBatchRelease();
    I3dSpriteBatchRelease();
    Log().Clear();
    EXPECT_EQ(Add(g, {0, 0, 1}), -1) << "released: nowhere to write";
    const int late = I3dSpriteBatchAddGroup(10, MarkSetup, 8);
    EXPECT_EQ(Log().Count("CreateIndexBuffer"), 0) << "a default-pool buffer would block the reset";
    I3dSpriteBatchFlush();
    EXPECT_EQ(Draws(), 0);
    ASSERT_EQ(D3dDeviceOk(), 0);
    ASSERT_EQ(D3dDeviceNeedsReset(), 1);
    ASSERT_EQ(D3dReset(), 0) << "the batch still held a default-pool buffer";
    ASSERT_EQ(I3dSpriteBatchRestore(), 0);
    ASSERT_EQ(I3dSpriteBatchRestore(), 0);
    EXPECT_EQ(Log().Count("CreateVertexBuffer"), 1)
        << "a second restore makes only what is missing";
    EXPECT_EQ(Log().Count("CreateIndexBuffer"), 2) << "both groups, the late one included";
    Log().Clear();
    I3dSpriteBatchFlush();
    EXPECT_EQ(Draws(), 0) << "the sprites added before the reset are gone";
    ASSERT_EQ(Add(g, {0, 0, 1}), 0);
    ASSERT_EQ(Add(late, {0, 0, 1}), 0);
    I3dSpriteBatchFlush();
    EXPECT_EQ(Draws(), 2);
    I3dSpriteBatchRelease();
}

TEST_F(SpriteBatch, BadCallsAreRefusedWithoutTouchingTheBatch) {
    const VECTOR3 c{0, 0, 1}, nanCentre{std::nanf(""), 0, 1};
    EXPECT_EQ(I3dSpriteBatchAdd(0, &c, 1, 0), -1) << "before Create";
    EXPECT_EQ(I3dSpriteBatchAddGroup(10, MarkSetup, 0), -1);
    EXPECT_EQ(I3dSpriteBatchFreeGroup(0), -1);
    EXPECT_EQ(I3dSpriteBatchRestore(), -1);
    I3dSpriteBatchFlush();
    EXPECT_EQ(I3dSpriteBatchCreate(16385, 1), -1) << "past what 16-bit indices reach";
    EXPECT_EQ(I3dSpriteBatchCreate(10, 0), -1);
    ASSERT_EQ(I3dSpriteBatchCreate(16384, 4), 0);
    EXPECT_EQ(I3dSpriteBatchCreate(3000, 40), -1);
    EXPECT_EQ(I3dSpriteBatchGet()->maxSprites, 16384) << "a second Create left the batch alone";
    I3dSpriteBatchSetCull(0);
    EXPECT_EQ(I3dSpriteBatchAddGroup(10, nullptr, 0), -1);
    const int g = I3dSpriteBatchAddGroup(10, MarkSetup, 0);
    for (int group : {-1, 1, 4})
        EXPECT_EQ(I3dSpriteBatchAdd(group, &c, 1, 0), -1) << group;
    EXPECT_EQ(I3dSpriteBatchAdd(g, &nanCentre, 1, 0), -1) << "NaN must not reach the device";
    EXPECT_EQ(I3dSpriteBatchAdd(g, &c, std::nanf(""), 0), -1);
    EXPECT_EQ(I3dSpriteBatchFreeGroup(1), -1) << "a free slot";
    EXPECT_EQ(I3dSpriteBatchFreeGroup(g), 0);
    EXPECT_EQ(I3dSpriteBatchAdd(g, &c, 1, 0), -1) << "a freed group";
    I3dSpriteBatchDestroy();
    EXPECT_EQ(I3dSpriteBatchAdd(0, &c, 1, 0), -1) << "after Destroy";
}

} // namespace
