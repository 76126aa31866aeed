// The reports hub.
#include "ui/Menus/MenuReports.h"

#include "engine/DebugLog.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuReportBase.h"
#include "ui/UiClass.h"

namespace {
struct Choice {
    int32_t id;
    const char16_t* label;
    int y;
    const char* className; // null for Done
};

const Choice kChoices[] = {
    {REPORTS_SUMMARY, u"Summary", 276, "MenuReportSummary"},
    {REPORTS_POWER, u"Power", 314, "MenuReportPower"},
    {REPORTS_MAINT, u"Maintenance", 352, "MenuReportMaint"},
    {REPORTS_EMPLOYEES, u"Employees", 390, "MenuReportEmployees"},
    {REPORTS_HOURLY, u"Hourly Cost", 428, "MenuReportHourly"},
    {REPORTS_DONE, u"Done", 485, nullptr},
};

// Id 4 has no name of its own for the script.
const char* const kNames[] = {"C_SUMMARY", "C_POWER", "C_MAINT", "C_EMPLOYEES", nullptr, "C_DONE"};
} // namespace

int MenuReports::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{kNames, 6, false}, "Menu\\InGame\\MenuReports.lua");
    mtGame = dynamic_cast<MtGame*>(game);
    alpha = 1.0f;
    MenuKitDimBackground(this);
    MenuKitInGamePanel(512.0f, 380.0f, this);
    for (const Choice& c : kChoices)
        MenuKitTextButtonLarge(c.id, c.label, 512, c.y, this);
    // Up and down also step round the six choices, as on every screen a pad can drive.
    for (int32_t id = REPORTS_SUMMARY; id <= REPORTS_DONE; ++id) {
        const int32_t up = id == REPORTS_SUMMARY ? REPORTS_DONE : id - 1;
        const int32_t down = id == REPORTS_DONE ? REPORTS_SUMMARY : id + 1;
        LinkCtlNav(id, up, down, id, id);
    }
    MenuFinishConcrete(this, "MenuReports");
    FocusCtl(REPORTS_SUMMARY);
    if (mtGame) MtGamePause(mtGame);
    return 1;
}

void MenuReports::SetOpenArgs(const MenuOpenArgs& args) {
    opener = EntRef(args.returnMenu);
    viewedOut = static_cast<ENTBASE**>(args.out[0]);
}

int MenuReports::OnEntityRemoved(ENTBASE* gone) {
    if (gone == mtGame) mtGame = nullptr, game = nullptr;
    return 1;
}

int MenuReports::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!e || e->type != CTL3_EVENT || e->b != CTL3_CLICK) return 1;
    if (e->a < REPORTS_SUMMARY || e->a > REPORTS_DONE) return 1;
    const Choice& choice = kChoices[e->a];
    // The report that opens pauses the game again.
    if (mtGame) mtGame->RestoreClockSpeed();
    if (choice.className) {
        ENTBASE* parent = EntGetParent(this);
        ENTBASE* back = opener.Get();
        Menu3Base* report = MenuReportOpen(choice.className, parent, viewedOut, back);
        if (!report) {
            // Without the report the hub stays: gone, it would leave the HUD inactive with no
            // menu to bring it back.
            if (mtGame) MtGamePause(mtGame);
            DbgPrintf(DBG_GENERAL, "MenuReports: cannot open %s\n", choice.className);
            return 1;
        }
    } else if (ENTBASE* back = opener.Get()) {
        back->SetActive();
    }
    EntDestroyTree(this);
    return 0;
}

namespace {
const WorldClassDef kClass = {"MenuReports", nullptr, WorldMake<MenuReports>, nullptr};
} // namespace

intptr_t EcMenuReportsProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

Menu3Base* MenuReportsOpen(ENTBASE* parent, ENTBASE** viewed, ENTBASE* opener) {
    MenuOpenArgs args;
    args.returnMenu = opener;
    args.out[0] = viewed;
    return MenuOpen("MenuReports", parent, &args);
}
