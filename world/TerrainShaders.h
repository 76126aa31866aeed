// The terrain's three pass lists: "TerDif" (the base pass), "TerDifDetail" (the detail pass)
// and "TerDifDetailDouble" (the detail pass twice).
#pragma once

struct I3dShader;

enum { TERRAIN_SHADER_BASE = 0, TERRAIN_SHADER_DETAIL = 1, TERRAIN_SHADER_DOUBLE = 2 };

// Makes the three into out[0..2] (a null entry when memory fails).
void TerrainShadersCreate(I3dShader* out[3]);
// Frees and nulls them.
void TerrainShadersFree(I3dShader* shaders[3]);
