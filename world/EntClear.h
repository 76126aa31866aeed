// A screen clear placed in a draw tree: while its class draws, it clears the whole target, depth
// and stencil to its colour, so whatever is drawn after it starts afresh.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

class EntClear : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<EntClear>::word; }
    const char* GetTypeName() override { return "Clear"; }
    int Create(EntNode* node) override; // white; 1
    int Start() override { return 0; }
    // With ENT_CLASS_DRAW: target, depth 1.0 and stencil 0 cleared, the colour at alpha 255; 1.
    int DrawPre() override;
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<EntClear>::word = flags; }

    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f}; // r, g, b, a (alpha is not drawn)
};

// Class "Clear". ENT_CLASS_MSG_BUILD_DB makes the value table, ENT_CLASS_MSG_UNREGISTER frees it.
intptr_t EcClearProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
