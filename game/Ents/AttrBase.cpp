// The attraction's class, its class-wide entities and its lifecycle: the property database,
// creation, Start's binding of type, queues, animator and sounds, removal notices, loading,
// the world matrix and picking.
#include "game/Ents/AttrBase.h"

#include "I3d/Math/Geometry.h"
#include "I3d/Math/Mat4Math.h"
#include "engine/DebugLog.h"
#include "engine/IniFile.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/Sound/Sound.h"
#include "engine/System.h"
#include "engine/WorldClass.h"
#include "game/Ents/AttrClass.h"
#include "game/Ents/AttrPatron.h"
#include "game/Ents/AttrRegistry.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/Ents/GroundHeight.h"
#include "game/Ents/RideAnim.h"
#include "game/MtGame.h"
#include "game/MtGameHost.h"
#include "game/MtGameLinks.h"
#include "game/MtPowerGrid.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <string>

// ---- class-wide state ----

namespace {
// Found by type from the root at an attraction's Start while not known; forgotten when they
// announce their removal, and never used once they have gone.
EntRef s_game;
EntRef s_grid;
EntRef s_rubeGen;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "AttrBase");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(AttrBase, name), 32);
        PropDbAddVector3Zero(&s_db, "pos", PROP_OFFSET(AttrBase, pos));
        PropDbAddInt(&s_db, "type", PROP_OFFSET(AttrBase, type), 0);
        PropDbAddBool(&s_db, "agl", PROP_OFFSET(AttrBase, agl), 1);
        PropDbAddSeparator(&s_db, "Sound and Music:");
        PropDbAddSeparator(&s_db, "Save Game:");
        PropDbAddBool(&s_db, "closed", PROP_OFFSET(AttrBase, closed), 0);
        PropDbAddBool(&s_db, "repairMe", PROP_OFFSET(AttrBase, repairMe), 0);
        PropDbAddFloat(&s_db, "repair", PROP_OFFSET(AttrBase, repair), 0.0f);
        PropDbAddFloat(&s_db, "yaw", PROP_OFFSET(AttrBase, yaw), 0.0f);
        PropDbAddInt(&s_db, "ticketPrice", PROP_OFFSET(AttrBase, ticketPrice), 0);
    }
    return &s_db;
}

void LinkStartOfDay(ENTBASE* attraction) {
    AttrBaseStartOfDay(static_cast<AttrBase*>(attraction));
}
int LinkValue(ENTBASE* attraction) {
    return AttrBaseValue(static_cast<AttrBase*>(attraction));
}

void ResetClass() {
    WorldClassFlags<AttrBase>::Reset();
    AttrClassReset();
}

const WorldClassDef kClass = {"AttrBase", Db, WorldMake<AttrBase>, ResetClass};

std::string DataFolder() {
    if (MtGameHost* host = MtGameGetHost()) return host->DataFolder();
    return std::string(SysProgramFolder()) + "Data/";
}

void FindCached(EntRef* link, ENTBASE* root, const char* type) {
    if (!link->Get()) *link = EntRef(EntTreeFindType(root, type));
}
} // namespace

intptr_t EcAttrBaseProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: GameEntHighlightAcquire(); break;
        case ENT_CLASS_MSG_RESET: AttrClassReset(); break;
        case ENT_CLASS_MSG_UNREGISTER: GameEntHighlightRelease(); break;
        default: break;
    }
    return WorldClassProc(kClass, node, message, a, b, c);
}

const MtGameAttrLinks* AttrBaseLinks() {
    static const MtGameAttrLinks links = {LinkStartOfDay, LinkValue};
    return &links;
}

MtGame* AttrClassGame() {
    return static_cast<MtGame*>(s_game.Get());
}
MtPowerGrid* AttrClassGrid() {
    return static_cast<MtPowerGrid*>(s_grid.Get());
}
ENTBASE* AttrClassRubeGen() {
    return s_rubeGen.Get();
}

void AttrClassForget() {
    s_game = EntRef();
    s_grid = EntRef();
    s_rubeGen = EntRef();
}

// ---- lifecycle ----

AttrBase::AttrBase() {
    for (Mat4& seat : seats)
        Mat4Identity(&seat);
    icon.cell = ATTR_ICON_NONE;
    AttrRegistryStale();
}

AttrBase::~AttrBase() {
    AttrRegistryStale();
    delete animator;
}

int AttrBase::CopyClassName(char* buffer) {
    return WorldCopyClassName("AttrBase", buffer);
}

uint32_t AttrBase::GetClassFlags() {
    return WorldClassFlags<AttrBase>::word;
}

void AttrBase::SetClassFlags(uint32_t word) {
    WorldClassFlags<AttrBase>::word = word;
}

