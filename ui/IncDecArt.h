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
// The boxes are drawn wider than the body's image (stretched): at its 96 units a value and its
// unit ("100 Tickets ", "99-to-1 Odds") were cut or drawn too small to read.
inline constexpr float kIncDecBoxWidth = 132.0f;
// How far past the box's right end and its top and bottom edges a click still reaches it.
inline constexpr float kIncDecArrowMarginX = 10.0f;
inline constexpr float kIncDecArrowMarginY = 1.0f;
