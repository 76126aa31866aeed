// The venue set-up.
#include "ui/Menus/MenuVenueSetup.h"
#include "ui/Menus/MenuFrontEnd.h"

#include "engine/DebugLog.h"
#include "engine/Input/SlInput.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/IncDecArt.h"
#include "ui/IncDecButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "ui/Menus/MenuWorldLoader.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "world/CursorFrame.h"
#include "world/EntMusic.h"

#include <algorithm>
#include <cstdio>

namespace {
const WorldClassDef kClass = {"MenuVenueSetup", nullptr, WorldMake<MenuVenueSetup>, nullptr};

struct Advert {
    int32_t id;
    uint32_t bit;
    const char16_t* label;
    int32_t GameVals::*cost;
    float y;
};
const Advert kAdverts[] = {
    {SETUP_BILLS, MKT_BILLS, u"Bills ($%i)", &GameVals::billsCost, 504.0f},
    {SETUP_PAPER, MKT_PAPER, u"Newspaper ($%i)", &GameVals::paperCost, 528.0f},
    {SETUP_RADIO, MKT_RADIO, u"Radio ($%i)", &GameVals::radioCost, 552.0f},
    {SETUP_TV, MKT_TV, u"TV ($%i)", &GameVals::tvCost, 576.0f},
};

// The right column stands clear of "ADVERTISING (per day)" (at 540 the two touched).
constexpr float kRightColumnX = 572.0f;

// The whole dollars of an amount in cents, truncated toward zero.
int Dollars(int64_t cents) {
    return int(std::clamp<int64_t>(cents / 100, INT32_MIN, INT32_MAX));
}
} // namespace

int MenuVenueSetup::CopyClassName(char* buffer) {
    return WorldCopyClassName("MenuVenueSetup", buffer);
}

int MenuVenueSetup::Create(EntNode* n) {
    static const char* const kNames[] = {nullptr, nullptr, nullptr, nullptr,   nullptr,
                                         nullptr, nullptr, nullptr, "C_START", "C_BACK"};
    MenuCreateConcrete(this, n, MenuNames{kNames, 10, true}, "Menu\\Sandbox\\MenuSandbox.lua");
    mtGame = dynamic_cast<MtGame*>(game);
    venue = MtGameVenue(mtGame);
    if (!venue)
        DbgPrintf(DBG_GENERAL, "MenuVenueSetup: no venue %i: back to the venue selector\n",
                  mtGame ? mtGame->venueId : -1);
    alpha = 1.0f;

    MenuKitBackground("Menu\\Common\\ZobPurpleBackground.dds", this);
    MenuKitAnimLogo(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, u"VENUE SETUP", this);
    MenuKitButtonBack(SETUP_BACK, 180.0f, 636.0f, this);
    MenuKitButtonStart(SETUP_START, 720.0f, 636.0f, this);

    const GameVals* vals = mtGame ? &mtGame->gameVals : nullptr;
    MenuKitCheckBox(SETUP_PRICE_25, u"$ .25", 300.0f, 384.0f, 0, 1, this);
    MenuKitCheckBox(SETUP_PRICE_50, u"$ .50", 300.0f, 408.0f, 0, 1, this);
    MenuKitCheckBox(SETUP_PRICE_100, u"$1.00", 300.0f, 432.0f, 0, 1, this);
    for (const Advert& ad : kAdverts) {
        char16_t label[64];
        WideFormat(label, 64, ad.label, vals ? Dollars(vals->*ad.cost) : 0);
        MenuKitCheckBox(ad.id, label, 300.0f, ad.y, 0, -1, this);
    }
    freeTickets = MenuKitMake<IncDecButton>("IncDecButton", this, SETUP_FREE_TICKETS, kRightColumnX,
                                            384.0f, nullptr, "Free Tickets");
    if (freeTickets) {
        // The value shown is the term the game holds (0 on a fresh game), kept in range.
        freeTickets->value =
            mtGame ? std::clamp<int32_t>(mtGame->freeTickets, 0, SETUP_FREE_TICKETS_MAX) : 0;
        freeTickets->step = 1;
        freeTickets->minimum = 0;
        freeTickets->maximum = SETUP_FREE_TICKETS_MAX;
        freeTickets->SetTextW(u" Tickets");
        freeTickets->SetFont(MenuKitFont("Georgia_14"));
        std::snprintf(freeTickets->body.textureName, sizeof freeTickets->body.textureName, "%s",
                      kIncDecBodyImage);
        std::snprintf(freeTickets->up.textureName, sizeof freeTickets->up.textureName, "%s",
                      kIncDecUpImage);
        std::snprintf(freeTickets->down.textureName, sizeof freeTickets->down.textureName, "%s",
                      kIncDecDownImage);
        freeTickets->boxWidth = kIncDecBoxWidth;
        freeTickets->Start();
    }

    MenuKitText(venue ? venue->name : u"", 200.0f, 240.0f, this);
    if (StaticTextBox* text = MenuKitTextBox(kMenuKitStaticId, venue ? venue->description : u"",
                                             200.0f, 285.0f, 800.0f, 405.0f, this))
        text->SetName("Description");
    MenuKitText(u"TICKET PRICING", 300.0f, 360.0f, this);
    MenuKitText(u"ADVERTISING (per day)", 300.0f, 480.0f, this);
    MenuKitText(u"FREE TICKET PROMO", kRightColumnX, 360.0f, this);
    MenuKitText(u"FIXED DAILY COSTS:", kRightColumnX, 480.0f, this);
    char16_t line[64];
    WideFormat(line, 64, u"Venue Rental: $%i", venue ? Dollars(venue->rent) : 0);
    MenuKitText(line, kRightColumnX, 504.0f, this);
    promotionsText = MenuKitText(u"Promotions:", kRightColumnX, 528.0f, this);
    totalText = MenuKitText(u"DAILY COST:", kRightColumnX, 552.0f, this);
    UpdateCosts();
    WideFormat(line, 64, u"Cash: $%i", mtGame ? Dollars(mtGame->career.cash) : 0);
    MenuKitTextCentred(line, 512.0f, 620.0f, this);

    if (mtGame) {
        int32_t priceBox = SETUP_PRICE_50;
        if (mtGame->ticketCost == 25)
            priceBox = SETUP_PRICE_25;
        else if (mtGame->ticketCost == 100)
            priceBox = SETUP_PRICE_100;
        else
            mtGame->ticketCost = 50;
        SetCtlChecked(priceBox, true);
        for (const Advert& ad : kAdverts)
            if (mtGame->marketingFlags & ad.bit) SetCtlChecked(ad.id, true);
    }
    MenuFinishConcrete(this, "MenuVenueSetup");
    FocusCtl(SETUP_START);
    g_cursorFrameIndex = 1;
    MusicPlayByName(EntGetRoot(this), kMenuMusic);
    return 1;
}

