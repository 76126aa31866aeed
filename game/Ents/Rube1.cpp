// The patron: its class, its life and its frame.
#include "game/Ents/Rube1.h"

#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/Ents/GameEntPaths.h"
#include "game/Ents/GameEntStand.h"
#include "game/Ents/GroundHeight.h"
#include "game/Ents/Litter.h"
#include "game/Ents/RemovalKinds.h"
#include "game/Ents/RubeCharacters.h"
#include "game/Ents/RubeGen.h"
#include "game/Ents/RubeVisit.h"
#include "game/GameGridCore.h"
#include "game/MtGame.h"
#include "game/RubeRules.h"
#include "game/WaypointPath.h"
#include "gi/Render/CharModelInst.h"

#include <algorithm>
#include <cmath>
#include <vector>

uint8_t g_rubeDrawPaths = 0;

namespace {
EntRef s_grid;
EntRef s_game;
int s_patronNumber = 0;
// The live patrons in creation order: the generator's average happiness sums them every frame
// instead of walking the whole tree.
std::vector<Rube1*> s_live;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Rube1");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(Rube1, name), 32);
        PropDbAddVector3Zero(&s_db, "pos", PROP_OFFSET(Rube1, pos));
        PropDbAddSeparator(&s_db, "Dimensions:");
    }
    return &s_db;
}

void ResetClass() {
    WorldClassFlags<Rube1>::Reset();
    // A patron holds the game object, the grid, its generator and an attraction: never another
    // patron nor litter.
    EntClassSetRemoval("Rube1", GAME_REMOVAL_PATRON, ENT_REMOVAL_KIND_DEFAULT);
    // A patron's step reads nearly all of it but the route's points, of which only one.
    EntClassSetUpdateBytes("Rube1", (int)(sizeof(Rube1) - sizeof(Rube1::routePoints)));
    // Its character's pose is reached through pointers the walk cannot follow.
    EntClassSetUpdateAhead("Rube1", [](const ENTBASE* entity) {
        static_cast<const Rube1*>(entity)->poseMemory.Prefetch();
    });
    s_grid = EntRef();
    s_game = EntRef();
    s_patronNumber = 0;
}

const WorldClassDef kClass = {"Rube1", Db, WorldMake<Rube1>, ResetClass};
} // namespace

intptr_t EcRube1Proc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            GameEntHighlightAcquire();
            RubeCharactersLoad(GameEntDataFolder());
            break;
        case ENT_CLASS_MSG_UNREGISTER:
            RubeCharactersRelease();
            GameEntHighlightRelease();
            break;
        default: break;
    }
    return WorldClassProc(kClass, node, message, a, b, c);
}

int RubeChooseNeed(const Rube1* patron) {
    if (!patron) return 0;
    return RubeStrongestNeed(patron->needs, patron->state == RUBE_LEAVE);
}

int RubeLiveCount() {
    return (int)s_live.size();
}

Rube1* RubeLiveAt(int index) {
    return index >= 0 && index < (int)s_live.size() ? s_live[(size_t)index] : nullptr;
}

double RubeLiveHappinessSum() {
    double sum = 0.0;
    for (const Rube1* p : s_live)
        sum += p->happiness;
    return sum;
}

Rube1::Rube1() {
    s_live.push_back(this);
}

Rube1::~Rube1() {
    s_live.erase(std::remove(s_live.begin(), s_live.end(), this), s_live.end());
    RubeCharacterFree(character);
}

int Rube1::CopyClassName(char* buffer) {
    return WorldCopyClassName("Rube1", buffer);
}
uint32_t Rube1::GetClassFlags() {
    return WorldClassFlags<Rube1>::word;
}
void Rube1::SetClassFlags(uint32_t word) {
    WorldClassFlags<Rube1>::word = word;
}

GameGridCore* Rube1::Grid() {
    // The cast is done once per grid, not at every step of every patron.
    static ENTBASE* s_castFrom = nullptr;
    static uint64_t s_castSerial = 0;
    static GameGridCore* s_cast = nullptr;
    ENTBASE* grid = s_grid.Get();
    if (grid != s_castFrom || s_grid.Serial() != s_castSerial) {
        s_castFrom = grid;
        s_castSerial = s_grid.Serial();
        s_cast = GameGridFrom(grid);
    }
    return s_cast;
}

