// What every entity source shares: the debug font, the "Terrain" entity and focusing the
// management camera.
#include "engine/Ent3d/Ent3dBase.h"

#include "engine/EntRef.h"
#include "engine/EntTree.h"

#include <cstring>

static Font* s_debugFont = nullptr;
static EntRef s_terrain;
static CameraFlyToFn s_flyTo = nullptr;

void Ent3dSetDebugFont(Font* font) {
    s_debugFont = font;
}

Font* Ent3dGetDebugFont() {
    return s_debugFont;
}

// The kept entity is trusted only while it lives, is still called "Terrain" and is in the
// asker's tree: leaving a game destroys the world and its terrain, and a pointer kept past that
// would name freed memory.
ENTBASE* Ent3dGetTerrain(ENTBASE* from) {
    if (!from) return nullptr;
    ENTBASE* root = EntGetRoot(from);
    ENTBASE* kept = s_terrain.Get();
    if (kept && !(std::strcmp(kept->GetName(), "Terrain") == 0 && EntGetRoot(kept) == root))
        s_terrain = nullptr;
    if (!s_terrain.Get()) s_terrain = EntTreeFindName(root, "Terrain");
    return s_terrain.Get();
}

void Ent3dForgetTerrain() {
    s_terrain = nullptr;
}

void CameraVantorSetFlyTo(CameraFlyToFn flyTo) {
    s_flyTo = flyTo;
}

CameraFlyToFn CameraVantorGetFlyTo() {
    return s_flyTo;
}

void CameraVantorFocusEnt(ENTBASE* root, ENTBASE* entity) {
    if (!root || !entity || !s_flyTo) return;
    ENTBASE* camera = EntTreeFindType(root, "CameraVantor1");
    const VECTOR3* target = entity->GetPos();
    if (camera && target) s_flyTo(camera, target, 0.0f, 0.7853982f, 40.0f);
}
