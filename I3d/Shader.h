// Shaders: named, shared recipes of fixed-function render states, up to 8 passes each, a pass
// being a plain function that sets the states of one drawing pass. The values that change per
// draw sit in one global block, ShaderParams, that the caller fills before the passes run:
//   fill ShaderParams; n = NumPasses(); for each i < n: CallPass(i), draw; EndPass().
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/SharedObj.h"

using ShaderPassFn = void (*)();

constexpr int SHADER_MAX_PASSES = 8;

// Word 0: the colour (ARGB) passes use as the texture factor; word 8: the texture slot passes
// bind to stage 0. The other words and the matrices belong to the passes that use them.
struct ShaderParamsBlock {
    Mat4 matrices[8];
    uint32_t words[16];
};
extern ShaderParamsBlock ShaderParams;
// Matrices to identity, words to all bits set (colour opaque white, no texture).
void ShaderParamsReset();

// Every shader made, most recent first (found by name with SharedObjFind).
SharedObj** ShaderList();

class Shader : public SharedObj {
  public:
    // No name and no passes; resets ShaderParams and links the shader into the list.
    Shader();
    ~Shader() override = default;

    // Pass i is the function and the pass count becomes i + 1 (passes are set in rising
    // order). An i outside 0..7 is refused (an assertion in debug builds).
    void SetPassFunc(int i, ShaderPassFn fn);
    int NumPasses() const { return passCount; }
    // Runs pass i; nothing for an i outside the passes or an empty pass.
    void CallPass(int i);
    // The end of the passes: no state changes.
    void EndPass() {}
    // Asks the device to validate once per pass, without applying the pass first: false at the
    // first refusal, true when all pass or there are none.
    bool Validate();

    int32_t passCount = 0;
    ShaderPassFn passes[SHADER_MAX_PASSES] = {};
};

// The shared "SolidColor" shader (a flat, untextured, blended colour): made on the first
// acquisition, counted by every later one; nothing releases it before the program ends. Null
// only when memory fails.
Shader* ShaderSolidColorAcquire();
// The solid-colour pass: blended, unlit, no depth test or write, stage 0 selecting the texture
// factor (word 0) for colour and alpha.
void ShaderSolidColorPass();
// The lit texture pass: lit with a white material, depth-tested and written, blended, the
// texture in word 8 on stage 0 (a negative word 8 clears the stage) modulated by the lit
// colour, the alpha of word 0.
void ShaderLitTexturePass();
