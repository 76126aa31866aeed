// I3dShader: a small multi-pass recipe of three techniques, each an ordered list of at most 8
// pass callbacks. One kernel-wide technique index chooses the list every shader runs (the
// terrain sets 0); until it is set no shader has passes.
#pragma once

#include <cstdarg>
#include <cstdint>

struct I3dShader;
// A pass: sets the render states of one drawing pass. It gets the shader and the further
// arguments its caller gave I3dShaderPass.
using I3dShaderPassFn = void (*)(I3dShader* shader, va_list args);

constexpr int I3D_SHADER_TECHNIQUES = 3;
constexpr int I3D_SHADER_MAX_PASSES = 8;

struct I3dShader {
    I3dShaderPassFn passes[I3D_SHADER_TECHNIQUES][I3D_SHADER_MAX_PASSES];
    int32_t passCount[I3D_SHADER_TECHNIQUES];
    uint32_t params[8]; // parameter words, initially all bits set
    intptr_t user;
};

// Refuses (an assertion in debug builds) an index outside 0..2, keeping the previous one.
void I3dShaderSetTechnique(int index);
// A zeroed shader with every parameter word set; the arguments are not stored. Null when
// memory fails.
I3dShader* I3dShaderCreate(int techniques, const char* name);
// 0; -1 for null. The current shader stops being current.
int I3dShaderFree(I3dShader* shader);
// Appends a pass to that technique's list. 0; -1 for a null shader or callback, a technique
// outside 0..2, or a full list (an assertion in debug builds).
int I3dShaderAddPass(I3dShader* shader, int technique, I3dShaderPassFn pass);
// Makes the shader current; the pass count of the selected technique, 0 while no technique is
// selected, -1 for null.
int I3dShaderBegin(I3dShader* shader);
// Calls pass i of the current shader's selected technique with the further arguments; nothing
// without a current shader or for i outside its passes.
void I3dShaderPass(int i, ...);
// No shader is current.
void I3dShaderEnd();
