// The power grid: one slot per consumer or producer of electricity, the running totals and the
// load (demand / supply) that attractions test for overload. The venue script makes one; the
// attractions find it by its type "MtPowerGrid", never by name.
#pragma once

#include "engine/EntBase.h"

#include <cstdint>

class MtGame;

struct MtPowerSlot {
    ENTBASE* owner = nullptr; // null: free
    float demand = 0.0f;
    float supply = 0.0f;
};

class MtPowerGrid : public ENTBASE {
  public:
    MtPowerGrid() = default;
    ~MtPowerGrid() override;

    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override;
    const char* GetTypeName() override { return "MtPowerGrid"; }
    int Create(EntNode* node) override;
    int Start() override;
    // Announces its removal (holders forget the grid), frees the table, then the base destroy.
    int Destroy() override;
    void SetClassFlags(uint32_t word);

    int32_t numSlots = 200;
    int32_t usedCount = 0; // one past the highest slot taken since the last Start
    MtPowerSlot* slots = nullptr;
    float supplyTotal = 0.0f;
    float demandTotal = 0.0f;
    float load = 0.0f;
};

intptr_t EcMtPowerGridProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// Sets the owner's slot (taking a free one when it has none) to these values and brings the
// totals and the load up to date. A full table, or a null owner, is ignored.
void MtPowerGridUse(MtPowerGrid* grid, ENTBASE* owner, float supply, float demand);
// Frees the owner's slot; false when it has none.
bool MtPowerGridRemove(MtPowerGrid* grid, ENTBASE* owner);
// Strictly above 1.0; a null grid is never overloaded.
bool MtPowerGridOverloaded(const MtPowerGrid* grid);
// The load, 0 for a null grid.
float MtPowerGridLoad(const MtPowerGrid* grid);
