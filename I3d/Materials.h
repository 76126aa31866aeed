// Materials at two levels: the one device material, changed one component at a time (every
// change sends the whole material; not cached), and model materials applied in one call with
// their colours, blend and test states, cull mode and a texture-stage recipe chosen by the maps
// they have.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "platform/d3d8/D3d8Types.h"

// ---- the device material ----
HRESULT D3dSetMaterialDiffuse(const float rgba[4]);
HRESULT D3dSetMaterialAmbient(const float rgba[4]);
HRESULT D3dSetMaterialSpecular(const float rgba[4]);
HRESULT D3dSetMaterialEmissive(const float rgba[4]);
HRESULT D3dSetMaterialPower(float power);
// All five at once, sent once.
HRESULT D3dSetMaterial(const D3DMATERIAL8* material);
// The kept material, as last sent.
void D3dGetMaterial(D3DMATERIAL8* out);
// Sends the kept material again (a reset returns the device's material to black).
HRESULT D3dResendMaterial();

// ---- model materials ----
// The run-time form of a model's material record. The model loader maps the file's record onto
// it (the file never holds the texture-matrix pointer). A slot of -1 means no map.
struct MDL3MTRL {
    char name[32];
    float ambient[4]; // r, g, b, a
    float diffuse[4];
    float specular[4];
    float emissive[4];
    float shininess;
    int32_t doubleSided;
    int32_t reflective;
    char diffuseMap[32]; // texture names, not necessarily terminated
    int32_t diffuseSlot;
    char bumpMap[32]; // the second map: DOT3 bump
    int32_t bumpSlot;
    float bumpTile[2];  // u, v
    char detailMap[32]; // the third map: signed-add detail
    int32_t detailSlot;
    float detailTile[2];
    const Mat4* texMatrix; // animated diffuse coordinates, or null; the caller's matrix
};

// Multiplies the diffuse and ambient alpha of every material applied (1.0).
void I3dSetMaterialFade(float fade);
// The environment cube map reflective materials show (-1 = none).
void I3dSetEnvMapTexture(int slot);
int I3dGetEnvMapTexture();
// Applies m unless it is the material applied last; null does nothing.
void I3dSetMaterial(const MDL3MTRL* m);
// Whenever other code may have changed the states a material sets.
void I3dForgetMaterial();
// Colours (alpha faded), states, cull mode and texture recipe of m; null does nothing. m's
// stored colours are not changed.
void I3dApplyMaterial(const MDL3MTRL* m);
void I3dMaterialSetTexMatrix(MDL3MTRL* m, const Mat4* texMatrix);
// Loads each named map as folder + name, shared under its file title; an empty name or a
// missing file leaves the slot -1 and the material still applies. 0, or -1 for a null material.
int I3dMaterialLoadTextures(MDL3MTRL* m, const char* folder);
// Releases each map the material holds and sets its slot to -1.
void I3dMaterialFreeTextures(MDL3MTRL* m);

// The texture factor the DOT3 recipe packs: the bump light direction taken into object space
// by the inverse world matrix as a direction, normalised, 127 x + 128 per channel.
D3DCOLOR I3dBumpLightFactor();

// The material values at kernel start: fade 1.0, no environment map, nothing applied.
void I3dMaterialDefaults();
