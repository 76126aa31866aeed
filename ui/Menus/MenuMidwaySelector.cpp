// The venue selector.
#include "ui/Menus/MenuMidwaySelector.h"

#include "engine/DebugLog.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/MathConst.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/MenuSharedGame.h"
#include "ui/Menus/RowBadge.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
const WorldClassDef kClass = {"MenuMidwaySelector", nullptr, WorldMake<MenuMidwaySelector>,
                              nullptr};

constexpr uint32_t kRowBoxColour = 0x4FFFFFFFu;
constexpr uint32_t kBackgroundBoxColour = 0xFF500000u;
constexpr uint32_t kLockColour = 0xFFD60000u;

// A plain picture of the selector's own: centred on (x, y).
StaticGraphic* Box(const char* name, int32_t id, float x, float y, float w, float h,
                   uint32_t colour, const char* texture, ENTBASE* menu) {
    auto* g = MenuKitMake<StaticGraphic>("StaticGraphic", menu, id, x, y, nullptr, name);
    if (!g) return nullptr;
    g->horizAlign = 1;
    g->width = w;
    g->height = h;
    g->colour = colour;
    std::snprintf(g->textureName, sizeof g->textureName, "%s", texture ? texture : "");
    g->Start();
    return g;
}

// The right end of a row's texts: the description's, and the lock and rank column's.
constexpr float kRowRight = 840.0f;

StaticText* RowText(int32_t id, float x, float y, ENTBASE* menu) {
    auto* t = MenuKitMake<StaticText>("StaticText", menu, id, x, y, u"");
    if (!t) return nullptr;
    t->SetFont(MenuKitFont("Georgia_16"));
    t->Start();
    return t;
}

} // namespace

int MenuMidwaySelector::CopyClassName(char* buffer) {
    return WorldCopyClassName("MenuMidwaySelector", buffer);
}

MtGame* MenuMidwaySelector::Game() {
    return MenuSharedGame(this);
}

const VenueInfo* MenuMidwaySelector::Venue(int32_t index) {
    VenueInfoList* list = MenuSharedVenues(this);
    return list && index >= 0 && index < venueCount ? list->Get(index) : nullptr;
}

bool MenuMidwaySelector::IsLocked(int32_t venue) {
    MtGame* mt = Game();
    if (!mt || mt->mode != MTGAME_CAREER) return false;
    const char* unlock = mt->career.venueUnlock;
    const size_t length = strnlen(unlock, sizeof mt->career.venueUnlock);
    // An old career names fewer venues than the list holds: the rest stay locked.
    if (venue < 0 || size_t(venue) >= length) return true;
    return unlock[venue] != '+';
}

