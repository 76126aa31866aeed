// "SELECT A VENUE": the venues of the game's list three rows at a time, each with its thumbnail,
// title and daily rent, and description; a pulsing highlight glides to the chosen row. In career
// mode a venue not yet unlocked shows a lock and the rank that opens it, and cannot be chosen.
// Next sets the venue on the game and opens the venue set-up; Back returns to the opener's menu.
#pragma once

#include "I3d/Math/SmoothFloat.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class MtGame;
class StaticGraphic;
class VenueInfo;

enum : int32_t {
    MIDWAY_NEXT = 0,
    MIDWAY_BACK = 1,
    MIDWAY_UP = 2,
    MIDWAY_DOWN = 3,
    MIDWAY_THUMB = 4,   // + row
    MIDWAY_TITLE = 7,   // + row
    MIDWAY_TEXT = 10,   // + row
    MIDWAY_LOCKED = 13, // + row
    MIDWAY_SELECT = 16, // + row
    MIDWAY_RANK = 19,   // + row
    MIDWAY_HIGHLIGHT = 22,
    MIDWAY_ROWS = 3,
};

class MenuMidwaySelector : public Menu3Base {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MenuMidwaySelector"; }
    int Create(EntNode* node) override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    // The class name Back opens comes in as the return class.
    void SetOpenArgs(const MenuOpenArgs& args) override;

    void SetReturnTo(const char* className);
    // The row's venue is locked: career mode and the career's unlock character there is not
    // '+' (characters past the end of the career's string count as locked).
    bool IsLocked(int32_t venue);
    // The y the highlight glides to for a row.
    static float RowY(int32_t row) { return 314.0f + 120.0f * float(row); }

    char returnTo[MENU_CLASS_NAME_MAX + 1] = {};
    int32_t venueCount = 0;
    int32_t top = 0;
    int32_t row = 0;
    StaticGraphic* highlight = nullptr;
    SmoothFloat highlightPos;
    float pulse = 0.0f;

  private:
    MtGame* Game();
    const VenueInfo* Venue(int32_t index);
    void FillRows();
    void Refresh();
    void Choose(int32_t newRow);
    int Next();
};

// Creates the selector under the parent with the class name Back opens (null: none) and starts
// it; null when it cannot be made.
Menu3Base* MenuMidwaySelectorOpen(ENTBASE* parent, const char* returnTo);

// Class "MenuMidwaySelector".
intptr_t EcMenuMidwaySelectorProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
