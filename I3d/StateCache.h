// The render-state cache: every render state and texture-stage state of the system is set
// through these, and a value equal to the one last sent costs one comparison. It also keeps the
// clear values and the float colours packed colours are made from.
#pragma once

#include "platform/d3d8/D3d8Types.h"

// ---- render states (D3DRS_ numbers in the comments) ----
void D3dSetZEnable(DWORD value);         // 7
void D3dSetZWrite(DWORD value);          // 14
void D3dSetZFunc(DWORD value);           // 23
void D3dSetZBias(DWORD value);           // 47
void D3dSetAlphaTest(DWORD value);       // 15
void D3dSetAlphaRef(DWORD value);        // 24
void D3dSetAlphaFunc(DWORD value);       // 25
void D3dSetAlphaBlend(DWORD value);      // 27
void D3dSetSrcBlend(DWORD value);        // 19
void D3dSetDestBlend(DWORD value);       // 20
void D3dSetTextureFactor(D3DCOLOR argb); // 60
void D3dSetLighting(DWORD value);        // 137
void D3dSetSpecular(DWORD value);        // 29
void D3dSetFillMode(DWORD value);        // 8
void D3dSetCullMode(DWORD value);        // 22
void D3dSetFogEnable(DWORD value);       // 28
// On a change: FOGVERTEXMODE (140) = NONE first, then FOGTABLEMODE (35) = mode.
void D3dSetFogMode(DWORD mode);
void D3dSetFogStart(float start);               // 36, compared as floats
void D3dSetFogEnd(float end);                   // 37, compared as floats
void D3dSetFogColor(float r, float g, float b); // 34, packed
void D3dSetFogColorArgb(D3DCOLOR argb);         // 34, the same cached word
void D3dSetAmbient(float r, float g, float b);  // 139, packed
void D3dSetAmbientMaterialSource(DWORD value);  // 147
void D3dSetDiffuseMaterialSource(DWORD value);  // 145
void D3dSetSpecularMaterialSource(DWORD value); // 146
void D3dSetEmissiveMaterialSource(DWORD value); // 148

// ---- texture-stage states: stage 0..7 (D3DTSS_ numbers in the comments) ----
void D3dSetMinFilter(int stage, DWORD value);         // 17
void D3dSetMagFilter(int stage, DWORD value);         // 16
void D3dSetAddressU(int stage, DWORD value);          // 13
void D3dSetAddressV(int stage, DWORD value);          // 14
void D3dSetColorOp(int stage, DWORD value);           // 1
void D3dSetColorArg1(int stage, DWORD value);         // 2
void D3dSetColorArg2(int stage, DWORD value);         // 3
void D3dSetAlphaOp(int stage, DWORD value);           // 4
void D3dSetAlphaArg1(int stage, DWORD value);         // 5
void D3dSetAlphaArg2(int stage, DWORD value);         // 6
void D3dSetTexCoordIndex(int stage, DWORD value);     // 11
void D3dSetTexTransformFlags(int stage, DWORD value); // 24

// ---- state groups the game sets together ----

// Blending by source alpha (SRCALPHA, INVSRCALPHA), pixels of alpha 2 or less dropped (alpha
// test GREATER than 2): how everything see-through is drawn.
void D3dSetAlphaBlendDefaults();
// Stage 0 selects the texture factor as colour and alpha, stage 1 is off: a flat colour.
void D3dSetFactorStages();
// Stage 0 multiplies the texture by the vertex colour, colour and alpha; stage 1 is off: textured
// quads tinted per vertex.
void D3dSetTextureDiffuseStages();
// Stage 0 multiplies the texture by the texture factor, colour and alpha; stage 1 is off: one
// tint (and fade) for a whole draw.
void D3dSetTextureFactorStages();

// ---- values kept for D3dClear, never sent as states ----
void D3dSetClearColor(float r, float g, float b);
void D3dSetClearZ(float z);
void D3dSetClearStencil(DWORD stencil);
D3DCOLOR D3dGetClearColor();
float D3dGetClearZ();
DWORD D3dGetClearStencil();

// Marks everything as not yet sent, so each first request afterwards reaches the device; the
// ambient colour counts as black, the device's own default after a reset.
void I3dResetStateCache();

// 0xFF000000 | r << 16 | g << 8 | b, each channel the float x 255 truncated and held in 0..255
// (NaN counts as 0).
D3DCOLOR D3dPackColor(float r, float g, float b);

// The ambient colour last given to D3dSetAmbient, held in 0..1 (the lights' software shading
// starts from it).
void D3dGetAmbient(float rgb[3]);
// The value last sent for a render state, so a caller can put it back after a draw; 0 when
// nothing has been sent since the last reset (or the state is outside the table).
DWORD D3dGetRenderState(D3DRENDERSTATETYPE state);

// ---- the stage records' bound textures, kept by the texture slots ----
// Texture slot bound on a stage as far as the cache knows; -1 for none or not known,
// D3D_STAGE_EMPTY when the stage was cleared.
constexpr int D3D_STAGE_EMPTY = -2;
int D3dStageTexture(int stage);
void D3dStageSetTexture(int stage, int slot);
// Every stage that holds the slot forgets it (the slot was freed).
void D3dStagesForgetSlot(int slot);
// Every stage forgets its texture (a new device binds nothing).
void D3dStagesForgetTextures();