int MenuMidwaySelector::Create(EntNode* n) {
    static const char* const kNames[] = {
        "C_NEXT",    "C_BACK",    "C_UP",      "C_DOWN",    "C_THUMB1", "C_THUMB2", "C_THUMB3",
        "C_TITLE1",  "C_TITLE2",  "C_TITLE3",  "C_TEXT1",   "C_TEXT2",  "C_TEXT3",  "C_LOCKED1",
        "C_LOCKED2", "C_LOCKED3", "C_SELECT1", "C_SELECT2", "C_SELECT3"};
    MenuCreateConcrete(this, n, MenuNames{kNames, 19, true},
                       "Menu\\MidwaySelector\\MenuMidwaySelector.lua");
    alpha = 1.0f;
    MtGame* mt = Game();
    VenueInfoList* list = MenuSharedVenues(this);
    venueCount = list ? list->Count() : 0;
    if (!mt) DbgPrintf(DBG_GENERAL, "MenuMidwaySelector: no game object\n");

    MenuKitBackground("Menu\\Common\\ZobPurpleBackground.dds", this);
    MenuKitAnimLogo(this);
    MenuKitLargePanelHeader(512.0f, 428.0f, u"SELECT A VENUE", this);
    const int rows = venueCount < MIDWAY_ROWS ? venueCount : MIDWAY_ROWS;
    // Drawn in creation order: the row backings first, the translucent highlight and select boxes
    // over the row contents.
    for (int i = 0; i < rows; ++i)
        Box("BackgroundBox", kMenuKitStaticId, 512.0f, RowY(i), 698.0f, 102.0f,
            kBackgroundBoxColour, nullptr, this);
    for (int i = 0; i < rows; ++i) {
        if (StaticGraphic* thumb = Box("Thumbnail", MIDWAY_THUMB + i, 230.0f, RowY(i), 128.0f,
                                       96.0f, kMenuKitColour, nullptr, this))
            thumb->uv = {0.0f, 0.0f, 1.0f, 0.7421875f};
        if (StaticText* title = RowText(MIDWAY_TITLE + i, 310.0f, RowY(i) - 51.0f, this))
            title->SetText("Title");
        if (StaticTextBox* text = MenuKitTextBox(MIDWAY_TEXT + i, u"", 310.0f, RowY(i) - 14.0f,
                                                 840.0f, RowY(i) + 46.0f, this))
            text->SetName("Description");
        // The lock and the rank stand on the title line (placed as each row is filled): over
        // the thumbnail they hid the venue's name painted on it.
        Box("LockedIcon", MIDWAY_LOCKED + i, 230.0f, RowY(i), kRowBadgeIcon, kRowBadgeIcon,
            kLockColour, "Menu\\MidwaySelector\\LockedIcon.dds", this);
        RowText(MIDWAY_RANK + i, 166.0f, RowY(i), this);
    }
    highlight = Box("Highlight", MIDWAY_HIGHLIGHT, 516.0f, RowY(0), 706.0f, 102.0f, kRowBoxColour,
                    nullptr, this);
    for (int i = 0; i < MIDWAY_ROWS; ++i) {
        auto* select = MenuKitMake<GraphicButton>("GraphicButton", this, MIDWAY_SELECT + i, 166.0f,
                                                  266.0f + 120.0f * float(i), nullptr, "SelectBox");
        if (!select) continue;
        select->width = 700.0f;
        select->height = 96.0f;
        select->colour = kRowBoxColour;
        select->Start();
        // Fewer than three venues: the empty rows cannot be chosen.
        if (i >= venueCount) Ctl3SetLive(select, false);
    }
    MenuKitButtonNext(MIDWAY_NEXT, 720.0f, 636.0f, this);
    MenuKitButtonBack(MIDWAY_BACK, 180.0f, 636.0f, this);
    MenuKitButtonUp(MIDWAY_UP, 65.0f, 212.0f, this);
    MenuKitButtonDown(MIDWAY_DOWN, 65.0f, 600.0f, this);
    char16_t cash[64];
    if (mt && mt->mode == MTGAME_CAREER)
        WideFormat(cash, 64, u"Cash: $%i", mt->career.cash / 100);
    else
        WideFormat(cash, 64, u"Cash: unlimited");
    MenuKitTextCentred(cash, 512.0f, 620.0f, this);

    LinkCtlNav(MIDWAY_NEXT, MIDWAY_DOWN, MIDWAY_UP, MIDWAY_BACK, MIDWAY_BACK);
    LinkCtlNav(MIDWAY_BACK, MIDWAY_DOWN, MIDWAY_UP, MIDWAY_NEXT, MIDWAY_NEXT);
    LinkCtlNav(MIDWAY_UP, MIDWAY_BACK, MIDWAY_DOWN, MIDWAY_UP, MIDWAY_UP);
    LinkCtlNav(MIDWAY_DOWN, MIDWAY_UP, MIDWAY_BACK, MIDWAY_DOWN, MIDWAY_DOWN);
    MenuFinishConcrete(this, "MidwaySelector");
    FocusCtl(MIDWAY_BACK);

    top = 0;
    row = 0;
    highlightPos.SetTime(0.1f);
    highlightPos.SetImmediate(RowY(0));
    pulse = 0.0f;
    FillRows();
    // With no venue there is nothing for Next to choose, whatever the first refresh would say.
    if (venueCount == 0) Ctl3SetLive(FindCtl(MIDWAY_NEXT), false);
    return 1;
}

void MenuMidwaySelector::SetOpenArgs(const MenuOpenArgs& args) {
    if (args.returnClass) SetReturnTo(args.returnClass);
}

void MenuMidwaySelector::SetReturnTo(const char* className) {
    std::snprintf(returnTo, sizeof returnTo, "%s", className ? className : "");
}

void MenuMidwaySelector::FillRows() {
    MtGame* mt = Game();
    for (int i = 0; i < MIDWAY_ROWS; ++i) {
        const VenueInfo* v = Venue(top + i);
        auto* thumb = dynamic_cast<StaticGraphic*>(FindCtl(MIDWAY_THUMB + i));
        auto* title = FindCtl(MIDWAY_TITLE + i);
        auto* text = dynamic_cast<StaticTextBox*>(FindCtl(MIDWAY_TEXT + i));
        auto* lock = FindCtl(MIDWAY_LOCKED + i);
        auto* rank = FindCtl(MIDWAY_RANK + i);
        // Only rows with both a venue and their controls are filled.
        if (!v || !thumb || !title || !text) continue;
        std::snprintf(thumb->textureName, sizeof thumb->textureName, "%s", v->texFileName);
        thumb->Start();
        const bool locked = IsLocked(top + i);
        if (lock) Ctl3SetVisible(lock, locked);
        if (rank) {
            Ctl3SetVisible(rank, locked);
            if (locked) rank->SetTextW(MtGameRankName(mt, v->unlockPrice));
        }
        char16_t line[CTL3_LABEL_MAX + 1];
        WideFormat(line, CTL3_LABEL_MAX + 1, u"%s  -  daily rent: $%i", v->name, v->rent / 100);
        title->SetTextW(line);
        RowBadgePlace(text, lock, nullptr, rank, locked, kRowRight);
        text->SetText(v->description);
        text->Flip();
    }
}

