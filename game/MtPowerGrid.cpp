// The power grid's class, its slot table and the totals: owners put their supply and demand in
// one slot each, and the load is recomputed from the table after every change.
#include "game/MtPowerGrid.h"

#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"

#include <cmath>
#include <new>

namespace {

constexpr int32_t kCreatedSlots = 100;
// Far more than a venue can place; a larger value is a damaged file, not a plan.
constexpr int32_t kMaxSlots = 65536;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MtPowerGrid");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MtPowerGrid, name), 32);
        PropDbAddInt(&s_db, "numSlots", PROP_OFFSET(MtPowerGrid, numSlots), 200);
    }
    return &s_db;
}

void ResetClass() {
    WorldClassFlags<MtPowerGrid>::Reset();
}

const WorldClassDef kClass = {"MtPowerGrid", Db, WorldMake<MtPowerGrid>, ResetClass};

// A NaN would poison the totals and the load for good; an infinity gives NaN once removed.
float Checked(float value, const char* what) {
    if (std::isfinite(value)) return value;
    DbgPrintf(DBG_GENERAL, "MtPowerGrid: %s %g is not a number; 0 used\n", what, (double)value);
    return 0.0f;
}

MtPowerSlot* FindSlot(MtPowerGrid* grid, const ENTBASE* owner) {
    for (int32_t i = 0; i < grid->usedCount; ++i)
        if (grid->slots[i].owner == owner) return &grid->slots[i];
    return nullptr;
}

MtPowerSlot* GetOrAddSlot(MtPowerGrid* grid, ENTBASE* owner) {
    if (MtPowerSlot* slot = FindSlot(grid, owner)) return slot;
    for (int32_t i = 0; i < grid->numSlots; ++i) {
        MtPowerSlot& slot = grid->slots[i];
        if (slot.owner) continue;
        slot.owner = owner;
        slot.demand = slot.supply = 0.0f;
        if (i >= grid->usedCount) grid->usedCount = i + 1;
        return &slot;
    }
    return nullptr;
}

// Running totals drift in floats: after suppliers come and go the last removal can leave a few
// millionths of supply, and the load then explodes instead of reading "no supply". Summing the
// table in slot order keeps the totals exactly the sum of the slots.
void Recompute(MtPowerGrid* grid) {
    float supply = 0.0f, demand = 0.0f;
    for (int32_t i = 0; i < grid->usedCount; ++i) {
        if (!grid->slots[i].owner) continue;
        supply += grid->slots[i].supply;
        demand += grid->slots[i].demand;
    }
    grid->supplyTotal = supply;
    grid->demandTotal = demand;
    grid->load = supply > 0.0f ? demand / supply : 2.0f;
}

} // namespace

intptr_t EcMtPowerGridProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

// ---- lifecycle ----

MtPowerGrid::~MtPowerGrid() {
    delete[] slots;
}

int MtPowerGrid::CopyClassName(char* buffer) {
    return WorldCopyClassName("MtPowerGrid", buffer);
}

uint32_t MtPowerGrid::GetClassFlags() {
    return WorldClassFlags<MtPowerGrid>::word;
}

void MtPowerGrid::SetClassFlags(uint32_t word) {
    WorldClassFlags<MtPowerGrid>::word = word;
}

int MtPowerGrid::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    numSlots = kCreatedSlots;
    usedCount = 0;
    delete[] slots;
    slots = nullptr;
    supplyTotal = demandTotal = load = 0.0f;
    return 0;
}

int MtPowerGrid::Start() {
    delete[] slots;
    slots = nullptr;
    if (numSlots < 1) {
        DbgPrintf(DBG_GENERAL, "MtPowerGrid: numSlots %d is below 1; %d used\n", (int)numSlots,
                  (int)kCreatedSlots);
        numSlots = kCreatedSlots;
    } else if (numSlots > kMaxSlots) {
        DbgPrintf(DBG_GENERAL, "MtPowerGrid: numSlots %d is above %d; %d used\n", (int)numSlots,
                  (int)kMaxSlots, (int)kMaxSlots);
        numSlots = kMaxSlots;
    }
    slots = new (std::nothrow) MtPowerSlot[(size_t)numSlots];
    if (!slots) {
        DbgPrintf(DBG_GENERAL, "MtPowerGrid: no memory for %d slots\n", (int)numSlots);
        numSlots = 0;
    }
    usedCount = 0;
    supplyTotal = demandTotal = load = 0.0f;
    if (ENTBASE* game = EntTreeFindType(EntGetRoot(this), "MtGame"))
        MtPowerGridUse(this, game, MtGameVenuePower(static_cast<MtGame*>(game)), 0.0f);
    return 1;
}

int MtPowerGrid::Destroy() {
    // Attractions keep the grid in a class-wide cache and remove themselves from it as they go,
    // some of them after the grid in the same scene clear.
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    delete[] slots;
    slots = nullptr;
    usedCount = 0;
    ENTBASE::Destroy();
    return 1;
}

// ---- slots ----

void MtPowerGridUse(MtPowerGrid* grid, ENTBASE* owner, float supply, float demand) {
    if (!grid || !owner || !grid->slots) return;
    MtPowerSlot* slot = GetOrAddSlot(grid, owner);
    if (!slot) return;
    slot->supply = Checked(supply, "supply");
    slot->demand = Checked(demand, "demand");
    Recompute(grid);
}

bool MtPowerGridRemove(MtPowerGrid* grid, ENTBASE* owner) {
    if (!grid || !owner || !grid->slots) return false;
    MtPowerSlot* slot = FindSlot(grid, owner);
    if (!slot) return false;
    slot->owner = nullptr;
    slot->supply = slot->demand = 0.0f;
    Recompute(grid);
    return true;
}

bool MtPowerGridOverloaded(const MtPowerGrid* grid) {
    return grid && grid->load > 1.0f;
}

float MtPowerGridLoad(const MtPowerGrid* grid) {
    return grid ? grid->load : 0.0f;
}