int AttrBase::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    info = nullptr;
    type = 0;
    powerFailure = false;
    powerCheckTimer = 0.0f;
    cycleTimer = 0.0f;
    attrState = ATTR_LOADING;
    ridersToBoard = 0;
    ticketPrice = 999;
    return 1;
}

namespace {

// The waiting line and the riders' places, once: a loaded attraction keeps whom they hold.
void MakeLines(AttrBase& attr) {
    if (attr.queuesMade) return;
    const char* name = attr.name;
    int queueMax = attr.info->queueMax;
    if (queueMax < 0) {
        DbgPrintf(DBG_GENERAL, "AttrBase %s: queueMax %i is negative; 0\n", name, queueMax);
        queueMax = 0;
    }
    int capacity = attr.info->capacity;
    if (capacity <= 0) {
        // An empty ride would cycle for ever.
        DbgPrintf(DBG_GENERAL, "AttrBase %s: capacity %i is below 1; 1\n", name, capacity);
        capacity = 1;
    }
    attr.queuesMade = attr.line.Init(queueMax) && attr.board.Init(capacity);
    if (!attr.queuesMade) DbgPrintf(DBG_GENERAL, "AttrBase %s: no memory for its lines\n", name);
}

void MakeAnimator(AttrBase& attr) {
    if (attr.animator) return;
    attr.animator = AttrBaseBuildAnimator(attr.type, attr.info, DataFolder().c_str(), &attr);
    if (!attr.animator) return;
    BoxSetMinMax(attr.localBox, &attr.animator->boxMin, &attr.animator->boxMax);
    // The loader set "repair" before this first Start; the animator's new wear must not
    // replace it.
    if (attr.loadedWearSet) attr.RideSetWear(attr.loadedWear, true);
}

// A "Sound" child named after the attraction playing `file`, once: `held` keeps it.
void MakeSound(AttrBase& attr, const std::string& data, EntRef* held, const char* file,
               const char* suffix, float volume) {
    if (!file[0] || held->Get()) return;
    ENTBASE* made = EntCreateChild("Sound", &attr);
    if (!made) return;
    char childName[ENTBASE::NAME_LEN_MAX + 1];
    std::snprintf(childName, sizeof childName, "%s%s", attr.name, suffix);
    made->SetName(childName);
    made->SetString("soundFile", (data + file).c_str());
    made->SetFloat("volume", volume);
    made->SetFloat("minDist", attr.info->soundMinDist);
    made->SetFloat("maxDist", attr.info->soundMaxDist);
    made->SetPos(&attr.pos);
    made->Start();
    *held = EntRef(made);
}

void MakeSounds(AttrBase& attr) {
    const std::string data = DataFolder();
    const AttrInfo* info = attr.info;
    MakeSound(attr, data, &attr.sound, info->soundFile, "Sound", info->soundVolume * 0.8f);
    // An attraction's music (the carousel's band organ) is music: not played when the player
    // has switched music off.
    if (SndMusicOn())
        MakeSound(attr, data, &attr.music, info->musicFile, "Music", info->soundVolume);
}

} // namespace

int AttrBase::Start() {
    Ent3dBase::Start();
    // A loaded attraction is linked to its parent after it is made: its place in the tree is
    // final only now.
    AttrRegistryStale();
    ENTBASE* root = EntGetRoot(this);
    FindCached(&s_game, root, "MtGame");
    FindCached(&s_grid, root, "MtPowerGrid");
    FindCached(&s_rubeGen, root, "RubeGen");

    MtGame* game = AttrClassGame();
    info = game && game->attrList ? game->attrList->Get(type) : nullptr;
    infoOwner = info ? game : nullptr;
    if (!info) {
        // A hand-edited or older file can hold any type; without its record nothing about the
        // attraction is known, so it stays in the world doing nothing.
        if (!inert)
            DbgPrintf(DBG_GENERAL, "AttrBase %s: type %i is not in the attraction list\n", name,
                      (int)type);
        inert = true;
        attrState = closed ? ATTR_CLOSED : ATTR_LOADING;
        icon.cell = ATTR_ICON_NONE;
        VarsChanged();
        return 1;
    }
    inert = false;

    powerCheckTimer = RandFloat(10.0f) + 2.0f;
    MakeLines(*this);
    attrState = broken ? ATTR_BROKEN : closed ? ATTR_CLOSED : ATTR_LOADING;
    cycleTimer = info->queueWaitTime;
    MakeAnimator(*this);

    if (AttrClassRubeGen() && !closed)
        MtGameRubeGenAdjustDelay(AttrClassRubeGen(), info->rubeRateFactor);

    VarsChanged();
    MakeSounds(*this);
    icon.cell = ATTR_ICON_NONE;
    return 1;
}

