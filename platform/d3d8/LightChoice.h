// Which of the device's lights a fixed-function pipeline with few lights shows for one draw.
// GL offers 8 lights where Direct3D offers as many as the caller enables, and GL has no light
// range: a draw takes its directional lights first, then the point and spot lights nearest its
// origin that reach it.
#pragma once

#include "platform/d3d8/DeviceBase.h"

#include <vector>

// At most this many lights are chosen.
inline constexpr int kD3dChosenLightsMax = 8;

// Fills `out` with up to `max` (at most kD3dChosenLightsMax) indices of enabled lights: the
// directional ones in index order, then point and spot lights whose Range reaches `origin`,
// nearest first (ties by index). A light with a non-finite value (a NaN direction) adds
// nothing and is left out. Returns the count.
int D3dChooseLights(const std::vector<D3dLightSlot>& lights, const VECTOR3& origin, int max,
                    DWORD* out);
