// The carny's tasks: entering them, the choice it makes every 4 s of idling, and the steps of
// walking, repairing, sweeping and sleeping.
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/Random.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"
#include "game/Ents/Litter.h"
#include "game/GameGridCore.h"
#include "game/MtGame.h"
#include "game/RouteWalk.h"
#include "game/WaypointPath.h"

#include <cmath>

namespace {
// Searches consider the first entities of a type in tree order, at most this many.
enum { kMaxConsidered = 100 };
constexpr float kLitterRange = 1000.0f;
constexpr float kWalkSpeed = 2.0f;
constexpr float kSweepSeconds = 2.0f;
constexpr float kSleepSeconds = 8.0f;

enum CarnyIconCell { ICON_REPAIR = 28, ICON_SLEEP = 29, ICON_WALK = 30, ICON_SWEEP = 31 };

void Face(Carny* c, float x, float z) {
    const float dx = x - c->pos.x, dz = z - c->pos.z;
    if (dx * dx + dz * dz > 1e-12f) c->heading.SetTarget(std::atan2(dx, dz));
}

// Bins and seats: what a carny opens again once it has seen to them.
bool ReopensAfterRepair(const AttrBase* attr) {
    return attr->info &&
           (attr->info->needs[NEED_TRASH] > 0.25f || attr->info->needs[NEED_REST] > 0.25f);
}
} // namespace

// ---- entering tasks ----

void Carny::EnterIdle() {
    direction = VECTOR3{0.0f, 0.0f, 1.0f};
    speed = 0.0f;
    taskTimer = 0.0f;
    target = EntRef();
    PlayAnim(CARNY_ANIM_IDLE);
    task = CARNY_IDLE;
}

bool Carny::EnterWalk(int next) {
    if (!RouteWalkHasPoints(route)) return false;
    route->current = 0;
    RouteWalkAim(route, pos, &direction);
    heading.SetTarget(std::atan2(direction.x, direction.z));
    speed = kWalkSpeed;
    icon.Show(ICON_WALK, 10.0f);
    PlayAnim(CARNY_ANIM_WALK);
    nextTask = next;
    task = CARNY_WALK;
    return true;
}

void Carny::EnterRepair() {
    speed = 0.0f;
    icon.Show(ICON_REPAIR, 10.0f);
    PlayAnim(RandInt(2) == 0 ? CARNY_ANIM_POUND : CARNY_ANIM_WRENCH);
    if (const ENTBASE* attr = target.Get()) {
        const auto* a = static_cast<const AttrBase*>(attr);
        Face(this, a->pos.x, a->pos.z);
    }
    task = CARNY_REPAIR;
}

// The icons of sweeping and sleeping last as long as the task.
void Carny::EnterSweep() {
    taskTimer = kSweepSeconds;
    speed = 0.0f;
    icon.Show(ICON_SWEEP, kSweepSeconds);
    PlayAnim(CARNY_ANIM_SWEEP);
    task = CARNY_SWEEP;
}

void Carny::EnterSleep() {
    taskTimer = kSleepSeconds;
    speed = 0.0f;
    icon.Show(ICON_SLEEP, kSleepSeconds);
    PlayAnim(RandInt(2) == 0 ? CARNY_ANIM_NAP : CARNY_ANIM_SLEEPY);
    task = CARNY_SLEEP;
}

// ---- the choice ----

