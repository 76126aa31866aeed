// The mouse cursor: keeps the pointer in menu units, clamped to its limits, publishes it for the
// menus, and draws the shape the process-wide cursor index names (g_cursorFrameIndex) with its
// top-left corner at the pointer. The shapes are cells stacked downwards in one texture.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"
#include "ui/Ctl3Strip.h"

#include <cstdint>

class Shader;

class MouseCursor1 : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MouseCursor1"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<MouseCursor1>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<MouseCursor1>::word = flags; }

    int Create(EntNode* node) override; // the table's defaults; 0
    // Gives back a held texture, loads the cursor texture (shared), counts its shapes and
    // selects the shape of the cursor index; 0.
    int Start() override;
    int Destroy() override;
    // Pointer moves only: clamped, stored and published. Always 1: the controls hear them too.
    int OnMessage(const SlEvent* event) override;
    // The shape at the pointer; 1.
    int DrawPre() override;

    // The shape becomes `index` when it is one of the texture's, else none (-1); the uv
    // rectangle follows a valid one.
    void SelectShape(int32_t index);
    // Stores the pointer clamped into the limits (a NaN goes to the low limit; with a low limit
    // above the high one the pointer sits at the low one) and publishes it.
    void MoveTo(float px, float py);

    char texName[CTL3_TEXTURE_NAME_MAX + 1] = {};
    float xRate = 1.0f, yRate = 1.0f; // kept for scripts
    float cursorWidth = 32.0f, cursorHeight = 32.0f;
    int32_t cellTop = 0, cellLeft = 0, cellBottom = 31, cellRight = 31; // the first shape
    float refScaleX = 1.0f, refScaleY = 1.0f;
    float refWidth = 1024.0f, refHeight = 768.0f;
    float refWidth2 = 1024.0f, refHeight2 = 768.0f;
    int32_t shapeCount = 0; // whole cells in the texture's height; 0 without a texture
    float x = 0.0f, y = 0.0f;
    float minX = 0.0f, maxX = 100.0f, minY = 0.0f, maxY = 100.0f;
    int32_t slot = -1;
    int32_t current = -1; // -1: hidden
    float uv[4] = {};
    int32_t mode = 0;    // kept from the tree builder's set-up
    uint8_t enabled = 1; // off hides the cursor; a cursor made from a script or ini shows
};

// The pointer the cursor last published, in menu units ((0, 0) before any).
void MouseCursorPointer(float* x, float* y);
// Whether the cursor has published a pointer since the class was registered.
bool MouseCursorPointerKnown();
// The cursor's shared "Solid" shader while the class is registered, else null.
Shader* MouseCursorShader();

// Class "MouseCursor1". ENT_CLASS_MSG_BUILD_DB also makes the shader and installs the set-up hook
// the root tree builder calls; ENT_CLASS_MSG_UNREGISTER releases the shader and removes the hook.
intptr_t EcMouseCursor1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
