// A control image: frames of one cell stacked downwards in a texture, each one cell height below
// the previous, with uv values at texel centres.
#pragma once

#include <cstdint>

enum { CTL3_TEXTURE_NAME_MAX = 260 };

struct Ctl3Strip {
    char textureName[CTL3_TEXTURE_NAME_MAX + 1] = {};
    int32_t left = 0, top = 0, right = 0, bottom = 0; // the first frame, in texture pixels
    int32_t slot = -1;

    int32_t CellWidth() const { return right - left + 1; }
    int32_t CellHeight() const { return bottom - top + 1; }
};

// Releases what the strip holds, then loads its texture from the data folder; the slot or -1.
int Ctl3StripLoad(Ctl3Strip* strip);
void Ctl3StripRelease(Ctl3Strip* strip);
// The uv rectangle (left, top, right, bottom) of a frame; false without a texture.
bool Ctl3StripUv(const Ctl3Strip& strip, int frame, float uv[4]);
// Draws a frame over the rectangle, tinted by argb; an untextured quad without a texture.
void Ctl3StripDraw(const Ctl3Strip& strip, int frame, float x0, float y0, float x1, float y1,
                   uint32_t argb);
