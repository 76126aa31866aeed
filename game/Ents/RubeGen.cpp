// The patron generator: its class, its day start, its spawn rule and the operations the game
// object and the attractions reach through their links.
#include "game/Ents/RubeGen.h"

#include "engine/DebugLog.h"
#include "engine/EntDrawWalk.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/Ents/Rube1.h"
#include "game/MtGame.h"
#include "game/MtGameLinks.h"
#include "game/RubeRules.h"
#include "game/VenueInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "RubeGen");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(RubeGen, name), 32);
        PropDbAddVector3Zero(&s_db, "pos", PROP_OFFSET(RubeGen, pos));
        PropDbAddFloat(&s_db, "delay", PROP_OFFSET(RubeGen, delay), 5.0f);
        PropDbAddInt(&s_db, "max", PROP_OFFSET(RubeGen, max), 100);
    }
    return &s_db;
}

RubeGen* AsGen(ENTBASE* e) {
    return EntIsLive(e) && std::strcmp(e->GetTypeName(), "RubeGen") == 0 ? static_cast<RubeGen*>(e)
                                                                         : nullptr;
}

void LinkAddExtra(ENTBASE* generator, int extra) {
    RubeGenAddExtra(AsGen(generator), extra);
}
bool LinkSpawnPosition(ENTBASE* generator, VECTOR3* out) {
    RubeGen* gen = AsGen(generator);
    return gen && RubeGenSpawnPosition(gen, out);
}
void LinkAdjustDelay(ENTBASE* generator, float amount) {
    RubeGenAdjustDelay(AsGen(generator), amount);
}

void ResetClass() {
    WorldClassFlags<RubeGen>::Reset();
}

const WorldClassDef kClass = {"RubeGen", Db, WorldMake<RubeGen>, ResetClass};

bool IsSpawnPoint(const EntNode* n) {
    return n->object && n->deleteCount == 0 &&
           std::strcmp(n->object->GetTypeName(), "RubeSpawnPt") == 0;
}

const std::vector<EntNode*>& SpawnPoints(RubeGen* gen) {
    const EntClass* cls = EntClassFind("RubeSpawnPt");
    const uint64_t stamp = cls ? cls->changes : 0;
    if (gen->spawnStamp != stamp) {
        gen->spawnCache.clear();
        for (EntNode* n = gen->node ? gen->node->firstChild : nullptr; n; n = n->next)
            if (IsSpawnPoint(n)) gen->spawnCache.push_back(n);
        gen->spawnStamp = stamp;
    }
    return gen->spawnCache;
}

int CountSpawnPoints(RubeGen* gen) {
    return (int)SpawnPoints(gen).size();
}

// Read through the game object each time: its venue list may be loaded again.
const VenueInfo* GenVenue(RubeGen* gen) {
    auto* mt = static_cast<MtGame*>(gen->game.Get());
    return mt ? mt->venue : nullptr;
}

void SpawnOne(RubeGen* gen, MtGame* game) {
    auto* patron = static_cast<Rube1*>(EntCreateChild("Rube1", gen));
    gen->spawnTimer = gen->delay;
    if (!patron) return;
    ++gen->present;
    ++gen->created;
    char name[32];
    std::snprintf(name, sizeof name, "Patron %i", gen->created);
    patron->SetName(name);
    VECTOR3 at;
    RubeGenSpawnPosition(gen, &at);

    RubeStart start;
    RubeGenDrawStart(GenVenue(gen), game ? &game->gameVals : nullptr, game ? game->freeTickets : 0,
                     &start);
    patron->height = start.height;
    for (int i = 0; i < RUBE_NEED_COUNT; ++i) {
        patron->needs.level[i] = start.level[i];
        patron->needs.multiplier[i] = start.multiplier[i];
    }
    patron->money = start.money;
    patron->speedBase = start.speedBase;
    patron->tickets = start.tickets;
    patron->happiness = start.happiness;
    patron->colour = start.colour;
    patron->SetPos(&at);
    patron->generator = EntRef(gen);
    patron->Start();
}
} // namespace

