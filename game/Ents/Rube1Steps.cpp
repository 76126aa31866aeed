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
#include "game/RubeRules.h"
#include "game/WaypointPath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {
bool HasPoints(const WaypointPath* route) {
    return route && route->count > 0;
}

// Aims the direction at the route's current point; a point underfoot keeps the old direction.
void AimAtCurrent(Rube1* p) {
    if (!HasPoints(p->route) || p->route->current >= p->route->count) return;
    const VECTOR3& at = p->route->points[p->route->current];
    const float dx = at.x - p->pos.x;
    const float dz = at.z - p->pos.z;
    const float len = std::sqrt(dx * dx + dz * dz);
    if (!(len > 1e-6f)) return;
    p->direction = VECTOR3{dx / len, 0.0f, dz / len};
}

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
    GameGridCore* grid = p->Grid();
    if (!grid || !p->route) return 0;
    const VECTOR3 to = {x, 0.0f, z};
    const int n = GameGridRoute(grid, p->route, &p->pos, &to);
    p->route->current = 0;
    return n;
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
    if (!HasPoints(route)) return false;
    LeaveInside();
    route->current = 0;
    AimAtCurrent(this);
    running = false;
    PlayAnim(RUBE_ANIM_WALK);
    speed = 2.0f + speedBase;
    state = RUBE_WANDER;
    return true;
}

bool Rube1::EnterWalkTo(AttrBase* attraction) {
    if (!HasPoints(route) || !attraction) return false;
    LeaveInside();
    target = EntRef(attraction);
    route->current = 0;
    AimAtCurrent(this);
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
    if (RouteTo(this, exitPoint.x, exitPoint.z) <= 0 || !HasPoints(route)) {
        // No way home (no grid, or the exit walled in or outside it): gone at once rather than
        // holding a place for ever.
        if (route) route->count = 0;
        done = true;
        return;
    }
    AimAtCurrent(this);
    PlayAnim(RUBE_ANIM_WALK);
    speed = 2.0f + speedBase;
}

void Rube1::Boot() {
    const MtGame* game = Game();
    happiness += game ? game->gameVals.hapBootedQueue : 0.0f;
    speed = 0.0f;
    placeX = placeZ = 0.0f;
    EnterThink();
    animMode = 0;
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
        icon.cell = RubeNeedIcon(RubeChooseNeed(this));
        icon.duration = 4.0f;
        icon.timeLeft = 4.0f;
        icon.elapsed = 0.0f;
    }
    pos.x += direction.x * speed * seconds;
    pos.z += direction.z * speed * seconds;
    heading.SetTarget(std::atan2(direction.x, direction.z));
    heading.Update(seconds);

    const bool hadPoint = route->current >= 0 && route->current < route->count;
    const VECTOR3 point = hadPoint ? route->points[route->current] : pos;
    int reached = WaypointPathReached(route, pos);
    if (reached == 0 && hadPoint) {
        // A step longer than the window jumps over it; a point now behind counts as reached.
        const float ahead = (point.x - pos.x) * direction.x + (point.z - pos.z) * direction.z;
        if (ahead < 0.0f) {
            if (route->current + 1 >= route->count) {
                route->current = 0;
                reached = 2;
            } else {
                ++route->current;
                reached = 1;
            }
        }
    }
    if (reached == 1) AimAtCurrent(this);
    if (reached != 2) return false;
    if (route->cut) {
        // The grid cut the route short: the rest of the way from here.
        const VECTOR3 goal = route->goal;
        if (RouteTo(this, goal.x, goal.z) > 0) {
            AimAtCurrent(this);
            return false;
        }
    }
    return true;
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
    if (root && EntTreeFindName(root, "First")) {
        LitterDrop(this, pos.x, pos.z);
        return;
    }
    ENTBASE* parent = node && node->parent ? node->parent->object : nullptr;
    DbgPrintf(DBG_GENERAL, "Rube1 %s: no \"First\" to drop litter under; dropped under %s\n", name,
              parent ? parent->GetName() : "(none)");
    if (!parent) return;
    auto* litter = static_cast<Litter*>(EntCreateChild("Litter", parent));
    if (!litter) return;
    litter->pos = VECTOR3{pos.x, 0.0f, pos.z};
    litter->Start();
}

void Rube1::Unstick() {
    GameGridCore* grid = Grid();
    if (!grid || !grid->cells) return;
    int cx = 0, cz = 0;
    // Outside the grid nothing is blocked, and nothing may be read.
    if (!GameGridWorldToCell(grid, pos.x, pos.z, &cx, &cz)) return;
    if (!GameGridCellBlocked(grid, cx, cz)) return;
    auto cellFree = [&](int x, int z) { return grid->cells[(size_t)z * grid->cols + x] >= 0.0f; };
    const int steps[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}}; // +z, -z, +x, -x
    int best = -1, bestDistance = 0;
    for (int d = 0; d < 4; ++d) {
        int x = cx, z = cz;
        for (int distance = 1;; ++distance) {
            x += steps[d][0];
            z += steps[d][1];
            if (x < 0 || z < 0 || x >= grid->cols || z >= grid->rows) break;
            if (cellFree(x, z)) {
                if (best < 0 || distance < bestDistance) {
                    best = d;
                    bestDistance = distance;
                }
                break;
            }
        }
    }
    if (best < 0) return;
    pos.x += (float)(steps[best][0] * bestDistance * (int)grid->tileWidth);
    pos.z += (float)(steps[best][1] * bestDistance * (int)grid->tileHeight);
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
