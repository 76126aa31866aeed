// The end-of-day summary.
#include "ui/Menus/MenuEndOfDay.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuClearScene.h"
#include "ui/Menus/MenuSharedGame.h"
#include "ui/Menus/MenuYesNo.h"

#include <cstdint>
#include <cstring>

namespace {
enum : int32_t { kNextDay = 0, kSaveExit = 1, kExitNoSave = 2 };
const char* const kNames[] = {"C_NEXTDAY", "C_SAVEEXIT"};
constexpr const char* kScript = "Menu\\EquipResource\\EquipResource.lua";
enum { kLineMax = 96 };

// Whole dollars of a cent count, truncated toward zero, held within what "%i" prints.
int Dollars(int64_t cents) {
    return static_cast<int>(cents / 100);
}

int32_t Clamp32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

void Line(const char16_t* format, int64_t cents, float y, ENTBASE* menu) {
    char16_t text[kLineMax];
    WideFormat(text, kLineMax, format, Dollars(cents));
    MenuKitText(text, 400.0f, y, menu);
}

// The career record's fields, one by one: records are not copied whole.
void CopyCareer(Career& to, const Career& from) {
    std::memcpy(to.name, from.name, sizeof to.name);
    to.cash = from.cash;
    to.cashSave = from.cashSave;
    std::memcpy(to.venueUnlock, from.venueUnlock, sizeof to.venueUnlock);
    std::memcpy(to.attrUnlock, from.attrUnlock, sizeof to.attrUnlock);
    to.difficulty = from.difficulty;
    to.daysRun = from.daysRun;
}

// The save failure box over `caller` (made active again when the box closes).
bool SaveFailed(ENTBASE* parent, const char* name, ENTBASE* caller) {
    return MenuYesNoFileFailed(parent, u"SAVE FAILED", name, u"The file could not be written.",
                               caller, MtGameSaveError());
}
} // namespace

int MenuEndOfDay::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{kNames, 2, false}, kScript);
    alpha = 1.0f;
    MtGame* g = MenuSharedGame(this);
    MenuKitDimBackground(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, u"End Of Day Summary", this);
    if (g) {
        // The returns are those noted when the day closed: Save and Exit adds the same.
        const int64_t start = g->career.cash;
        const int64_t end = g->cash;
        const int64_t returns = MtGameDayReturns(g);
        // Not cash - start + returns: that would count every attraction standing since an
        // earlier day as this day's return again. So from the second day on the five lines
        // need not add up on screen.
        const int64_t profit = MtGameDayProfit(g);
        Line(u"Starting Cash: $%i", start, 300.0f, this);
        Line(u"Ending Cash: $%i", end, 324.0f, this);
        Line(u" - deposits: $%i", g->onDeposit, 348.0f, this);
        Line(u" + deposit returns: $%i", returns, 372.0f, this);
        Line(profit > 0 ? u" PROFIT: $%i" : u" LOSS: $%i", profit, 396.0f, this);
        DbgPrintf(DBG_GENERAL, "MenuEndOfDay: start %i end %i deposits %i returns %i\n",
                  static_cast<int>(start), static_cast<int>(end), static_cast<int>(g->onDeposit),
                  static_cast<int>(returns));
        const MtGameDayAccount& day = g->day;
        DbgPrintf(DBG_GENERAL,
                  "MenuEndOfDay: sales %lld costs %lld deposits paid %lld refunds %lld value at "
                  "the start %i profit %lld\n",
                  (long long)day.sales, (long long)day.costs, (long long)day.deposits,
                  (long long)day.refunds, static_cast<int>(day.startValue), (long long)profit);
    } else {
        DbgPrintf(DBG_GENERAL, "MenuEndOfDay: no game object\n");
    }
    MenuKitTextButtonLarge(kNextDay, u"Run Another Day", 512, 480, this);
    MenuKitTextButtonLarge(kSaveExit, u"Save and Exit", 512, 528, this);
    MenuKitTextButtonLarge(kExitNoSave, u"Exit Without Saving", 512, 576, this);
    // Up and Down go round the three choices: each can be reached without the mouse.
    LinkCtlNav(kNextDay, kExitNoSave, kSaveExit, kNextDay, kNextDay);
    LinkCtlNav(kSaveExit, kNextDay, kExitNoSave, kSaveExit, kSaveExit);
    LinkCtlNav(kExitNoSave, kSaveExit, kNextDay, kExitNoSave, kExitNoSave);
    MenuFinishConcrete(this, "MenuEndOfDay");
    return 1;
}

