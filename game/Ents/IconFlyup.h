// A short-lived text in screen space that flies from one point to another and then deletes
// itself: the "$" a patron shows when it buys tickets.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"

#include <cstdint>

class Font;

class IconFlyup : public Ent3dBase {
  public:
    ~IconFlyup() override;

    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "IconFlyup"; }
    uint32_t GetClassFlags() override;
    void SetClassFlags(uint32_t word) override;
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int Update(float seconds) override;
    int DrawPre() override;
    int VarsChanged() override;

    // ---- properties ("pos" is the position in screen space: x, y in -1..1, z depth) ----
    char textureName[261] = {};
    char fontName[261] = {};
    float left = 0.0f, right = 0.0f, top = 0.0f, bottom = 0.0f;
    float speed = 1.0f;
    float width = 1.0f;
    uint8_t graphic = 0;

    // ---- fields, start and end set by the creator ----
    VECTOR3 start = {0.0f, 0.0f, 0.0f};
    VECTOR3 end = {0.0f, 0.0f, 0.0f};
    VECTOR3 direction = {0.0f, 0.0f, 0.0f};
    float timeLeft = 0.0f;
    int texture = -1;
    Font* font = nullptr;
};

// Class "IconFlyup".
intptr_t EcIconFlyupProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// The ticket fly-up of a patron: a child of the patron, "$" in the text form flying at 1.4 from
// the patron's position on the screen to (-1.0, 0.9, 0.0) with the font "Fonts\Georgia_14";
// started. Null when it cannot be made.
IconFlyup* IconFlyupTicket(ENTBASE* patron);
// A world point on the screen: x, y in -1..1 across the viewport, z the depth (-1 behind the eye).
VECTOR3 IconFlyupProject(const VECTOR3* world);
