// The report list base: set-up, the pulsing bar, scrolling, row picks, closing.
#include "ui/Menus/MenuReportBase.h"

#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/FrameClock.h"
#include "engine/Script/ScriptMgr.h"
#include "game/MtGame.h"
#include "ui/Ctl3Base.h"
#include "ui/Custom.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/MenuReportRows.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {
constexpr float kScrollSeconds = 0.1f;

int DrawListHook(intptr_t user) {
    if (auto* report = reinterpret_cast<MenuReportBase*>(user)) report->DrawList();
    return 1;
}

// The header text the kit's panel made: the last text among the menu's controls.
StaticText* LastText(ENTBASE* menu) {
    StaticText* found = nullptr;
    if (!menu || !menu->node) return nullptr;
    for (EntNode* c = menu->node->firstChild; c; c = c->next)
        if (auto* t = c->deleteCount ? nullptr : dynamic_cast<StaticText*>(c->object)) found = t;
    return found;
}

// The screen's script, run once for its Create. The script is auto-deleting: the script manager
// frees it once it has finished, so the report forgets it as soon as the call returns.
void RunCreateScript(MenuReportBase* menu, const char* scriptPath) {
    LuaScript* script = LuaScriptNew();
    if (!script) return;
    script->SetAutoDelete(1);
    menu->createScript = script;
    // Every menu script defines the same global: a stale one would be another menu's.
    LuaSetGlobalNil("Create");
    const std::string path = std::string(Ctl3DataFolder()) + scriptPath;
    if (script->RunFile(path.c_str()) == 1 && LuaGlobalIsFunction("Create")) {
        script->GetGlobal("Create");
        script->PushPtr(menu);
        script->Call(1, 0);
    }
    menu->createScript = nullptr;
}
} // namespace

Menu3Base* MenuReportOpen(const char* className, ENTBASE* parent, ENTBASE** viewed,
                          ENTBASE* opener) {
    MenuOpenArgs args;
    args.returnMenu = opener;
    args.out[0] = viewed;
    return MenuOpen(className, parent, &args);
}

// ---- set-up ----

int MenuReportBase::Create(EntNode* n) {
    // No menu scale is set: menus are drawn at scale 1, which no field needs to hold.
    Menu3Base::Create(n);
    rowCount = 0;
    rowsPerPage = 12;

    const std::string fonts = std::string(Ctl3DataFolder()) + "\\Fonts\\";
    smallFont = FontAcquire((fonts + "Georgia_14").c_str());
    if (!smallFont)
        DbgPrintf(DBG_GENERAL, "Report: font %s not loaded; its text is not drawn\n", "Georgia_14");
    // Held while the report is open, so the kit's headings find it in the cache.
    largeFont = FontAcquire((fonts + "Georgia_20").c_str());
    rowHeight = FontRowHeight();
    headerY = 240.0f;
    viewingY = 620.0f;
    columnX[0] = 160.0f;
    columnX[1] = 410.0f;
    columnX[2] = 510.0f;
    columnX[3] = 610.0f;
    listLeft = 160.0f;
    listTop = 280.0f;
    listRight = 866.0f;
    listBottom = listTop + 12.0f * rowHeight;

    LuaSetGlobalNumber(-1.0, "C_STATIC");
    LuaSetGlobalNumber(REPORT_UP, "C_UP");
    LuaSetGlobalNumber(REPORT_DOWN, "C_DOWN");
    LuaSetGlobalNumber(REPORT_OK, "C_OK");
    LuaSetGlobalNumber(REPORT_VIEW, "C_VIEW");
    LuaSetGlobalNumber(REPORT_HIGHLIGHT, "C_HIGHLIGHT");
    mtGame = dynamic_cast<MtGame*>(EntTreeFindType(EntGetRoot(this), "MtGame"));
    game = mtGame;
    RunCreateScript(this, "Menu\\EquipResource\\EquipResource.lua");

    MenuKitDimBackground(this);
    if (MenuKitLargePanelHeader(512.0f, 428.0f, u"", this)) title = LastText(this);
    MenuKitButtonOk(REPORT_OK, 582.0f, 663.0f, this);
    MenuKitButtonView(REPORT_VIEW, 332.0f, 663.0f, this);
    MenuKitButtonUp(REPORT_UP, 60.0f, 200.0f, this);
    MenuKitButtonPageUp(REPORT_PAGE_UP, 60.0f, 260.0f, this);
    MenuKitButtonPageDown(REPORT_PAGE_DOWN, 60.0f, 560.0f, this);
    MenuKitButtonDown(REPORT_DOWN, 60.0f, 620.0f, this);

    if (auto* list = MenuKitMake<Custom>("Custom", this, REPORT_LIST, 0.0f, 0.0f, nullptr)) {
        list->drawFn = DrawListHook;
        list->user = reinterpret_cast<intptr_t>(this);
        list->Start();
    }
    highlight = MenuKitMake<StaticGraphic>("StaticGraphic", this, REPORT_HIGHLIGHT, kReportBarX,
                                           listTop, nullptr, "Highlight");
    if (highlight) {
        highlight->horizAlign = 1;
        highlight->width = kReportBarWidth;
        highlight->height = rowHeight;
        highlight->colour = kReportBarColour;
        std::snprintf(highlight->textureName, sizeof highlight->textureName, "Highlight");
        highlight->Start();
    }

    FocusCtl(REPORT_OK);
    LinkCtlNav(REPORT_VIEW, REPORT_OK, REPORT_OK, REPORT_OK, REPORT_OK);
    LinkCtlNav(REPORT_OK, REPORT_VIEW, REPORT_VIEW, REPORT_VIEW, REPORT_VIEW);

    if (mtGame) {
        MtGamePause(mtGame);
        pausedGame = 1;
    } else {
        DbgPrintf(DBG_GENERAL, "Report: no game object; nothing to pause or report\n");
    }

    scroll.SetTime(kScrollSeconds);
    scroll.SetImmediate(listTop + (float(selected - firstVisible) + 0.5f) * rowHeight);
    return 1;
}