void MenuVenueSetup::UpdateCosts() {
    int64_t promotions = 0;
    if (mtGame)
        for (const Advert& ad : kAdverts)
            if (mtGame->marketingFlags & ad.bit) promotions += mtGame->gameVals.*ad.cost;
    char16_t line[64];
    WideFormat(line, 64, u"Promotions: $%i", Dollars(promotions));
    if (promotionsText) promotionsText->SetTextW(line);
    WideFormat(line, 64, u"TOTAL DAILY COST: $%i",
               Dollars(int64_t(venue ? venue->rent : 0) + promotions));
    if (totalText) totalText->SetTextW(line);
}

int MenuVenueSetup::Back() {
    if (!MenuMidwaySelectorOpen(EntGetParent(this), "MenuMain")) return 1;
    EntDestroyTree(this);
    return 0;
}

int MenuVenueSetup::Update(float seconds) {
    if (Menu3Base::Update(seconds) == 0) return 0;
    // Opened with no venue to set up: the player goes back to choose one.
    if (!venue && active) return Back();
    return 1;
}

int MenuVenueSetup::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!e) return 1;
    if (e->type == SL_MENUBACK || e->type == SL_MENUBACK + 1)
        return ForwardToCtl(e, SETUP_BACK) ? 0 : 1;
    if (e->type != CTL3_EVENT || e->b != CTL3_CLICK) return 1;
    switch (e->a) {
        case SETUP_PRICE_25:
            if (mtGame) mtGame->ticketCost = 25;
            return 1;
        case SETUP_PRICE_50:
            if (mtGame) mtGame->ticketCost = 50;
            return 1;
        case SETUP_PRICE_100:
            if (mtGame) mtGame->ticketCost = 100;
            return 1;
        case SETUP_BILLS:
        case SETUP_PAPER:
        case SETUP_RADIO:
        case SETUP_TV:
            if (mtGame) mtGame->marketingFlags ^= kAdverts[e->a - SETUP_BILLS].bit;
            UpdateCosts();
            return 1;
        case SETUP_FREE_TICKETS:
            if (mtGame && freeTickets)
                mtGame->freeTickets =
                    std::clamp<int32_t>(freeTickets->value, 0, SETUP_FREE_TICKETS_MAX);
            return 1;
        case SETUP_START: {
            if (!mtGame) return 1;
            ENTBASE* parent = EntGetParent(this);
            Menu3Base* next = mtGame->mode == MTGAME_CAREER
                                  ? MenuOpen("MenuLoadLayout", parent, nullptr)
                                  : MenuWorldLoaderOpen(parent, mtGame->scriptPath);
            if (!next) return 1;
            EntDestroyTree(this);
            return 0;
        }
        case SETUP_BACK: return Back();
        default: return 1;
    }
}

Menu3Base* MenuVenueSetupOpen(ENTBASE* parent) {
    return MenuOpen("MenuVenueSetup", parent, nullptr);
}

intptr_t EcMenuVenueSetupProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
