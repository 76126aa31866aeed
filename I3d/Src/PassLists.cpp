// The kernel's multi-pass recipes (see I3d/PassLists.h).
#include "I3d/PassLists.h"

#include "engine/Memory.h"

#include <cassert>

static int s_technique = -1;
static I3dShader* s_current = nullptr;

static bool TechniqueValid(int index) {
    return index >= 0 && index < I3D_SHADER_TECHNIQUES;
}

void I3dShaderSetTechnique(int index) {
    assert(TechniqueValid(index) && "a shader technique is 0, 1 or 2");
    if (TechniqueValid(index)) s_technique = index;
}

I3dShader* I3dShaderCreate(int, const char*) {
    auto* shader = static_cast<I3dShader*>(MemAlloc(sizeof(I3dShader)));
    if (!shader) return nullptr;
    *shader = I3dShader{};
    for (uint32_t& word : shader->params)
        word = 0xFFFFFFFFu;
    return shader;
}

int I3dShaderFree(I3dShader* shader) {
    if (!shader) return -1;
    if (s_current == shader) s_current = nullptr;
    MemFree(shader);
    return 0;
}

int I3dShaderAddPass(I3dShader* shader, int technique, I3dShaderPassFn pass) {
    if (!shader || !pass || !TechniqueValid(technique)) return -1;
    int32_t& count = shader->passCount[technique];
    assert(count < I3D_SHADER_MAX_PASSES && "a shader technique holds at most 8 passes");
    if (count >= I3D_SHADER_MAX_PASSES) return -1;
    shader->passes[technique][count++] = pass;
    return 0;
}

int I3dShaderBegin(I3dShader* shader) {
    if (!shader) return -1;
    s_current = shader;
    return TechniqueValid(s_technique) ? shader->passCount[s_technique] : 0;
}

void I3dShaderPass(int i, ...) {
    if (!s_current || !TechniqueValid(s_technique) || i < 0 ||
        i >= s_current->passCount[s_technique])
        return;
    va_list args;
    va_start(args, i);
    s_current->passes[s_technique][i](s_current, args);
    va_end(args);
}

void I3dShaderEnd() {
    s_current = nullptr;
}
