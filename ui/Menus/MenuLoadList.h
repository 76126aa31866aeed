// The common part of the three load screens (careers, sandboxes, layouts): a table of the save
// folder's entries in a scrolling list with its pulsing highlight bar, and Start, Delete, Back,
// Up and Down. It has no class of its own: only the screens made from it are created by name.
#pragma once

#include "platform/FolderSearch.h"
#include "ui/Menu3Base.h"
#include "ui/ScrollList.h"

#include <cstdint>
#include <string>
#include <vector>

class Font;
class MtGame;
class ReportSink;
class StaticGraphic;

// Control ids every load screen shares.
enum : int32_t {
    LOAD_START = 0,
    LOAD_DELETE = 1,
    LOAD_BACK = 2,
    LOAD_UP = 3,
    LOAD_DOWN = 4,
    LOAD_LIST = 5,
    LOAD_HIGHLIGHT = 6,
};

enum { LOAD_ROWS_MAX = 500, LOAD_NAME_MAX = 260 };

// One row: the save's name and two numbers whose meaning is the screen's (a career's cash and
// days, a sandbox's venue id, a layout's marker).
struct LoadEntry {
    char name[LOAD_NAME_MAX + 1] = {};
    int32_t first = 0;
    int32_t second = 0;
};

class MenuLoadList : public Menu3Base {
  public:
    ~MenuLoadList() override;
    int Create(EntNode* node) override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    // Also the return from the delete question: a confirmed delete removes the entry's save and
    // fills the table again.
    void SetActive() override;
    // The list's cells in the list font.
    void DrawList();
    // The headers and the visible rows' cells; nothing at all while no row is shown.
    void ListCells(ReportSink& sink);
    // Empties the table, fills it from the save folder and selects row 0.
    void Fill();

    ScrollList list;
    Font* font = nullptr; // found by name and held: its loader may let it go first
    MtGame* mtGame = nullptr;
    uint8_t deleteConfirmed = 0;
    std::vector<LoadEntry> entries;
    float pulsePhase = 0.0f;
    StaticGraphic* highlight = nullptr;

  protected:
    // ---- what each screen says ----
    virtual const char* ClassName() const = 0;
    virtual const char16_t* Title() const = 0;
    virtual void FillEntries() = 0;
    virtual void RowCells(ReportSink& sink) = 0;
    // Loads the selected row and opens the next screen; the screen it opened, or null.
    virtual Menu3Base* StartSelected() = 0;
    virtual bool CanDelete() const { return !entries.empty(); }
    virtual void DeleteSelected() = 0;
    virtual const char* BackClass() const = 0;

    // ---- for the screens ----
    // The row names of the folder's entries of the kind matching the pattern: each entry's name
    // without its first `front` and last `back` characters, kept only when the save layer's name
    // check takes it (a name no save could have made could be neither loaded nor deleted; each
    // one refused is logged), sorted by PlatNameLess, at most as many as the table has room for;
    // a longer list is cut with a log line. Sorted rather than in the folder search's order: that
    // order is the file system's (no order at all on most Linux ones), so the rows would shuffle
    // between runs; sorted, they come as a case-blind file search lists them.
    std::vector<std::string> Search(const std::string& folder, const char* pattern,
                                    PlatFindKind kind, size_t front = 0, size_t back = 0);
    // Adds a row (false when the table is full).
    bool Add(const char* name, int32_t first, int32_t second);
    const LoadEntry* Selected() const;
    // "LOAD FAILED" over this screen, which waits behind it.
    void ShowLoadFailed(const char* name);
    // The row's y.
    float RowY(int32_t row) const;
    // The visible rows, first to last (exclusive).
    int32_t FirstShown() const { return list.top; }
    int32_t EndShown() const;

  private:
    void AskDelete();
};

inline constexpr uint32_t kLoadHeaderColour = 0xFFFFFFFFu;
inline constexpr uint32_t kLoadRowColour = 0xFFFFFF00u;
inline constexpr float kLoadHeaderY = 240.0f;
