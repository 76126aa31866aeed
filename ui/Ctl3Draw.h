// The render states every 2D control draws with. The kernel's quads carry no vertex colour, so a
// control's colour travels in the texture factor.
#pragma once

#include <cstdint>

// Alpha blending, no depth test or write, no lighting, no culling, stage 1 off; stage 0 takes
// the texture times the factor when `slot` is a texture, else the factor alone. The factor is
// `argb`; the slot is bound on stage 0.
void Ctl3Set2DStates(int slot, uint32_t argb);
