// The career summary.
#include "ui/Menus/MenuCareerSummary.h"

#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/CareerMenus.h"

#include <cstdio>

namespace {
enum : int32_t { kNext = 0, kBack = 1 };
const char* const kNames[] = {"C_NEXT", "C_BACK"};
enum { kLineMax = 160, kShownNameMax = 128 };
} // namespace

int MenuCareerSummary::Create(EntNode* n) {
    MenuCreateConcrete(this, n, MenuNames{kNames, 2, true}, "Menu\\Credits\\MenuCredits.lua");
    alpha = 1.0f;
    MenuKitBackground(kMenuPurpleBackground, this);
    MenuKitAnimLogo(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, u"CAREER SUMMARY", this);
    MenuKitButtonBack(kBack, 180.0f, 636.0f, this);
    MenuKitButtonNext(kNext, 720.0f, 636.0f, this);
    // Without the game object there is no career to sum up: the panel stays empty, Next and
    // Back still work.
    if (auto* g = dynamic_cast<MtGame*>(game)) {
        const Career& career = g->career;
        char16_t line[kLineMax];
        WideFromNarrow(career.name, line, kShownNameMax + 1);
        MenuKitText(line, 512.0f, 300.0f, this);
        WideFormat(line, kLineMax, u"Cash: $%i", career.cash / 100);
        MenuKitText(line, 512.0f, 400.0f, this);
        const char16_t* title = nullptr;
        int next = 0;
        g->gameVals.GetTier(career.cash, &title, &next);
        WideFormat(line, kLineMax, u"Current Rank: %s", title ? title : u"");
        MenuKitText(line, 512.0f, 480.0f, this);
        if (next >= 1)
            WideFormat(line, kLineMax, u"Next rank at: $%i", next / 100);
        else
            WideFormat(line, kLineMax, u"You are a Master of the Midway!");
        MenuKitText(line, 512.0f, 520.0f, this);
    }
    MenuFinishConcrete(this, "MenuCareerSummary");
    return 1;
}

void MenuCareerSummary::SetOpenArgs(const MenuOpenArgs& args) {
    std::snprintf(returnTo, sizeof returnTo, "%s", args.returnClass ? args.returnClass : "");
}

int MenuCareerSummary::OnMessage(const SlEvent* event) {
    if (!active) return 2;
    if (!event) return 1;
    if (event->type == SL_KEYDOWN || event->type == SL_PADSTART || event->type == SL_MENUSELECT)
        return 0;
    if (event->type != CTL3_EVENT || event->b != CTL3_CLICK) return 1;
    switch (event->a) {
        case kNext: return MenuSwitchToSelector(this, "MenuCareerSummary");
        case kBack: return MenuSwitchTo(this, "MenuCareer");
        default: return 1;
    }
}

MenuCareerSummary* MenuCareerSummaryOpen(ENTBASE* parent, const char* returnTo) {
    MenuOpenArgs args;
    args.returnClass = returnTo;
    return dynamic_cast<MenuCareerSummary*>(MenuOpen("MenuCareerSummary", parent, &args));
}

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "MenuCareerSummary");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(MenuCareerSummary, name), 32);
    }
    return &s_db;
}

const WorldClassDef kClass = {"MenuCareerSummary", Db, WorldMake<MenuCareerSummary>, nullptr};
} // namespace

intptr_t EcMenuCareerSummaryProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
