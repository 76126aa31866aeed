// The images of the value buttons (IncDecButton) and their cells, shared by every screen that
// makes one: a body with the value, and an up and a down arrow filling the upper and lower
// halves of the body's right end.
#pragma once

#include <cstdint>

struct IncDecCell {
    int32_t left, top, right, bottom; // texture pixels, both ends included
};

inline constexpr const char* kIncDecBodyImage = "Menu\\Common\\DataBox.dds";
inline constexpr const char* kIncDecUpImage = "Menu\\Common\\ButtonUpArrow.dds";
inline constexpr const char* kIncDecDownImage = "Menu\\Common\\ButtonDownArrow.dds";
inline constexpr IncDecCell kIncDecBodyCell = {0, 0, 95, 27};
inline constexpr IncDecCell kIncDecArrowCell = {0, 0, 23, 13};