MtGame* Rube1::Game() {
    return static_cast<MtGame*>(s_game.Get());
}

int Rube1::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    flags |= ENT_FLAG_PASSABLE;
    number = ++s_patronNumber;
    WaypointPathInit(&routeStore, routePoints, kGridPathPoints);
    route = &routeStore;
    route->tolerance = VECTOR3{0.5f, 0.0f, 0.5f};
    heading.SetTime(0.5f);
    icon.cell = -1;
    icon.size = 0.04f;
    // Kind and skin are drawn even while the characters are not loaded, so that the sequence
    // of draws stays the same.
    switch (RandInt(4)) {
        case 0:
            kind = 1;
            skin = 1 + RandInt(15);
            break;
        case 1:
            kind = 0;
            skin = 1 + RandInt(15);
            break;
        case 2:
            kind = 2;
            skin = 1 + RandInt(12);
            break;
        default:
            kind = 3;
            skin = 1 + RandInt(12);
            break;
    }
    personalX = RandFloatRange(-0.2f, 0.2f);
    personalZ = RandFloatRange(-0.2f, 0.2f);
    character = RubeCharacterCreate(kind, skin);
    return 1;
}

int Rube1::VarsChanged() {
    pos.y = GameEntGroundHeightOr(this, &pos, pos.y);
    exitPoint = pos;
    return 1;
}

int Rube1::Start() {
    Ent3dBase::Start();
    VarsChanged();
    ENTBASE* root = EntGetRoot(this);
    if (!s_grid.Get()) s_grid = EntRef(EntTreeFindType(root, "GameGrid"));
    if (!s_game.Get()) s_game = EntRef(EntTreeFindType(root, "MtGame"));
    const MtGame* game = Game();
    iconTimer = RandFloat(game ? game->gameVals.iconDesireDelay : 0.0f);
    EnterThink();
    GameEntStandLocalBox(this, height);
    return 1;
}

bool Rube1::PickTest(PickQuery* query) {
    if (animMode == RUBE_MODE_HIDDEN) return false;
    return Ent3dBase::PickTest(query);
}

int Rube1::OnEntityRemoved(ENTBASE* gone) {
    if (gone == s_game.Address()) s_game = EntRef();
    if (gone == s_grid.Address()) s_grid = EntRef();
    if (gone == generator.Address()) generator = EntRef();
    if (gone != this && gone == target.Address()) {
        // The target is still alive during the notice walk: a rider's exit reads it first.
        Boot();
        target = EntRef();
    }
    return 1;
}

int Rube1::Destroy() {
    DbgPrintf(DBG_ENTITY, "Destroying: %s (%s)\n", name, GetTypeName());
    if (auto* gen = static_cast<RubeGen*>(generator.Get())) RubeGenDeparture(gen, happiness);
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    route = nullptr;
    RubeCharacterFree(character);
    character = nullptr;
    ENTBASE::Destroy(); // deletes this
    return 1;
}

int Rube1::Update(float seconds) {
    if (done) {
        EntDestroyTree(this);
        return 0;
    }
    lastStep = seconds;
    // The point walked to is read at the end of the step: asked for now, it comes meanwhile.
    if (route && route->current >= 0 && route->current < route->count)
        __builtin_prefetch(&route->points[route->current]);
    needs.Update(seconds);
    switch (state) {
        case RUBE_WALK_TO:
            if (WalkStep(seconds)) RubeVisitArrive(this);
            break;
        case RUBE_PICK_ANY: PickAnyStep(); break;
        case RUBE_IN_LINE: RubeVisitLineStep(this, seconds); break;
        case RUBE_INSIDE: heading.Update(seconds); break;
        case RUBE_THINK: ThinkStep(seconds); break;
        case RUBE_WANDER:
            if (WalkStep(seconds)) EnterChoose();
            break;
        case RUBE_CHOOSE: ChooseStep(); break;
        case RUBE_LEAVE:
            if (WalkStep(seconds)) done = true;
            break;
        default: break;
    }
    if (animMode != RUBE_MODE_SEATED) {
        GameEntStandAgain(this, &stand, heading.GetValue(), placeX, placeZ, height);
        CharModelInstAnimate(character);
        CharModelInstNotePoseMemory(character, &poseMemory);
    }
    return 1;
}
