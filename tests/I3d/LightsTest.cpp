// The kernel's light table on the recording layer: what each setter stores and sends, the
// table's limits, restoring after a reset and the software shading of a normal.
#include "tests/I3d/KernelFixture.h"

#include <cstring>
#include <limits>

namespace {

class Lights : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        StartRecordingDevice();
    }
    // The light the device holds now.
    static D3DLIGHT8 OnDevice(int light) {
        D3DLIGHT8 l{};
        EXPECT_EQ(D3dDevice()->GetLight((DWORD)light, &l), D3D_OK) << "light " << light;
        return l;
    }
};

TEST_F(Lights, NewLightsAreWhitePointLightsUntilTheTableIsFull) {
    ASSERT_EQ(I3dLightAlloc(), 0);
    D3DLIGHT8 l = OnDevice(0);
    EXPECT_EQ(l.Type, (D3DLIGHTTYPE)D3DLIGHT_POINT);
    EXPECT_EQ(l.Diffuse.b, 1.0f);
    EXPECT_EQ(l.Position.x, 0.0f);
    EXPECT_EQ(l.Range, 10000.0f);
    EXPECT_LT(Log().Find("SetLight", {0}), Log().Find("LightEnable", {0, 1}))
        << "the light is sent, then enabled";
    for (int i = 1; i < 50; ++i)
        ASSERT_EQ(I3dLightAlloc(), i);
    EXPECT_EQ(I3dLightAlloc(), -1) << "the 51st allocation";
    I3dLightSetDiffuse(7, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(I3dLightFree(7), D3D_OK);
    EXPECT_EQ(Log().Count("LightEnable", {7, 0}), 1);
    EXPECT_EQ(I3dLightAlloc(), 7);
    EXPECT_EQ(OnDevice(7).Diffuse.r, 1.0f) << "a record taken again starts from the defaults";
}

TEST_F(Lights, SettersReachTheDevice) {
    int light = I3dLightAlloc();
    auto attenuation = [&](float a0, float a1, float a2, const char* what) {
        D3DLIGHT8 l = OnDevice(light);
        EXPECT_FLOAT_EQ(l.Attenuation0, a0) << what;
        EXPECT_FLOAT_EQ(l.Attenuation1, a1) << what;
        EXPECT_FLOAT_EQ(l.Attenuation2, a2) << what;
    };
    I3dLightSetRange(light, 100.0f);
    attenuation(0, 0, 0.001f, "the range alone: 10 / range^2");
    I3dLightSetAttenuation(light, 1);
    attenuation(1, 0, 0.001f, "mode 1");
    I3dLightSetAttenuation(light, 0);
    attenuation(1, 0, 0, "mode 0: constant up to the range");
    I3dLightSetSpotAngle(light, 0.4f);
    I3dLightSetSpecular(light, 0.5f, 0.25f, 0.125f);
    I3dLightSetDirection(light, 0, -1, 0);
    D3DLIGHT8 l = OnDevice(light);
    EXPECT_FLOAT_EQ(l.Phi, 0.6f) << "1.5 x theta";
    EXPECT_EQ(l.Falloff, 1.0f);
    EXPECT_EQ(l.Specular.g, 0.25f);
    EXPECT_EQ(l.Specular.a, 0.0f) << "a set colour's alpha is 0";
    EXPECT_EQ(l.Direction.y, -1.0f);
    for (auto [type, want] : {std::pair{2, D3DLIGHT_SPOT}, std::pair{3, D3DLIGHT_DIRECTIONAL},
                              std::pair{7, D3DLIGHT_POINT}}) {
        I3dLightSetType(light, type);
        EXPECT_EQ(OnDevice(light).Type, (D3DLIGHTTYPE)want) << "type " << type;
        EXPECT_EQ(I3dLightGet(light)->type, type) << "the record keeps the value as passed";
    }
    I3dLightAlloc();
    I3dLightAlloc();
    I3dLightEnable(1, 0);
    Log().Clear();
    I3dLightsRestore();
    EXPECT_EQ(Log().Count("SetLight"), 2) << "restoring sends only the enabled lights";
    EXPECT_EQ(Log().Count("LightEnable", {1}), 0);
    EXPECT_EQ(Log().Count("LightEnable", {2, 1}), 1);
}

// I3dLightAlloc answers -1 when the table is full; a caller passing it on must not write
// before the table.
TEST_F(Lights, IndicesOutsideTheTableChangeNothing) {
    I3dLightAlloc();
    const D3DLIGHT8 before = *I3dLightMirror(0);
    for (int bad : {-1, 50}) {
        SCOPED_TRACE(bad);
        EXPECT_DEBUG_DEATH(EXPECT_EQ(I3dLightEnable(bad, 1), -1), "outside the table");
        EXPECT_DEBUG_DEATH(EXPECT_EQ(I3dLightFree(bad), -1), "outside the table");
        EXPECT_DEBUG_DEATH(I3dLightSetType(bad, 3), "outside the table");
        EXPECT_DEBUG_DEATH(I3dLightSetDiffuse(bad, 0, 0, 0), "outside the table");
        EXPECT_DEBUG_DEATH(I3dLightSetPosition(bad, 9, 9, 9), "outside the table");
        EXPECT_DEBUG_DEATH(I3dLightSetRange(bad, 1), "outside the table");
        EXPECT_DEBUG_DEATH(I3dLightSetAttenuation(bad, 0), "outside the table");
        EXPECT_DEBUG_DEATH(I3dLightSetSpotAngle(bad, 1), "outside the table");
    }
    EXPECT_EQ(Log().Count("SetLight"), 1) << "only the allocation reached the device";
    EXPECT_EQ(std::memcmp(&before, I3dLightMirror(0), sizeof before), 0);
}

TEST_F(Lights, ShadingANormalAddsTheDirectionalLightsToTheAmbient) {
    float rgb[3];
    const VECTOR3 up = {0, 1, 0}, slanted = {0.6f, 0.8f, 0}, down = {0, -1, 0};
    D3dSetAmbient(0.25f, 0.5f, 0.0f);
    int sun = I3dLightAlloc();
    I3dLightSetType(sun, 3);
    I3dLightSetDirection(sun, 0, -1, 0);
    I3dLightSetPosition(I3dLightAlloc(), 0, 5, 0); // a point light plays no part
    I3dLightShadeNormal(rgb, nullptr, &up);
    EXPECT_FLOAT_EQ(rgb[0], 1.0f) << "0.25 + 1.0, clamped";
    EXPECT_FLOAT_EQ(rgb[2], 1.0f);
    I3dLightSetDiffuse(sun, 0.5f, 0.25f, 0.0f);
    I3dLightShadeNormal(rgb, nullptr, &slanted);
    EXPECT_FLOAT_EQ(rgb[0], 0.25f + 0.8f * 0.5f);
    EXPECT_FLOAT_EQ(rgb[1], 0.5f + 0.8f * 0.25f);
    I3dLightShadeNormal(rgb, nullptr, &down);
    EXPECT_FLOAT_EQ(rgb[0], 0.25f) << "a light from behind adds nothing";
    I3dLightSetDirection(sun, std::numeric_limits<float>::quiet_NaN(), 0, 0);
    I3dLightShadeNormal(rgb, nullptr, &up);
    EXPECT_FLOAT_EQ(rgb[1], 0.5f) << "a NaN direction adds nothing";
}

} // namespace
