// The three-colour stat bar (see I3d/StatBar.h).
#include "I3d/StatBar.h"

#include "I3d/Primitives.h"
#include "I3d/Shader.h"

#include <cmath>

static_assert(sizeof(StatBar3Style) == 11 * 4, "the style is eleven words");

StatBar3Style::StatBar3Style() {
    ShaderSolidColorAcquire();
}

static uint32_t BarColour(const StatBar3Style* style) {
    if (style->value > style->highThreshold) return style->highColour;
    if (style->value > style->lowThreshold) return style->middleColour;
    return style->lowColour;
}

void StatBar3Draw(const StatBar3Style* style) {
    auto* shader = static_cast<Shader*>(SharedObjFind("SolidColor", *ShaderList()));
    if (!style || !shader) return;
    ShaderParams.words[0] = style->background;
    shader->CallPass(0);
    I3dDrawQuad(style->left, style->top, style->right, style->bottom, 1.0f);
    if (std::isfinite(style->value)) {
        ShaderParams.words[0] = BarColour(style);
        shader->CallPass(0);
        I3dDrawQuad(style->left, style->top,
                    style->left + (style->right - style->left) * style->value, style->bottom, 1.0f);
    }
    shader->EndPass();
}