void MenuMidwaySelector::Refresh() {
    Ctl3Base* up = FindCtl(MIDWAY_UP);
    Ctl3Base* down = FindCtl(MIDWAY_DOWN);
    const int32_t chosen = top + row;
    // Each arrow is hidden exactly when it has nowhere to go, so with fewer than three venues
    // Down stops at the last one.
    Ctl3SetLive(up, chosen > 0);
    Ctl3SetLive(down, chosen < venueCount - 1);
    Ctl3SetLive(FindCtl(MIDWAY_NEXT), chosen < venueCount && !IsLocked(chosen));
    FillRows();
}

void MenuMidwaySelector::Choose(int32_t newRow) {
    row = newRow;
    highlightPos.SetTarget(RowY(row));
    Refresh();
}

int MenuMidwaySelector::Next() {
    const int32_t chosen = top + row;
    const VenueInfo* v = Venue(chosen);
    MtGame* mt = Game();
    // Past the list (fewer venues than rows, or none) or locked: nothing to choose.
    if (!v || !mt || IsLocked(chosen)) return 1;
    if (!MtGameChooseVenue(mt, chosen)) return 1;
    if (!MenuOpen("MenuVenueSetup", EntGetParent(this), nullptr)) return 1;
    EntDestroyTree(this);
    return 0;
}

int MenuMidwaySelector::Update(float seconds) {
    if (Menu3Base::Update(seconds) == 0) return 0;
    const float dt = g_frameSeconds;
    // Only the phase within the second matters; kept small so that it never loses precision.
    pulse = std::fmod(pulse + (dt > 0.0f ? dt : 0.0f), 1.0f);
    const int a = int((0.35f + 0.1f * 0.5f * (std::sin(2.0f * kPi * pulse) + 1.0f)) * 255.0f);
    highlightPos.Update(dt);
    if (highlight) {
        highlight->SetPos2D(516.0f, highlightPos.GetValue());
        highlight->colour = (uint32_t(a) << 24) | 0x00FFFFFFu;
    }
    return 1;
}

int MenuMidwaySelector::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!e) return 1;
    // The menu commands become clicks; the command and its release stop here, so the focused
    // control does not act on the same key as well.
    switch (e->type) {
        case SL_MENUUP: SlPostEvent(CTL3_EVENT, MIDWAY_UP, CTL3_CLICK); return 0;
        case SL_MENUDOWN: SlPostEvent(CTL3_EVENT, MIDWAY_DOWN, CTL3_CLICK); return 0;
        case SL_MENUSELECT: SlPostEvent(CTL3_EVENT, MIDWAY_NEXT, CTL3_CLICK); return 0;
        case SL_MENUBACK: SlPostEvent(CTL3_EVENT, MIDWAY_BACK, CTL3_CLICK); return 0;
        case SL_MENUUP + 1:
        case SL_MENUDOWN + 1:
        case SL_MENUSELECT + 1:
        case SL_MENUBACK + 1: return 0;
        default: break;
    }
    if (e->type != CTL3_EVENT || e->b != CTL3_CLICK) return 1;
    switch (e->a) {
        case MIDWAY_NEXT: return Next();
        case MIDWAY_BACK: {
            if (!returnTo[0] || !MenuOpen(returnTo, EntGetParent(this), nullptr)) return 1;
            EntDestroyTree(this);
            return 0;
        }
        case MIDWAY_UP:
            if (row > 0)
                --row;
            else if (top > 0)
                --top;
            Choose(row);
            return 1;
        case MIDWAY_DOWN: {
            // Never onto a row past the list.
            const bool moved = row < MIDWAY_ROWS - 1 && top + row + 1 < venueCount;
            if (moved) ++row;
            if (!moved && top + MIDWAY_ROWS + 1 <= venueCount) ++top;
            Choose(row);
            return 1;
        }
        case MIDWAY_SELECT:
        case MIDWAY_SELECT + 1:
        case MIDWAY_SELECT + 2: {
            const int32_t i = int32_t(e->a) - MIDWAY_SELECT;
            if (top + i < venueCount) Choose(i);
            return 1;
        }
        default: return 1;
    }
}

Menu3Base* MenuMidwaySelectorOpen(ENTBASE* parent, const char* returnTo) {
    MenuOpenArgs args;
    args.returnClass = returnTo;
    return MenuOpen("MenuMidwaySelector", parent, &args);
}

intptr_t EcMenuMidwaySelectorProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
