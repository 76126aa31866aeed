// Litter: its class, its model and where it lands.
#include "game/Ents/Litter.h"
#include "engine/EntRef.h"

#include "I3d/Camera.h"
#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/MathConst.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/SharedObj.h"
#include "engine/WorldClass.h"
#include "game/Ents/GameEntPaths.h"
#include "game/Ents/GroundHeight.h"
#include "game/Ents/RemovalKinds.h"
#include "gi/Render/Mdl3Ex.h"

#include <cmath>
#include <cstring>

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Litter");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(Litter, name), 32);
        PropDbAddVector3Zero(&s_db, "pos", PROP_OFFSET(Litter, pos));
        PropDbAddBool(&s_db, "agl", PROP_OFFSET(Litter, agl), 1);
        PropDbAddStringBlank(&s_db, "modelFile", PROP_OFFSET(Litter, modelFile), 260);
    }
    return &s_db;
}

void ResetClass() {
    WorldClassFlags<Litter>::Reset();
    // Litter holds nothing: it hears no removal.
    EntClassSetRemoval("Litter", GAME_REMOVAL_LITTER, 0);
}

const WorldClassDef kClass = {"Litter", Db, WorldMake<Litter>, ResetClass};

void ReleaseModel(Litter* litter) {
    if (litter->model) SharedObjRelease(litter->model);
    litter->model = nullptr;
}
} // namespace

intptr_t EcLitterProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

Litter::~Litter() {
    ReleaseModel(this);
}

int Litter::CopyClassName(char* buffer) {
    return WorldCopyClassName("Litter", buffer);
}

uint32_t Litter::GetClassFlags() {
    return WorldClassFlags<Litter>::word;
}

void Litter::SetClassFlags(uint32_t word) {
    WorldClassFlags<Litter>::word = word;
}

int Litter::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    agl = 1;
    model = nullptr;
    flags |= ENT_FLAG_PASSABLE;
    return 1;
}

int Litter::Start() {
    Ent3dBase::Start();
    ReleaseModel(this); // a second Start loads afresh
    model = Mdl3ExLoad(GameEntDataPath("Models\\Trash.md3").c_str());
    // A model without nodes has no bounds to give: it counts as not found.
    if (model && (!model->mdl || model->mdl->numNodes < 1)) ReleaseModel(this);
    if (model) {
        const MDL3NODE& root = model->mdl->nodes[0];
        localBox[0] = root.boundsMin.x;
        localBox[1] = root.boundsMin.y;
        localBox[2] = root.boundsMin.z;
        localBox[3] = root.boundsMax.x;
        localBox[4] = root.boundsMax.y;
        localBox[5] = root.boundsMax.z;
    } else {
        DbgPrintf(DBG_ENTITY, "** WARNING ** could not find %s\n", modelFile);
        const float box[6] = {-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f};
        for (int i = 0; i < 6; ++i)
            localBox[i] = box[i];
    }
    VarsChanged();
    return 1;
}

int Litter::Destroy() {
    DbgPrintf(DBG_ENTITY, "Destroying: %s (%s)\n", name, GetTypeName());
    ReleaseModel(this);
    // A carny on its way to sweep this piece forgets it.
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    ENTBASE::Destroy();
    return 1;
}

int Litter::VarsChanged() {
    offsetX = RandFloat(0.4f) - 0.2f;
    offsetZ = RandFloat(0.4f) - 0.2f;
    turn = RandFloat(kTwoPi6);
    const float ground = agl ? GameEntGroundHeight(this, &pos) : 0.0f;
    Mat4Identity(&matrix);
    Mat4RotateY(&matrix, turn);
    matrix.m[12] = pos.x + offsetX;
    matrix.m[13] = pos.y + ground;
    matrix.m[14] = pos.z + offsetZ;
    BoxXform(localBox, &matrix, worldBox);
    return 1;
}

int Litter::DrawPre() {
    if (!(GetClassFlags() & ENT_CLASS_DRAW) || !model) return 1;
    I3dSetWorld(&matrix);
    Mdl3ExDraw(model);
    return 1;
}

namespace {
struct FirstCache {
    EntRef first;
    EntRef root;
    uint64_t stamp = 0;
};
FirstCache s_firstCache;
} // namespace

// Kept while no entity can have become a "First" before it (EntNameChanges): patrons and
// litter come and go by the thousand without moving that count.
ENTBASE* LitterFirst(ENTBASE* root) {
    if (!root) return nullptr;
    const uint64_t stamp = EntNameChanges("First");
    FirstCache& c = s_firstCache;
    ENTBASE* kept = c.first.Get();
    if (c.root.Get() == root && c.stamp == stamp &&
        (!c.first.Address() ||
         (kept && std::strcmp(kept->GetName(), "First") == 0 && EntGetRoot(kept) == root)))
        return kept;
    ENTBASE* found = EntTreeFindName(root, "First");
    c.first = EntRef(found);
    c.root = EntRef(root);
    c.stamp = stamp;
    return found;
}

Litter* LitterDrop(ENTBASE* from, float x, float z) {
    ENTBASE* root = from ? EntGetRoot(from) : nullptr;
    if (!root) return nullptr;
    ENTBASE* parent = LitterFirst(root);
    auto* litter = static_cast<Litter*>(EntCreateChild("Litter", parent ? parent : root));
    if (!litter) return nullptr;
    litter->pos = VECTOR3{x, 0.0f, z};
    litter->Start();
    return litter;
}