int AttrBase::Destroy() {
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    if (MtPowerGrid* grid = AttrClassGrid()) MtPowerGridRemove(grid, this);
    line.Init(0);
    board.Init(0);
    delete animator;
    animator = nullptr;
    ENTBASE::Destroy();
    return 1;
}

int AttrBase::OnEntityRemoved(ENTBASE* gone) {
    if (gone == s_game.Address()) s_game = EntRef();
    if (info && gone == infoOwner) {
        // The type records go with the game object that owns them; the animator holds one too.
        // The attraction idles until a Start binds it again.
        info = nullptr;
        infoOwner = nullptr;
        delete animator;
        animator = nullptr;
    }
    if (gone == s_grid.Address()) s_grid = EntRef();
    if (gone == s_rubeGen.Address()) s_rubeGen = EntRef();

    // The lines hold the patron by address: one destroyed by the editor, a script or a subtree
    // destroy must leave them before anyone tells or pops it.
    const int inLine = line.Find(gone);
    if (inLine >= 0) {
        line.RemoveAt(inLine);
        for (int i = inLine; i < line.Count(); ++i) {
            AttrRingEntry e = line.At(i);
            if (e.entity != gone && EntIsLiveSerial(e.entity, e.serial))
                e.patron->PatronPlace(this, i, &entry);
        }
    }
    const int onBoard = board.Find(gone);
    if (onBoard >= 0) {
        const AttrRingEntry rider = board.RemoveAt(onBoard);
        if (!rider.seated && ridersToBoard > 0) --ridersToBoard;
    }
    return 1;
}

int AttrBase::LoadVars(const char* path, int* outFlag) {
    // The section is named like the entity as it is now: loading may change the name.
    char section[NAME_LEN_MAX + 1];
    std::snprintf(section, sizeof section, "%s", name);
    Ent3dBase::LoadVars(path, outFlag);
    // Only a file that holds "repair" for this attraction sets a wear to keep.
    const bool opened = path && IniOpen(path) == 0;
    char text[64];
    if (IniSetSection(section) == 0 && IniFindKey("repair", text, sizeof text) == 0) {
        loadedWearSet = true;
        loadedWear = repair;
    }
    if (opened) IniClose();
    return 1;
}

// ---- matrix, picking, events ----

int AttrBase::VarsChanged() {
    float height = 0.0f;
    if (agl) height = GameEntGroundHeight(this, &pos);
    if (!std::isfinite(pos.x) || !std::isfinite(pos.y) || !std::isfinite(pos.z) ||
        !std::isfinite(yaw)) {
        // The last good placement stays: a matrix of NaNs would poison the world box, the
        // entry point and every rider's seat.
        if (!badMatrixLogged)
            DbgPrintf(DBG_GENERAL, "AttrBase %s: pos or yaw is not a number; kept as it was\n",
                      name);
        badMatrixLogged = true;
        return 1;
    }
    terrainHeight = height;
    Mat4Identity(&matrix);
    Mat4RotateY(&matrix, yaw);
    matrix.m[12] = pos.x;
    matrix.m[13] = pos.y + height;
    matrix.m[14] = pos.z;
    if (info) {
        Mat4XformPoint(&info->entryOffset, &matrix, &entry);
    } else {
        entry = VECTOR3{matrix.m[12], matrix.m[13], matrix.m[14]};
    }
    BoxXform(localBox, &matrix, worldBox);
    return 1;
}

void AttrBase::SetPosXYZ(float x, float y, float z) {
    pos = VECTOR3{x, y, z};
}

bool AttrBase::PickTest(PickQuery* query) {
    if (inert || !info || info->attrType >= ATTR_TYPE_UNPICKABLE) return false;
    return Ent3dBase::PickTest(query);
}

int AttrBase::OnGameEvent(int event, intptr_t) {
    if (event == GE_HOURLY && animator && !inert) animator->HourlyCost();
    return 1;
}

// ---- what the ride animator needs ----

void AttrBase::RideSetWear(float wear, bool initial) {
    repair = wear;
    if (initial) initialWear = wear;
}

int AttrBase::RideChaserA() {
    return AttrFlashCounterA();
}

MtGame* AttrBase::RideGame() {
    return AttrClassGame();
}

MtPowerGrid* AttrBase::RidePowerGrid() {
    return AttrClassGrid();
}

Mdl3ExModel* AttrBaseGetModel(const AttrBase* attr) {
    auto* anim = attr ? dynamic_cast<RideAnim*>(attr->animator) : nullptr;
    return anim ? anim->instance : nullptr;
}

int AttrBaseRideCamCount(const AttrBase* attr) {
    return attr && attr->animator ? attr->animator->SeatCount() : 0;
}
