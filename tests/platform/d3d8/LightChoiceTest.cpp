// The per-draw choice of at most 8 lights out of Direct3D's unlimited set.
#include "platform/d3d8/LightChoice.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

D3dLightSlot Light(D3DLIGHTTYPE type, float x, float range = 100.0f, bool enabled = true) {
    D3dLightSlot s{};
    s.light.Type = type;
    s.light.Diffuse = {1, 1, 1, 1};
    s.light.Position = {x, 0, 0};
    s.light.Direction = {0, -1, 0};
    s.light.Range = range;
    s.light.Attenuation0 = 1.0f;
    s.set = true;
    s.enabled = enabled;
    return s;
}

std::vector<DWORD> Choose(const std::vector<D3dLightSlot>& lights, int max, float x = 0.0f) {
    DWORD out[kD3dChosenLightsMax];
    int n = D3dChooseLights(lights, VECTOR3{x, 0, 0}, max, out);
    return std::vector<DWORD>(out, out + n);
}

TEST(LightChoice, DirectionalFirstThenTheNearestThatReachTheOrigin) {
    std::vector<D3dLightSlot> lights = {
        Light(D3DLIGHT_POINT, 5),             // 0
        Light(D3DLIGHT_DIRECTIONAL, 0),       // 1
        Light(D3DLIGHT_POINT, 2),             // 2
        Light(D3DLIGHT_SPOT, -1),             // 3
        Light(D3DLIGHT_POINT, 3, 2.5f),       // 4: beyond its range
        Light(D3DLIGHT_POINT, 1, 100, false), // 5: disabled
        Light(D3DLIGHT_DIRECTIONAL, 0),       // 6
        Light(D3DLIGHT_POINT, -2),            // 7: ties with 2
    };
    lights.push_back(D3dLightSlot{}); // 8: never set
    EXPECT_EQ(Choose(lights, 8), (std::vector<DWORD>{1, 6, 3, 2, 7, 0}));
    EXPECT_EQ(Choose(lights, 4), (std::vector<DWORD>{1, 6, 3, 2}));
    EXPECT_EQ(Choose(lights, 1), (std::vector<DWORD>{1}));
    EXPECT_EQ(Choose(lights, 0), (std::vector<DWORD>{}));
    EXPECT_EQ(Choose(lights, 8, 4.0f), (std::vector<DWORD>{1, 6, 0, 4, 2, 3, 7}))
        << "seen from x = 4, light 4 is in range and ties with light 0";
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Choose(lights, 8, nan), (std::vector<DWORD>{1, 6}))
        << "a NaN origin: no light reaches";
    lights[1].light.Direction.x = nan;
    lights[3].light.Diffuse.g = std::numeric_limits<float>::infinity();
    EXPECT_EQ(Choose(lights, 8), (std::vector<DWORD>{6, 2, 7, 0}))
        << "non-finite lights add nothing";
}

} // namespace
