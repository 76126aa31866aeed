// The entity the whole 2D interface hangs from: it gives the menus' draw passes a screen
// projection of the interface reference size, so any window shows the same layout.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>

// The interface reference size: menus are laid out in these units whatever the window.
inline constexpr int32_t kMenuUnitsWide = 1024;
inline constexpr int32_t kMenuUnitsHigh = 768;

class MenuRoot : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MenuRoot"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<MenuRoot>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<MenuRoot>::word = flags; }

    // The reference size and the third-draw-pass flag; 0.
    int Create(EntNode* node) override;
    // Identity world and view, the screen projection; only while the render option asks; 1.
    int DrawPre() override;
    // The same, always; 1.
    int Draw() override;
    int VarsChanged() override; // the size back into 0..10000

    // Identity world and view and a projection of width x height units onto the viewport.
    void SetScreenProjection();

    int32_t width = kMenuUnitsWide;
    int32_t height = kMenuUnitsHigh;
};

intptr_t EcMenuRootProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
