// The three-colour stat bar: a background quad and, over it, a bar from the left edge to the
// value's share of the width, green, yellow or red as the value passes two thresholds. The
// caller sets the world, view and projection the rectangle is given in.
#pragma once

#include <cstdint>

struct StatBar3Style {
    // Acquires the shared "SolidColor" shader (kept for the program's life) and sets the
    // defaults below.
    StatBar3Style();

    float left = -1.0f;
    float top = 1.0f;
    float right = 1.0f;
    float bottom = -1.0f;
    float lowThreshold = 0.75f;
    float highThreshold = 0.9f;
    uint32_t background = 0xFF707070;   // grey
    uint32_t lowColour = 0xFF00FF00;    // green
    uint32_t middleColour = 0xFFFFFF00; // yellow
    uint32_t highColour = 0xFFFF0000;   // red
    float value = 0.5f;                 // not clamped: above 1 the bar runs past the right edge
};

// Background then bar, each through the solid-colour pass at z 1.0. The bar is the high colour
// above the high threshold, the middle colour above the low one, else the low colour; a value
// that is not a number draws the background only.
void StatBar3Draw(const StatBar3Style* style);
