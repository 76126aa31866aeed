// The extended models' material shaders: "SolidTexture", "TexEnv", "ClrEnv", "DifEmi" and
// "Dif", whose passes read four colour slots and four texture slots that the node drawing fills
// from each material before running them.
#pragma once

#include "I3d/Device.h" // D3DCOLOR
#include "I3d/Math/MathTypes.h"

class Shader;

enum : int {
    MDL3EX_COLOR_AMBIENT = 0,
    MDL3EX_COLOR_DIFFUSE = 1,
    MDL3EX_COLOR_SPECULAR = 2,
    MDL3EX_COLOR_EMISSIVE = 3,
    MDL3EX_COLOR_SLOTS = 4,
};
enum : int {
    MDL3EX_TEX_DIFFUSE = 0,
    MDL3EX_TEX_SPECULAR = 1, // the specular map beside the diffuse map
    MDL3EX_TEX_ENV = 2,
    MDL3EX_TEX_EMISSIVE = 3, // the emissive map beside the diffuse map
    MDL3EX_TEX_SLOTS = 4,
};

// Colour slot i (r, g, b, a); an i outside the slots is ignored (get gives zeros).
void Mdl3ExSetColorSlot(int i, float r, float g, float b, float a);
void Mdl3ExGetColorSlot(int i, float out[4]);
// Texture slot i (a kernel texture slot, -1 none).
void Mdl3ExSetTextureSlot(int i, int slot);
// The distance fade the passes multiply the slots' diffuse and ambient alpha by (1.0); the
// slots keep their own values.
void Mdl3ExSetFade(float fade);
// The texture matrix of the environment passes (the camera's rotation undone).
void Mdl3ExSetEnvMatrix(const Mat4* m);
// The two shared texture-factor colours: 0 white for the single-texture passes, 1 for "DifEmi".
void Mdl3ExSetSharedFactor(int i, D3DCOLOR argb);

// The five shaders, made once and counted by the models; null when none is made.
void Mdl3ExShadersAcquire();
void Mdl3ExShadersRelease();
Shader* Mdl3ExShaderNamed(const char* name);

// The passes.
void Mdl3ExPassSolidTexture();
void Mdl3ExPassTexEnv0();
void Mdl3ExPassTexEnv1();
void Mdl3ExPassClrEnv0();
void Mdl3ExPassClrEnv1();
void Mdl3ExPassDifEmi();
void Mdl3ExPassDif();