void Carny::Decide() {
    GameGridCore* grid = Grid();
    ENTBASE* root = EntGetRoot(this);

    // Read through the checked test: a carny hired at a spawn point off the grid has no cell.
    int cx = -1, cz = -1;
    if (grid) GameGridWorldToCell(grid, pos.x, pos.z, &cx, &cz);
    if (grid && GameGridCellBlocked(grid, cx, cz)) {
        RouteWalkUnstick(grid, &pos);
        nextTask = CARNY_IDLE;
        task = CARNY_IDLE;
        return;
    }

    ENTBASE* found[kMaxConsidered];
    const int attrs = root ? EntFindAllOfType(root, "AttrBase", found, kMaxConsidered) : 0;
    AttrBase* asking[kMaxConsidered];
    int askingCount = 0;
    for (int i = 0; i < attrs; ++i) {
        auto* a = static_cast<AttrBase*>(found[i]);
        if (a->closed && a->repairMe && a->repair < 1.0f) asking[askingCount++] = a;
    }
    if (askingCount > 0) {
        AttrBase* pick = asking[RandInt(askingCount)];
        VECTOR3 entry;
        AttrBaseEntryPoint(pick, &entry);
        if (RouteWalkTo(grid, route, pos, entry.x, entry.z) > 0) {
            target = EntRef(pick);
            if (EnterWalk(CARNY_REPAIR)) return;
        }
        target = EntRef();
    }

    const int pieces = root ? EntFindAllOfType(root, "Litter", found, kMaxConsidered) : 0;
    Litter* nearest = nullptr;
    float nearestDistance = kLitterRange;
    for (int i = 0; i < pieces; ++i) {
        const VECTOR3& at = static_cast<Litter*>(found[i])->pos;
        const float dx = at.x - pos.x, dy = at.y - pos.y, dz = at.z - pos.z;
        const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (distance < nearestDistance) {
            nearest = static_cast<Litter*>(found[i]);
            nearestDistance = distance;
        }
    }
    if (nearest) {
        if (RouteWalkTo(grid, route, pos, nearest->pos.x, nearest->pos.z) > 0 &&
            RouteWalkHasPoints(route)) {
            litterTarget = EntRef(nearest);
            EnterWalk(CARNY_SWEEP);
            return;
        }
        litterTarget = EntRef();
    }

    if (RandInt(10) >= 7) {
        EnterSleep();
        return;
    }
    if (!grid) return;
    const int x = RandInt(grid->cols - 1);
    const int z = RandInt(grid->rows - 1);
    if (GameGridCellBlocked(grid, x, z)) return;
    float wx = 0.0f, wz = 0.0f;
    GameGridCellToWorld(grid, x, z, &wx, &wz);
    if (RouteWalkTo(grid, route, pos, wx, wz) > 0) EnterWalk(CARNY_IDLE);
}

// ---- steps ----

void Carny::WalkStep(float seconds) {
    const bool arrived = RouteWalkStep(Grid(), route, &pos, &direction, speed, seconds);
    heading.SetTarget(std::atan2(direction.x, direction.z));
    heading.Update(seconds);
    if (!arrived) return;
    switch (nextTask) {
        case CARNY_REPAIR: EnterRepair(); break;
        case CARNY_SWEEP: EnterSweep(); break;
        case CARNY_SLEEP: EnterSleep(); break;
        default: EnterIdle(); break;
    }
}

void Carny::RepairStep(float seconds) {
    auto* attr = static_cast<AttrBase*>(target.Get());
    if (!attr || !attr->closed || !attr->repairMe) {
        EnterIdle();
        return;
    }
    heading.Update(seconds);
    const MtGame* game = Game();
    const float rate = game ? game->gameVals.carnyRepairRate : 0.0f;
    if (AttrBaseRepairStep(attr, seconds * rate)) return;
    // Done, or broken for good: the step answers false for both, and only a repaired bin or
    // seat is opened again.
    if (ReopensAfterRepair(attr) && attr->repair < 1.0f) AttrBaseSetClosed(attr, false);
    attr->repairMe = 0;
    EnterIdle();
}

void Carny::SweepStep(float seconds) {
    taskTimer -= seconds;
    if (taskTimer >= 0.0f) return;
    if (ENTBASE* litter = litterTarget.Get()) {
        DbgPrintf(DBG_GENERAL, "%s is about to destroy Litter: %s:\n", name, litter->GetName());
        litterTarget = EntRef();
        EntDestroyTree(litter);
    }
    EnterIdle();
}

void Carny::SleepStep(float seconds) {
    taskTimer -= seconds;
    if (taskTimer < 0.0f) EnterIdle();
}