void MenuEndOfDay::SetOpenArgs(const MenuOpenArgs& args) {
    opener = EntRef(args.returnMenu);
}

int MenuEndOfDay::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event || event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    switch (event->a) {
        case kNextDay: return RunAnotherDay();
        case kSaveExit: return SaveAndExit();
        case kExitNoSave: return ExitWithoutSaving();
        default: return 1;
    }
}

int MenuEndOfDay::RunAnotherDay() {
    MtGame* g = MenuSharedGame(this);
    if (!g) return 1;
    ENTBASE* parent = EntGetParent(this);
    ENTBASE* back = opener.Get();
    // The deposit counts as cash only in the saved career; the day goes on without it.
    const int32_t deposit = g->onDeposit;
    g->cash = MoneyAdd(g->cash, deposit);
    MtGameNextDay(g);
    bool saved = true;
    // Only a career is saved: a sandbox day carries the reset career "Player 1", whose save would
    // write the sandbox's figures over a real career of that name.
    if (g->mode == MTGAME_CAREER) saved = MtGameSaveCareer(g, g->career.name);
    g->cash = Clamp32(static_cast<int64_t>(g->cash) - deposit);
    g->career.cash = g->cash;
    // Nothing in memory is lost by a failed save: the day goes on, and the box says so first.
    if (!saved) {
        DbgPrintf(DBG_GENERAL, "MenuEndOfDay: the career \"%s\" was not saved\n", g->career.name);
        if (!SaveFailed(parent, g->career.name, back) && back) back->SetActive();
    } else if (back) {
        back->SetActive();
    }
    EntRef self(this);
    MtGameStartDay(g);
    if (ENTBASE* me = self.Get()) EntDestroyTree(me);
    return 0;
}

int MenuEndOfDay::SaveAndExit() {
    MtGame* g = MenuSharedGame(this);
    if (!g) return 1;
    ENTBASE* parent = EntGetParent(this);
    if (g->mode != MTGAME_CAREER) {
        MenuOpenArgs args;
        args.returnMenu = opener.Get();
        args.returnClass = kMenuEndOfDayClass;
        // Without the dialog the screen stays: nothing else would be left to go on from.
        if (!MenuOpen("MenuSandboxSave", parent, &args)) return 1;
        EntDestroyTree(this);
        return 0;
    }
    const int32_t cash = g->cash;
    const int32_t deposit = g->onDeposit;
    Career career;
    CopyCareer(career, g->career);
    g->cash = MoneyAdd(g->cash, MtGameDayReturns(g));
    MtGameNextDay(g);
    if (!MtGameSaveCareer(g, g->career.name)) {
        g->cash = cash;
        g->onDeposit = deposit;
        CopyCareer(g->career, career);
        DbgPrintf(DBG_GENERAL, "MenuEndOfDay: the career \"%s\" was not saved\n", g->career.name);
        if (SaveFailed(parent, g->career.name, this)) ClearActive();
        return 0;
    }
    MtGameEndOfDay(g);
    MenuClearScene();
    // Every menu under the parent goes, this one included: only the local is used from here.
    EntDestroyChildren(parent);
    MenuOpen("MenuCareerSummary", parent, nullptr);
    return 0;
}

int MenuEndOfDay::ExitWithoutSaving() {
    MenuOpenArgs args;
    args.returnClass = "MenuInGame";
    args.returnMenu = this;
    if (!MenuOpen("MenuInGameConfirm", EntGetParent(this), &args)) return 1;
    ClearActive();
    return 0;
}

MenuEndOfDay* MenuEndOfDayOpen(ENTBASE* parent, ENTBASE* opener) {
    MenuOpenArgs args;
    args.returnMenu = opener;
    return dynamic_cast<MenuEndOfDay*>(MenuOpen(kMenuEndOfDayClass, parent, &args));
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuEndOfDay");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuEndOfDay, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuEndOfDay", Db, WorldMake<MenuEndOfDay>, nullptr};
} // namespace

intptr_t EcMenuEndOfDayProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