float MenuReportBase::FontRowHeight() const {
    return smallFont ? smallFont->cellHeight + 2.0f : kReportFallbackRowHeight;
}

int MenuReportBase::Start() {
    if (viewedOut) *viewedOut = nullptr;
    return 1;
}

void MenuReportBase::SetOpenArgs(const MenuOpenArgs& args) {
    opener = EntRef(args.returnMenu);
    viewedOut = static_cast<ENTBASE**>(args.out[0]);
}

int MenuReportBase::Destroy() {
    // Only what was acquired goes back.
    if (smallFont) SharedObjRelease(smallFont);
    if (largeFont) SharedObjRelease(largeFont);
    smallFont = largeFont = nullptr;
    if (pausedGame && mtGame) mtGame->RestoreClockSpeed();
    pausedGame = 0;
    return Menu3Base::Destroy();
}

int MenuReportBase::OnEntityRemoved(ENTBASE* gone) {
    if (gone == mtGame) mtGame = nullptr, game = nullptr;
    ForgetEntity(gone);
    return 1;
}

// ---- per frame ----

int MenuReportBase::Update(float) {
    const float dt = g_frameSeconds;
    if (std::isfinite(dt) && dt > 0.0f) pulsePhase = std::fmod(pulsePhase + dt, 1.0f);
    scroll.Update(dt);
    if (highlight) {
        highlight->SetPos2D(kReportBarX, scroll.value);
        highlight->colour = ReportBarColour(pulsePhase);
    }
    return Menu3Base::Update(dt);
}

// ---- the list ----

void MenuReportBase::ResetSelection() {
    firstVisible = 0;
    selected = 0;
    scroll.SetTarget(listTop + rowHeight * 0.5f);
}

void MenuReportBase::SnapScroll(bool snap) {
    const float y = listTop + float(selected - firstVisible) * rowHeight + rowHeight * 0.5f;
    scroll.SetTarget(y);
    if (snap) scroll.SetImmediate(y);
}

