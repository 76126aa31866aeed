// Shaders, the shader list and the per-draw parameter block (see I3d/Shader.h).
#include "I3d/Shader.h"

#include "I3d/Device.h"

#include <cassert>
#include <new>

static constexpr ShaderParamsBlock ResetParams() {
    ShaderParamsBlock block{};
    for (Mat4& m : block.matrices)
        m = Mat4{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    for (uint32_t& w : block.words)
        w = 0xFFFFFFFFu;
    return block;
}

ShaderParamsBlock ShaderParams = ResetParams();
static SharedObj* s_shaders = nullptr;

void ShaderParamsReset() {
    ShaderParams = ResetParams();
}

SharedObj** ShaderList() {
    return &s_shaders;
}

Shader::Shader() {
    ShaderParamsReset();
    SharedObjLink(this, &s_shaders);
}

void Shader::SetPassFunc(int i, ShaderPassFn fn) {
    assert(i >= 0 && i < SHADER_MAX_PASSES && "a shader has passes 0 to 7");
    if (i < 0 || i >= SHADER_MAX_PASSES) return;
    passes[i] = fn;
    passCount = i + 1;
}

void Shader::CallPass(int i) {
    if (i >= 0 && i < passCount && passes[i]) passes[i]();
}

bool Shader::Validate() {
    for (int i = 0; i < passCount; ++i)
        if (!D3dValidateDevice()) return false;
    return true;
}

Shader* ShaderSolidColorAcquire() {
    if (SharedObj* found = SharedObjAcquire("SolidColor", s_shaders))
        return static_cast<Shader*>(found);
    Shader* shader = new (std::nothrow) Shader();
    if (!shader) return nullptr;
    shader->SetName("SolidColor");
    shader->SetPassFunc(0, ShaderSolidColorPass);
    shader->Validate(); // as the game does: asked once, the answer not acted on
    return shader;
}
