// What every entity source shares: the debug font, the "Terrain" entity, focusing the
// management camera and the extent of the placement grid it frames.
#include "engine/Ent3d/Ent3dBase.h"

#include "engine/EntRef.h"
#include "engine/EntTree.h"

#include <cstring>

static Font* s_debugFont = nullptr;
static EntRef s_terrain;
// A tree found to hold no "Terrain", and the tree's name change count then: most worlds with
// patrons have none (the tests', the benchmarks'), and every patron asks as it starts.
static EntRef s_noTerrainRoot;
static uint64_t s_noTerrainStamp = 0;
static CameraFlyToFn s_flyTo = nullptr;
static GridExtentFn s_gridExtent = nullptr;

void Ent3dSetDebugFont(Font* font) {
    s_debugFont = font;
}

Font* Ent3dGetDebugFont() {
    return s_debugFont;
}

// The kept entity is trusted only while it lives, is still called "Terrain" and is in the
// asker's tree: leaving a game destroys the world and its terrain, and a pointer kept past that
// would name freed memory. "None" is trusted only while no entity can have become a "Terrain"
// in any tree (EntNameChanges).
ENTBASE* Ent3dGetTerrain(ENTBASE* from) {
    if (!from) return nullptr;
    ENTBASE* root = EntGetRoot(from);
    ENTBASE* kept = s_terrain.Get();
    if (kept && !(std::strcmp(kept->GetName(), "Terrain") == 0 && EntGetRoot(kept) == root))
        s_terrain = nullptr;
    if (s_terrain.Get()) return s_terrain.Get();
    const uint64_t stamp = EntNameChanges("Terrain");
    if (s_noTerrainRoot.Get() == root && s_noTerrainStamp == stamp) return nullptr;
    s_terrain = EntTreeFindName(root, "Terrain");
    s_noTerrainRoot = s_terrain.Get() ? nullptr : root;
    s_noTerrainStamp = stamp;
    return s_terrain.Get();
}

void Ent3dForgetTerrain() {
    s_terrain = nullptr;
    s_noTerrainRoot = nullptr;
}

void CameraVantorSetFlyTo(CameraFlyToFn flyTo) {
    s_flyTo = flyTo;
}

CameraFlyToFn CameraVantorGetFlyTo() {
    return s_flyTo;
}

void Ent3dSetGridExtentQuery(GridExtentFn query) {
    s_gridExtent = query;
}

GridExtentFn Ent3dGetGridExtentQuery() {
    return s_gridExtent;
}

bool Ent3dGridExtent(ENTBASE* grid, GridExtent* out) {
    return grid && out && s_gridExtent && s_gridExtent(grid, out);
}

void CameraVantorFocusEnt(ENTBASE* root, ENTBASE* entity) {
    if (!root || !entity || !s_flyTo) return;
    ENTBASE* camera = EntTreeFindType(root, "CameraVantor1");
    const VECTOR3* target = entity->GetPos();
    if (camera && target) s_flyTo(camera, target, 0.0f, 0.7853982f, 40.0f);
}
