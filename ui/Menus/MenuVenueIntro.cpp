// The venue intro.
#include "ui/Menus/MenuVenueIntro.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/Ctl3TextStyle.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "ui/StaticTextBox.h"

#include <algorithm>

namespace {
constexpr int32_t kOkId = 0;

constexpr const char16_t* kCareerText =
    u"Use your money wisely to build a profitable carnival at this location.  You'll need to pay "
    u"a deposit and rental for each item you add.  Keep your carnival in good repair to avoid "
    u"loosing your deposit.  You can save your layout at any time, but any profit or loss for "
    u"the day can only be saved when the carnival closes at night.";
constexpr const char16_t* kSandboxText =
    u"You have unlimited money and unlimited time to build the best carnival you can at this "
    u"venue.  You can save your layout at any time, but any profit or loss for the day can only "
    u"be saved when the carnival closes at night.";
constexpr const char16_t* kTips =
    u"- Start setting up your carnival at any time\n- When ready, press START to open the "
    u"carnival\n- Daily venue rental and promotions will be deducted from your total.\n\n- Be "
    u"sure to add a ticket booth!\n- Watch your power meter - add a generator if necessary!\n- "
    u"Hire carnys to repair rides and clean up the park.\n- Don't forget the bathrooms!\n";

const WorldClassDef kClass = {"MenuVenueIntro", nullptr, WorldMake<MenuVenueIntro>, nullptr};
} // namespace

int MenuVenueIntro::Create(EntNode* node) {
    static const char* const kNames[] = {"C_OK"};
    MenuCreateConcrete(this, node, MenuNames{kNames, 1, false},
                       "Menu\\EquipResource\\EquipResource.lua");
    MtGame* game = MenuFrontEndGame(this, "MenuVenueIntro", "the venue and mode");
    const bool career = game && game->mode == MTGAME_CAREER;
    const VenueInfo* venue = game ? MtGameVenue(game) : nullptr;
    // Without a venue the screen still opens, naming it "?", so that OK can start the day.
    if (game && !venue) DbgPrintf(DBG_GENERAL, "MenuVenueIntro: no venue %i\n", game->venueId);
    WideFormat(venueLine, VENUE_INTRO_LINE_MAX, u"%s%s", venue ? venue->name : u"?",
               career ? u" - Career Mode" : u" - Sandbox Mode");

    MenuKitDimBackground(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, u"Welcome to Your Carnival!", this);
    MenuKitText(venueLine, 200.0f, 240.0f, this);
    StaticTextBox* paragraph = MenuKitTextBox(-1, career ? kCareerText : kSandboxText, 200.0f,
                                              285.0f, 800.0f, 405.0f, this);
    // The tips start a line below the paragraph's last line: at their fixed 400 the career's
    // longer paragraph ran into them.
    float tipsY = 400.0f;
    if (paragraph && paragraph->font) {
        const float line = Ctl3LineHeight(paragraph);
        tipsY = std::max(tipsY, paragraph->pos.y + float(paragraph->Shown().lineCount + 1) * line);
    }
    MenuKitTextBox(-1, kTips, 260.0f, tipsY, 800.0f, 700.0f, this);
    MenuKitButtonOk(kOkId, 464.0f, 610.0f, this);
    MenuFrontEndFinish(this, kOkId, "MenuVenueIntro", "MenuVenueIntro");
    return 1;
}

void MenuVenueIntro::SetOpenArgs(const MenuOpenArgs& args) {
    m_return = EntRef(args.returnMenu);
}

int MenuVenueIntro::OnMessage(const SlEvent* event) {
    if (!active) return 0;
    if (!event || event->type != CTL3_EVENT || event->a != kOkId || event->b != CTL3_CLICK)
        return 1;
    if (ENTBASE* back = ReturnMenu()) back->SetActive();
    EntDestroyTree(this);
    return 0;
}

Menu3Base* MenuVenueIntroOpen(ENTBASE* parent, ENTBASE* returnMenu) {
    MenuOpenArgs args;
    args.returnMenu = returnMenu;
    return MenuOpen("MenuVenueIntro", parent, &args);
}

intptr_t EcMenuVenueIntroProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
