// The carnival summary.
#include "ui/Menus/MenuReportSummary.h"

#include "engine/DebugLog.h"
#include "engine/WideFormat.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuReportBase.h"
#include "ui/UiClass.h"

namespace {
constexpr int kLine = 256;

// Whole dollars of an amount in cents, truncated toward zero.
int Dollars(int32_t cents) {
    return int(cents / 100);
}

void Line(const char16_t* text, float y, ENTBASE* menu) {
    MenuKitTextCentred(text, 512.0f, y, menu);
}
} // namespace

int MenuReportSummary::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{nullptr, 0, false},
                       "Menu\\EquipResource\\EquipResource.lua");
    mtGame = dynamic_cast<MtGame*>(game);
    MenuKitDimBackground(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, u"Carnival Summary", this);
    MenuKitButtonOk(REPORT_OK, 466.0f, 663.0f, this);

    char16_t text[kLine];
    if (mtGame) {
        WideFromNarrow(mtGame->career.name, text, 129);
        Line(text, 300.0f, this);
        const int32_t startCash = mtGame->career.cash;
        WideFormat(text, kLine, u"Cash Before Today: $%i", Dollars(startCash));
        Line(text, 340.0f, this);
        WideFormat(text, kLine, u"Current Cash: $%i", Dollars(mtGame->cash));
        Line(text, 380.0f, this);
        WideFormat(text, kLine, u"On Deposit: $%i", Dollars(mtGame->onDeposit));
        Line(text, 420.0f, this);
        // The rank is the one the day started with: what the player earns today counts tomorrow.
        const char16_t* rank = u"";
        int next = 0;
        mtGame->gameVals.GetTier(startCash, &rank, &next);
        WideFormat(text, kLine, u"Current Rank: %s", rank ? rank : u"");
        Line(text, 480.0f, this);
        if (next >= 1)
            WideFormat(text, kLine, u"Next rank at: $%i", Dollars(next));
        else
            WideFormat(text, kLine, u"You are a Master of the Midway!");
        Line(text, 520.0f, this);
        MtGamePause(mtGame);
    } else {
        DbgPrintf(DBG_GENERAL, "MenuReportSummary: no game object; no figures shown\n");
        Line(u"Cash Before Today: $", 340.0f, this);
        Line(u"Current Cash: $", 380.0f, this);
        Line(u"On Deposit: $", 420.0f, this);
        Line(u"Current Rank: ", 480.0f, this);
    }

    FocusCtl(REPORT_OK);
    LinkCtlNav(REPORT_OK, REPORT_OK, REPORT_OK, REPORT_OK, REPORT_OK);
    SetName("MenuReportSummary");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuReportSummary)\n", GetName());
    return 1;
}

void MenuReportSummary::SetOpenArgs(const MenuOpenArgs& args) {
    opener = EntRef(args.returnMenu);
}

int MenuReportSummary::OnEntityRemoved(ENTBASE* gone) {
    if (gone == mtGame) mtGame = nullptr, game = nullptr;
    return 1;
}

int MenuReportSummary::OnMessage(const SlEvent* e) {
    if (!active) return 0;
    if (!e || e->type != CTL3_EVENT || e->b != CTL3_CLICK || e->a != REPORT_OK) return 1;
    if (mtGame) mtGame->RestoreClockSpeed();
    if (ENTBASE* back = opener.Get()) back->SetActive();
    EntDestroyTree(this);
    return 0;
}

namespace {
const WorldClassDef kClass = {"MenuReportSummary", nullptr, WorldMake<MenuReportSummary>, nullptr};
} // namespace

intptr_t EcMenuReportSummaryProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

Menu3Base* MenuReportSummaryOpen(ENTBASE* parent, ENTBASE* opener) {
    MenuOpenArgs args;
    args.returnMenu = opener;
    return MenuOpen("MenuReportSummary", parent, &args);
}
