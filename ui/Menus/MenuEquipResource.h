// The build catalogue: the attraction types of one category three rows at a time, with picture,
// name, running cost, deposit and description. In career mode a type not yet unlocked shows a
// lock and the rank that opens it, and one the cash cannot cover shows the money icon; neither
// can be chosen. OK hands the chosen type and its list index to the HUD, which then places it.
// The game is paused while the catalogue is open.
#pragma once

#include "I3d/Math/SmoothFloat.h"
#include "engine/EntRef.h"
#include "ui/Menu3Base.h"

#include <cstdint>
#include <vector>

class AttrInfo;
class MtGame;
class StaticGraphic;

enum : int32_t {
    EQUIP_FOOD = 1,
    EQUIP_GOC = 2,
    EQUIP_RIDES = 3,
    EQUIP_UTILITY = 4,
    EQUIP_UP = 5,
    EQUIP_DOWN = 6,
    EQUIP_OK = 7,
    EQUIP_CANCEL = 8,
    EQUIP_THUMB = 9,   // + row
    EQUIP_TITLE = 12,  // + row
    EQUIP_TEXT = 15,   // + row
    EQUIP_LOCKED = 18, // + row
    EQUIP_HIGHLIGHT = 21,
    EQUIP_SELECT = 22, // + row
    EQUIP_MONEY = 25,  // + row
    EQUIP_RANK = 28,   // + row
    EQUIP_ROWS = 3,
};

// The category shown last; the next opening starts on it.
extern int32_t g_catalogueCategory;

class MenuEquipResource : public Menu3Base {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MenuEquipResource"; }
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    // The HUD to return to and where the chosen type and its index go.
    void SetOpenArgs(const MenuOpenArgs& args) override;

    // The y of a row's centre.
    static float RowY(int32_t row) { return 362.0f + 120.0f * float(row); }
    // Only in career mode: the type's character in the career's unlock string is not '+' (an
    // index past the string counts as locked).
    bool IsLocked(const AttrInfo* type);
    // Only in career mode: the deposit is more than the cash.
    bool TooDear(const AttrInfo* type);
    void Filter(int32_t category);

    int32_t shownCount = 0;
    int32_t totalCount = 0;
    int32_t top = 0;
    int32_t row = 0;
    StaticGraphic* highlight = nullptr;
    SmoothFloat highlightY;
    float pulseTime = 0.0f;
    std::vector<AttrInfo*> entries;
    AttrInfo** chosenType = nullptr;
    int32_t* chosenIndex = nullptr;
    EntRef hud;

  private:
    MtGame* Game();
    void FillRows();
    void UpdateButtons();
    void Scroll(int32_t d);
    void Close();
};

// Opens the catalogue under the parent for the HUD, with where the choice goes; null when it
// cannot be made.
Menu3Base* MenuEquipResourceOpen(ENTBASE* parent, ENTBASE* hud, AttrInfo** chosenType,
                                 int32_t* chosenIndex);

// Class "MenuEquipResource".
intptr_t EcMenuEquipResourceProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
