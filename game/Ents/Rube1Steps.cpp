// The patron's behaviour: entering its states, walking a route, thinking, choosing, leaving,
// dropping litter and stepping off a blocked cell, and the attraction's calls.
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/AttrRegistry.h"
#include "game/Ents/Litter.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeVisit.h"
#include "game/GameGridCore.h"
#include "game/MtGame.h"
#include "game/RouteWalk.h"
#include "game/RubeRules.h"
#include "game/WaypointPath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {
// The first attractions of the tree, at most 100, as the searches consider them.
std::vector<AttrBase*> Attractions(ENTBASE* from) {
    AttrBase* all[ATTR_SEARCH_MAX];
    const int n = AttrRegistryList(from, all);
    return std::vector<AttrBase*>(all, all + n);
}

float NeedValue(const AttrBase* attr, int need) {
    return attr->info ? attr->info->needs[need] : 0.0f;
}

int RouteTo(Rube1* p, float x, float z) {
    return RouteWalkTo(p->Grid(), p->route, p->pos, x, z);
}
} // namespace

// ---- entering states ----

void Rube1::LeaveInside() {
    if (state != RUBE_INSIDE) return;
    state = RUBE_NO_BEHAVIOUR; // the exit runs once, whatever it calls
    RubeVisitExit(this, static_cast<AttrBase*>(target.Get()));
}

void Rube1::EnterThink() {
    LeaveInside();
    speed = 0.0f;
    PlayAnim(RUBE_ANIM_IDLE);
    const MtGame* game = Game();
    wanderTries = game ? game->gameVals.randAttempts : 0;
    state = RUBE_THINK;
}

bool Rube1::EnterWander() {
    if (!RouteWalkHasPoints(route)) return false;
    LeaveInside();
    route->current = 0;
    RouteWalkAim(route, pos, &direction);
    running = false;
    PlayAnim(RUBE_ANIM_WALK);
    speed = 2.0f + speedBase;
    state = RUBE_WANDER;
    return true;
}

bool Rube1::EnterWalkTo(AttrBase* attraction) {
    if (!RouteWalkHasPoints(route) || !attraction) return false;
    LeaveInside();
    target = EntRef(attraction);
    route->current = 0;
    RouteWalkAim(route, pos, &direction);
    running = RandInt(4) == 0;
    PlayAnim(running ? RUBE_ANIM_RUN : RUBE_ANIM_WALK);
    speed = (running ? 2.6f : 2.0f) + speedBase;
    state = RUBE_WALK_TO;
    return true;
}

void Rube1::EnterChoose() {
    LeaveInside();
    speed = 0.0f;
    PlayAnim(RUBE_ANIM_IDLE);
    if (tickets < 2) needs.level[RUBE_TICKET] = 1.0f;
    state = RUBE_CHOOSE;
}

void Rube1::EnterPickAny() {
    LeaveInside();
    direction = VECTOR3{0.0f, 0.0f, 1.0f};
    speed = 0.0f;
    state = RUBE_PICK_ANY;
}

void Rube1::EnterLeave() {
    LeaveInside();
    const MtGame* game = Game();
    happiness += (float)tickets * (game ? game->gameVals.hapExtraTickets : 0.0f);
    target = EntRef();
    state = RUBE_LEAVE;
    running = false;
    if (RouteTo(this, exitPoint.x, exitPoint.z) <= 0 || !RouteWalkHasPoints(route)) {
        // No way home (no grid, or the exit walled in or outside it): gone at once rather than
        // holding a place for ever.
        if (route) route->count = 0;
        done = true;
        return;
    }
    RouteWalkAim(route, pos, &direction);
    PlayAnim(RUBE_ANIM_WALK);
    speed = 2.0f + speedBase;
}

void Rube1::Boot() {
    const MtGame* game = Game();
    happiness += game ? game->gameVals.hapBootedQueue : 0.0f;
    speed = 0.0f;
    placeX = placeZ = 0.0f;
    EnterThink();
    // A patron booted off its seat or out of an attraction stands and is seen again.
    animMode = RUBE_MODE_FREE;
    target = EntRef();
}

// ---- walking ----

bool Rube1::WalkStep(float seconds) {
    if (!route) return true;
    iconTimer -= seconds;
    if (iconTimer < 0.0f) {
        const MtGame* game = Game();
        const float every = game ? game->gameVals.iconDesireDelay : 0.0f;
        // A delay that is not a positive number would never lift the timer above 0.
        iconTimer = std::isfinite(every) && every > 0.0f ? iconTimer + every : 0.0f;
        icon.Show(RubeNeedIcon(RubeChooseNeed(this)), 4.0f);
    }
    // The heading follows the direction the step starts in; a point reached turns it next frame.
    // Compared bit for bit: atan2 tells 0 from -0.
    if (!aimKnown || std::memcmp(&aimX, &direction.x, sizeof aimX) != 0 ||
        std::memcmp(&aimZ, &direction.z, sizeof aimZ) != 0) {
        aimKnown = true;
        aimX = direction.x;
        aimZ = direction.z;
        aimYaw = std::atan2(direction.x, direction.z);
    }
    heading.SetTarget(aimYaw);
    heading.Update(seconds);
    return RouteWalkStep(Grid(), route, &pos, &direction, speed, seconds);
}

// ---- think ----

