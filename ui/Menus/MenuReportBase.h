// The common part of the in-game list reports: a scrolling list of rows inside the standard
// panel, a pulsing highlight bar gliding to the selected row, the scroll, View and OK buttons.
// The game is paused while a report is open. It has no class of its own: only the reports made
// from it are created by name.
#pragma once

#include "I3d/Math/SmoothFloat.h"
#include "engine/EntRef.h"
#include "engine/Input/SlInput.h"
#include "ui/Menu3Base.h"

#include <cstdint>

class Font;
class ReportSink;
class LuaScript;
class MtGame;
class StaticGraphic;
class StaticText;

// Control ids every report shares.
enum : int32_t {
    REPORT_UP = 0,
    REPORT_DOWN = 1,
    REPORT_PAGE_UP = 2,
    REPORT_PAGE_DOWN = 3,
    REPORT_OK = 4,
    REPORT_VIEW = 5,
    REPORT_HIGHLIGHT = 6,
    REPORT_LIST = 7,
    REPORT_EXTRA = 8, // Hire, or the hourly check box
};

enum { REPORT_ROWS_MAX = 500 };

inline constexpr uint32_t kReportRowColour = 0xFFFFFF00u;
inline constexpr uint32_t kReportHeaderColour = 0xFFFFFFFFu;
inline constexpr uint32_t kReportBarColour = 0x4FFFFFFFu;
inline constexpr float kReportBarWidth = 706.0f;
inline constexpr float kReportBarX = 508.0f;
// A missing small font still gives rows of this height (a 16-unit cell + 2).
inline constexpr float kReportFallbackRowHeight = 18.0f;

class MenuReportBase : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override;
    int Destroy() override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    int OnEntityRemoved(ENTBASE* gone) override;
    // returnMenu is the opener; out[0] an ENTBASE** that receives the entity picked with View.
    void SetOpenArgs(const MenuOpenArgs& args) override;
    // Headers and rows, drawn from ListCells.
    virtual void DrawList();
    // The list's cells (headers, rows, the "Viewing" line); the base has none.
    virtual void ListCells(ReportSink& /*sink*/) {}
    // The rows drop an entity that is going.
    virtual void ForgetEntity(ENTBASE* /*gone*/) {}
    // The entity of row `row` (within the count), or null; what View flies to.
    virtual ENTBASE* RowEntity(int32_t /*row*/) { return nullptr; }

    // ---- the list ----
    void ResetSelection();
    void SnapScroll(bool snap);
    int32_t RowAt(float x, float y) const;
    void SelectRow(int32_t index);
    void LineUp();
    void LineDown();
    void PageUp();
    void PageDown();
    // The last row drawn (first visible + rows per page, within the count).
    int32_t LastShownRow() const;
    // The opener made active again and this report destroyed; `this` is gone afterwards.
    void Close();
    // The camera flies to the entity, which is also stored through the out pointer; then Close.
    // Nothing at all for a null entity (false); true when the report has closed.
    bool ViewEntity(ENTBASE* entity);
    // The report's title text (the panel's header).
    void SetTitle(const char16_t* text);

    // ---- fields ----
    EntRef opener;
    LuaScript* createScript = nullptr; // only while the script's Create runs: it deletes itself
    StaticGraphic* highlight = nullptr;
    StaticText* title = nullptr;
    ENTBASE** viewedOut = nullptr;
    SmoothFloat scroll;
    float pulsePhase = 0.0f;
    Font* smallFont = nullptr;
    Font* largeFont = nullptr;
    int32_t firstVisible = 0;
    int32_t selected = 0;
    int32_t rowCount = 0;
    int32_t rowsPerPage = 12;
    float rowHeight = kReportFallbackRowHeight;
    float headerY = 240.0f;
    float viewingY = 620.0f;
    float columnX[4] = {160.0f, 410.0f, 510.0f, 610.0f};
    float listLeft = 160.0f;
    float listTop = 280.0f;
    float listRight = 866.0f;
    float listBottom = 280.0f;
    float mouseX = 0.0f;
    float mouseY = 0.0f;
    MtGame* mtGame = nullptr;
    uint8_t pausedGame = 0;

  protected:
    // The report's row height: the small font's cell height + 2.0, or the fallback.
    float FontRowHeight() const;
};

// Creates the report class under the parent with the opener (made active again when it closes)
// and where View stores the chosen entity (may be null), and starts it; null when the class
// cannot be made.
Menu3Base* MenuReportOpen(const char* className, ENTBASE* parent, ENTBASE** viewed,
                          ENTBASE* opener);