int32_t MenuReportBase::RowAt(float x, float y) const {
    if (!(x >= listLeft && x <= listRight && y >= listTop && y <= listBottom)) return -1;
    if (!(rowHeight > 0.0f)) return -1;
    const int32_t row = firstVisible + int32_t((y - listTop) / rowHeight);
    return row < rowCount ? row : -1;
}

void MenuReportBase::SelectRow(int32_t index) {
    if (index < 0 || index >= rowCount) return;
    selected = index;
    if (index < firstVisible) firstVisible = index;
    if (index > firstVisible + rowsPerPage - 1) firstVisible = index - rowsPerPage + 1;
    SnapScroll(false);
}

void MenuReportBase::LineUp() {
    if (rowCount <= 0) return;
    if (selected > 0) --selected;
    if (selected < firstVisible) firstVisible = selected;
    SnapScroll(false);
}

void MenuReportBase::LineDown() {
    if (rowCount <= 0) return;
    if (selected < rowCount - 1) ++selected;
    if (selected > firstVisible + rowsPerPage - 1) firstVisible = selected - rowsPerPage + 1;
    SnapScroll(false);
}

void MenuReportBase::PageUp() {
    if (rowCount <= 0) return;
    firstVisible = firstVisible - rowsPerPage < 0 ? 0 : firstVisible - rowsPerPage;
    selected = selected - rowsPerPage < 0 ? 0 : selected - rowsPerPage;
    SnapScroll(true);
}

namespace {
int32_t ClampPageDown(int32_t value, int32_t count, int32_t page) {
    if (value > count - 1) return count - 1;
    if (value > count - page) return count - page;
    return value;
}
} // namespace

void MenuReportBase::PageDown() {
    if (rowCount <= 0) return;
    firstVisible = ClampPageDown(firstVisible + rowsPerPage, rowCount, rowsPerPage);
    selected = ClampPageDown(selected + rowsPerPage, rowCount, rowsPerPage);
    // A list shorter than a page would put its top on a negative row.
    if (firstVisible < 0) firstVisible = 0;
    if (selected < 0) selected = 0;
    SnapScroll(true);
}

int32_t MenuReportBase::LastShownRow() const {
    const int32_t first = firstVisible < 0 ? 0 : firstVisible;
    return first + rowsPerPage < rowCount ? first + rowsPerPage : rowCount;
}

// ---- input ----

void MenuReportBase::Close() {
    if (ENTBASE* back = opener.Get()) back->SetActive();
    EntDestroyTree(this);
}

bool MenuReportBase::ViewEntity(ENTBASE* entity) {
    if (!entity) return false;
    CameraVantorFocusEnt(EntGetRoot(this), entity);
    if (viewedOut) *viewedOut = entity;
    Close();
    return true;
}

void MenuReportBase::SetTitle(const char16_t* text) {
    if (title) title->SetTextW(text);
}

int MenuReportBase::OnMessage(const SlEvent* e) {
    if (!active) return 0;
    if (!e) return 1;
    if (e->type == SL_MOUSEPOS) {
        mouseX = SlUnpackFloat(e->a);
        mouseY = SlUnpackFloat(e->b);
        return 1;
    }
    if (e->type == SL_MOUSE0DOWN) {
        // A report opened under a still pointer has heard no move: the row is the one under it.
        Ctl3PointerAt(&mouseX, &mouseY);
        const int32_t row = RowAt(mouseX, mouseY);
        if (row >= 0) SelectRow(row);
        return 1;
    }
    if (e->type != CTL3_EVENT || e->b != CTL3_CLICK) return 1;
    switch (e->a) {
        case REPORT_UP: LineUp(); return 1;
        case REPORT_DOWN: LineDown(); return 1;
        case REPORT_PAGE_UP: PageUp(); return 1;
        case REPORT_PAGE_DOWN: PageDown(); return 1;
        case REPORT_OK: Close(); return 0;
        case REPORT_VIEW: {
            const bool inList = selected >= 0 && selected < rowCount;
            return inList && ViewEntity(RowEntity(selected)) ? 0 : 1;
        }
        default: return 1;
    }
}

// ---- drawing ----

void MenuReportBase::DrawList() {
    ReportDrawSink sink(smallFont);
    ListCells(sink);
}