void Rube1::ThinkStep(float seconds) {
    thinkTimer -= seconds;
    if (thinkTimer > 0.0f) return;
    thinkTimer = RandFloatRange(1.0f, 4.0f);
    GameGridCore* grid = Grid();
    const MtGame* game = Game();
    const int cols = grid ? grid->cols : 0;
    const int rows = grid ? grid->rows : 0;
    int cx = 0, cz = 0;
    if (grid) GameGridWorldToCell(grid, pos.x, pos.z, &cx, &cz);
    // One try per think: a blocked cell costs nothing, so a loop could spin for ever.
    if (wanderTries > 0) {
        const int lo = game ? game->gameVals.wanderRangeMin : 0;
        const int hi = game ? game->gameVals.wanderRangeMax : 0;
        const int64_t wx = (int64_t)cx + RubeWanderOffset(lo, hi);
        const int64_t wz = (int64_t)cz + RubeWanderOffset(lo, hi);
        const int tx = (int)std::clamp<int64_t>(wx, 0, std::max(0, cols - 1));
        const int tz = (int)std::clamp<int64_t>(wz, 0, std::max(0, rows - 1));
        if (grid && GameGridCellBlocked(grid, tx, tz)) return; // costs no try
        float x = 0.0f, z = 0.0f;
        if (grid) GameGridCellToWorld(grid, tx, tz, &x, &z);
        if (grid) {
            x += grid->tileWidth * 0.5f;
            z += grid->tileHeight * 0.5f;
        }
        if (RouteTo(this, x, z) > 0 && EnterWander()) return;
        --wanderTries;
        return;
    }
    const int tx = RandInt(cols - 1);
    const int tz = RandInt(rows - 1);
    if (grid && GameGridCellBlocked(grid, tx, tz)) return;
    float x = 0.0f, z = 0.0f;
    if (grid) GameGridCellToWorld(grid, tx, tz, &x, &z);
    if (RouteTo(this, x, z) > 0 && EnterWander()) return;
    Unstick();
}

// ---- choose ----

void Rube1::ChooseStep() {
    MtGame* game = Game();
    RubeLeaveInputs in;
    if (game) {
        in.money = money;
        in.ticketCost = game->ticketCost;
        in.gameTime = game->gameTime;
        in.closingTime = game->gameVals.closingTime;
        in.hapMaxDesire = game->gameVals.hapMaxDesire;
    }
    const int leave = RubeLeaveTest(&needs, &happiness, in);
    if (leave == RUBE_GO) {
        EnterLeave();
        return;
    }
    if (leave == RUBE_STAY_DROP_LITTER) DropLitter();
    const float noAttr = game ? game->gameVals.hapNoAttr : 0.0f;

    if (needs.level[RUBE_TICKET] >= 0.5f) {
        const std::vector<AttrBase*> all = Attractions(this);
        bool served = false;
        std::vector<AttrBase*> sellers;
        for (AttrBase* a : all) {
            for (int need : {RUBE_EAT, RUBE_DRINK, RUBE_RIDE, RUBE_GAME})
                if (NeedValue(a, need) > 0.04f) served = true;
            if (NeedValue(a, RUBE_TICKET) > 0.04f) sellers.push_back(a);
        }
        // Something to spend tickets on but nowhere to buy them: no attraction, rather than a
        // pick from an empty list.
        if (served && !sellers.empty()) {
            AttrBase* seller = sellers[(size_t)RandInt((int)sellers.size())];
            VECTOR3 entry;
            AttrBaseEntryPoint(seller, &entry);
            if (RouteTo(this, entry.x, entry.z) > 0 && EnterWalkTo(seller)) return;
            Unstick();
        }
        happiness += noAttr;
        target = EntRef();
        EnterThink();
        return;
    }

    // A chosen attraction comes with its route.
    AttrBase* chosen = RubeVisitChoose(this);
    if (chosen) {
        if (EnterWalkTo(chosen)) return;
        Unstick();
    } else {
        happiness += noAttr;
    }
    target = EntRef();
    EnterThink();
}

void Rube1::PickAnyStep() {
    const std::vector<AttrBase*> all = Attractions(this);
    if (all.empty()) return;
    AttrBase* pick = all[(size_t)RandInt((int)all.size())];
    VECTOR3 entry;
    AttrBaseEntryPoint(pick, &entry);
    if (RouteTo(this, entry.x, entry.z) > 0) EnterWalkTo(pick);
}

// ---- litter and unsticking ----

void Rube1::DropLitter() {
    ENTBASE* root = EntGetRoot(this);
    if (root && LitterFirst(root)) {
        LitterDrop(this, pos.x, pos.z);
        return;
    }
    ENTBASE* parent = node && node->parent ? node->parent->object : nullptr;
    // A log line marks the missing "First" (a debug beep would say nothing headless or unheard).
    DbgPrintf(DBG_GENERAL, "Rube1 %s: no \"First\" to drop litter under; dropped under %s\n", name,
              parent ? parent->GetName() : "(none)");
    if (!parent) return;
    auto* litter = static_cast<Litter*>(EntCreateChild("Litter", parent));
    if (!litter) return;
    litter->pos = VECTOR3{pos.x, 0.0f, pos.z};
    litter->Start();
}

void Rube1::Unstick() {
    RouteWalkUnstick(Grid(), &pos);
}

// ---- the attraction's calls ----

void Rube1::PatronPlace(AttrBase* attraction, int place, const VECTOR3* entry) {
    RubeVisitPlace(this, attraction, place, entry);
}

void Rube1::PatronSentAway(AttrBase*) {
    Boot();
}

void Rube1::PatronRideOver(AttrBase* attraction) {
    RubeVisitRideOver(this, attraction);
}

void Rube1::PatronSit(AttrBase* attraction, int, const Mat4* seatMatrix) {
    RubeVisitSit(this, attraction, seatMatrix);
}
