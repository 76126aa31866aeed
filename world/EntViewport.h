// The viewport entity: turns one of the frame's draw walks into the drawing of another subtree
// (its draw root) through a camera, inside a rectangle of the back buffer that it may clear.
#pragma once

#include "I3d/Math/MathTypes.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntRef.h"
#include "engine/WorldClass.h"

#include <cstdint>

class EntViewport : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Viewport"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<EntViewport>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<EntViewport>::word = flags; }
    // The property defaults, then the back buffer's size, then ENT_FLAG_DRAWPOST (the third walk);
    // 0.
    int Create(EntNode* node) override;
    int Start() override { return 1; }
    // First walk, only while ENT_CLASS_DRAW is set: the view with its clear, then the first
    // walk over the draw root; 1, so that the walk also reaches the viewport's own children.
    int DrawPre() override;
    // Second walk: the view without clearing, then the second walk over the draw root; 1.
    int Draw() override;
    // Third walk, only with a draw root: the view without clearing, then the third walk; 1.
    int DrawPost() override;

    COLOR3F color = {1.0f, 1.0f, 1.0f};
    float x = 0.0f, y = 0.0f, width = 640.0f, height = 480.0f;
    uint8_t clear = 0;
    uint8_t setEarPos = 0;
    // Takes the serial number of an entity given as "entDrawRoot" or "entCamera" at once.
    bool SetVoid(const char* name, intptr_t value) override;

    // Links the viewport does not own, set through the property table. Each is checked for life
    // (with the serial number it had when set, kept beside it) before it is used, and a link to
    // a destroyed entity is dropped.
    ENTBASE* drawRoot = nullptr;
    ENTBASE* camera = nullptr;

  private:
    // The rectangle, the clear (when allowed), the camera's view and projection and the ear.
    void SetUpView(bool clearAllowed);
    // The linked entity, or null (and the field cleared) once it has gone. A field written
    // behind SetVoid's back is taken as it is when first seen here.
    ENTBASE* Live(ENTBASE** link, EntRef* kept);
    EntRef m_drawRootRef;
    EntRef m_cameraRef;
    // Set while one of the viewport's walks runs: a draw root that holds the viewport must not
    // send the walk round again.
    bool m_drawing = false;
};

// Class "Viewport".
intptr_t EcViewportProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