const MtGameRubeGenLinks* RubeGenLinks() {
    static const MtGameRubeGenLinks links = {LinkAddExtra, LinkSpawnPosition, LinkAdjustDelay};
    return &links;
}

intptr_t EcRubeGenProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int RubeGen::CopyClassName(char* buffer) {
    return WorldCopyClassName("RubeGen", buffer);
}
uint32_t RubeGen::GetClassFlags() {
    return WorldClassFlags<RubeGen>::word;
}
void RubeGen::SetClassFlags(uint32_t word) {
    WorldClassFlags<RubeGen>::word = word;
}

int RubeGen::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    return 1;
}

int RubeGen::Start() {
    Ent3dBase::Start();
    created = present = 0;
    ENTBASE* found = EntTreeFindType(EntGetRoot(this), "MtGame");
    game = EntRef(found);
    auto* mt = static_cast<MtGame*>(found);
    const VenueInfo* venue = mt ? MtGameVenue(mt) : nullptr;
    if (venue) {
        delay = RubeGenVenueDelay(venue);
        baseRubes = venue->baseRubes;
        ceiling =
            (int32_t)std::min<int64_t>((int64_t)venue->baseRubes + venue->extraRubes, INT32_MAX);
    } else {
        // Without a venue nobody comes: the delay keeps its property value.
        DbgPrintf(DBG_GENERAL, "RubeGen %s: no venue; no patrons will come\n", name);
        baseRubes = ceiling = 0;
    }
    max = baseRubes;
    spawnTimer = delay;
    // Counted at every start: a venue script may make the points after the generator.
    spawnPoints = CountSpawnPoints(this);
    return 1;
}

int RubeGen::Destroy() {
    DbgPrintf(DBG_ENTITY, "Destroying: %s (%s)\n", name, GetTypeName());
    // The game object and the attractions keep it; they forget it now.
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    ENTBASE::Destroy();
    return 1;
}

int RubeGen::OnEntityRemoved(ENTBASE* gone) {
    if (gone == game.Address()) game = EntRef();
    return 1;
}

int RubeGen::Update(float seconds) {
    spawnTimer -= seconds;
    const int live = RubeLiveCount();
    const double sum = RubeLiveHappinessSum();
    averageHappiness = live > 0 ? (float)(sum / live) : 0.0f;

    auto* mt = static_cast<MtGame*>(game.Get());
    if (!mt || mt->dayOver) return 1;
    if (present >= max) return 1;
    if (mt->gameTime > mt->gameVals.closingTime - 0.5f) return 1;
    if (spawnTimer > 0.0f) return 1;
    SpawnOne(this, mt);
    return 1;
}

int RubeGen::Draw() {
    if (!EntDebugDrawAllowed()) return 1; // the editor's pass only
    if (!(GetClassFlags() & ENT_CLASS_DRAW)) return 1;
    // Green while it may still let patrons in, red when full.
    GameEntDrawMarker(&pos, 1.0f, present < max ? 0x5F00FF00u : 0x5FFF0000u);
    return 1;
}

bool RubeGenSpawnPosition(RubeGen* gen, VECTOR3* out) {
    if (!gen) return false;
    const std::vector<EntNode*>& points = SpawnPoints(gen);
    if (!points.empty()) {
        points[(size_t)RandInt((int)points.size())]->object->CopyPos(out);
        return true;
    }
    *out = gen->pos;
    return false;
}

void RubeGenAdjustDelay(RubeGen* gen, float amount) {
    if (!gen) return;
    gen->delay = RubeGenDelayAfterAdjust(gen->delay, amount, GenVenue(gen));
}

void RubeGenAddExtra(RubeGen* gen, int extra) {
    if (!gen) return;
    gen->max = RubeGenMaxAfterExtra(gen->max, gen->ceiling, extra);
}

void RubeGenDeparture(RubeGen* gen, float happiness) {
    if (!gen) return;
    if (gen->present > 0) --gen->present;
    auto* mt = static_cast<MtGame*>(gen->game.Get());
    const int mod = mt ? mt->gameVals.hapRubeMod : 0;
    gen->max = RubeGenMaxAfterDeparture(gen->max, gen->ceiling, happiness, mod);
}
