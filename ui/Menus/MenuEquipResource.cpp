// The build catalogue.
#include "ui/Menus/MenuEquipResource.h"

#include "engine/DebugLog.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/MathConst.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
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

int32_t g_catalogueCategory = ATTR_TYPE_UTILITY;

namespace {
const WorldClassDef kClass = {"MenuEquipResource", nullptr, WorldMake<MenuEquipResource>, nullptr};

constexpr uint32_t kBoxColour = 0x4FFFFFFFu;
constexpr uint32_t kLockColour = 0xFFD60000u;

struct CategoryButton {
    int32_t id;
    const char* name;
    const char* texture;
    int32_t category;
    float x, y;
    int w, h;
};
// clang-format off
constexpr CategoryButton kCategories[4] = {
    {EQUIP_FOOD, "Food", "Menu\\EquipResource\\ButtonFood.dds", ATTR_TYPE_FOOD, 712, 253, 133, 25},
    {EQUIP_GOC, "GOC", "Menu\\EquipResource\\ButtonGOC.dds", ATTR_TYPE_GAME, 531, 253, 145, 25},
    {EQUIP_RIDES, "Rides", "Menu\\EquipResource\\ButtonRides.dds", ATTR_TYPE_RIDE, 403, 253, 51, 26},
    {EQUIP_UTILITY, "Utility", "Menu\\EquipResource\\ButtonUtility.dds", ATTR_TYPE_UTILITY, 181, 253, 146, 31},
};
// clang-format on

// A centred picture.
StaticGraphic* Picture(const char* name, int32_t id, float x, float y, float w, float h,
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

StaticText* RowText(int32_t id, const char* name, float x, float y, ENTBASE* menu) {
    auto* t = MenuKitMake<StaticText>("StaticText", menu, id, x, y, u"", name);
    if (!t) return nullptr;
    t->SetFont(MenuKitFont("Georgia_16"));
    t->Start();
    return t;
}

} // namespace

int MenuEquipResource::CopyClassName(char* buffer) {
    return WorldCopyClassName("MenuEquipResource", buffer);
}

MtGame* MenuEquipResource::Game() {
    return MenuSharedGame(this);
}

bool MenuEquipResource::IsLocked(const AttrInfo* type) {
    MtGame* mt = Game();
    if (!mt || mt->mode != MTGAME_CAREER || !mt->attrList) return false;
    const int index = mt->attrList->IndexOf(type);
    const char* unlock = mt->career.attrUnlock;
    const size_t length = strnlen(unlock, sizeof mt->career.attrUnlock);
    // More types than the career's string names: the rest stay locked.
    if (index < 0 || size_t(index) >= length) return true;
    return unlock[index] != '+';
}

bool MenuEquipResource::TooDear(const AttrInfo* type) {
    MtGame* mt = Game();
    return mt && mt->mode == MTGAME_CAREER && type && type->deposit > mt->cash;
}

void MenuEquipResource::SetOpenArgs(const MenuOpenArgs& args) {
    hud = EntRef(args.returnMenu);
    chosenType = static_cast<AttrInfo**>(args.out[0]);
    chosenIndex = static_cast<int32_t*>(args.out[1]);
}

int MenuEquipResource::Create(EntNode* n) {
    static const char* const kNames[] = {
        "C_ATTRACTIONS", "C_FOOD",   "C_GOC",     "C_RIDES",   "C_UTILITY",
        "C_UP",          "C_DOWN",   "C_OK",      "C_CANCEL",  "C_THUMB1",
        "C_THUMB2",      "C_THUMB3", "C_TITLE1",  "C_TITLE2",  "C_TITLE3",
        "C_TEXT1",       "C_TEXT2",  "C_TEXT3",   "C_LOCKED1", "C_LOCKED2",
        "C_LOCKED3",     nullptr,    "C_SELECT1", "C_SELECT2", "C_SELECT3"}; // 21 is unnamed
    MenuCreateConcrete(this, n, MenuNames{kNames, 25, true},
                       "Menu\\EquipResource\\EquipResource.lua");
    alpha = 1.0f;
    MtGame* mt = Game();
    AttrInfoList* list = mt ? mt->attrList : nullptr;
    totalCount = list ? list->Count() : 0;
    entries.clear();
    for (int i = 0; i < totalCount; ++i)
        entries.push_back(list->Get(i));
    shownCount = totalCount;
    if (!mt) DbgPrintf(DBG_GENERAL, "MenuEquipResource: no game object\n");

    MenuKitDimBackground(this);
    MenuKitAnimLogo(this);
    MenuKitLargePanelHeader(512.0f, 442.0f, u"Attractions and Equipment", this);
    for (const CategoryButton& c : kCategories) {
        auto* b =
            MenuKitMake<GraphicButton>("GraphicButton", this, c.id, c.x, c.y, nullptr, c.name);
        if (!b) continue;
        b->image.left = 0;
        b->image.top = 0;
        b->image.right = c.w - 1;
        b->image.bottom = c.h - 1;
        b->width = float(c.w);
        b->height = float(c.h);
        std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", c.texture);
        b->radioGroup = 0;
        // The chosen tab stays pressed: a click on it keeps it chosen rather than letting go.
        b->SetRadioMode(true);
        b->Start();
        if (c.category == g_catalogueCategory) Ctl3SetChecked(b, true);
    }
    MenuKitButtonOk(EQUIP_OK, 582.0f, 663.0f, this);
    MenuKitButtonCancel(EQUIP_CANCEL, 332.0f, 663.0f, this);
    Ctl3SetLive(MenuKitButtonUp(EQUIP_UP, 60.0f, 200.0f, this), false);
    MenuKitButtonDown(EQUIP_DOWN, 60.0f, 620.0f, this);
    for (int i = 0; i < EQUIP_ROWS; ++i) {
        auto* select = MenuKitMake<GraphicButton>("GraphicButton", this, EQUIP_SELECT + i, 166.0f,
                                                  314.0f + 120.0f * float(i), nullptr, "SelectBox");
        if (!select) continue;
        select->width = 700.0f;
        select->height = 96.0f;
        select->colour = kBoxColour;
        select->Start();
        Ctl3SetVisible(select, false);
    }
    highlight = Picture("Highlight", EQUIP_HIGHLIGHT, 516.0f, RowY(0), 706.0f, 102.0f, kBoxColour,
                        nullptr, this);
    const int rows = totalCount < EQUIP_ROWS ? totalCount : EQUIP_ROWS;
    for (int i = 0; i < rows; ++i) {
        const float y = RowY(i);
        if (StaticGraphic* thumb = Picture("Thumbnail", EQUIP_THUMB + i, 230.0f, y, 128.0f, 96.0f,
                                           kMenuKitColour, nullptr, this))
            thumb->uv = {0.0f, 0.0f, 1.0f, 0.7421875f};
        // The lock, the money icon and the rank stand in a column at the description's right end
        // (placed as each row is filled) rather than on the thumbnail: there the rank's words ran
        // from the picture into the description, text over text.
        Picture("LockedIcon", EQUIP_LOCKED + i, 230.0f, y, kRowBadgeIcon, kRowBadgeIcon,
                kLockColour, "Menu\\EquipResource\\LockedIcon.dds", this);
        RowText(EQUIP_RANK + i, "$", 166.0f, y, this);
        Picture("MoneyIcon", EQUIP_MONEY + i, 230.0f, y, kRowBadgeIcon, kRowBadgeIcon, kLockColour,
                "Menu\\Common\\LockedIconMoney.dds", this);
        RowText(EQUIP_TITLE + i, "Title", 310.0f, y - 51.0f, this);
        if (StaticTextBox* text =
                MenuKitTextBox(EQUIP_TEXT + i, u"", 310.0f, y - 14.0f, 840.0f, y + 46.0f, this))
            text->SetName("Description");
    }
    LinkCtlNav(EQUIP_RIDES, EQUIP_CANCEL, EQUIP_CANCEL, EQUIP_UTILITY, EQUIP_GOC);
    LinkCtlNav(EQUIP_GOC, EQUIP_CANCEL, EQUIP_CANCEL, EQUIP_RIDES, EQUIP_FOOD);
    LinkCtlNav(EQUIP_FOOD, EQUIP_OK, EQUIP_OK, EQUIP_GOC, EQUIP_UTILITY);
    LinkCtlNav(EQUIP_UTILITY, EQUIP_OK, EQUIP_OK, EQUIP_FOOD, EQUIP_RIDES);
    LinkCtlNav(EQUIP_CANCEL, EQUIP_UTILITY, EQUIP_UTILITY, EQUIP_OK, EQUIP_OK);
    LinkCtlNav(EQUIP_OK, EQUIP_FOOD, EQUIP_FOOD, EQUIP_CANCEL, EQUIP_CANCEL);
    // No control has the id 0: without a fall-back nothing would hold the focus, and the
    // catalogue could be neither used nor left by the keyboard. OK chooses the highlighted row.
    if (!FocusCtl(0)) FocusCtl(EQUIP_OK);
    SetName("EquipResource");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuEquipResource)\n", GetName());
    // The rows, the bar and the buttons are filled by Start's filter.
    if (mt) MtGamePause(mt);
    return 1;
}

int MenuEquipResource::Start() {
    Menu3Base::Start();
    Filter(g_catalogueCategory);
    return 1;
}

int MenuEquipResource::Destroy() {
    entries.clear();
    entries.shrink_to_fit();
    if (MtGame* mt = Game()) mt->RestoreClockSpeed();
    return Menu3Base::Destroy();
}

void MenuEquipResource::Filter(int32_t category) {
    MtGame* mt = Game();
    AttrInfoList* list = mt ? mt->attrList : nullptr;
    shownCount = 0;
    const int32_t count = list ? list->Count() : 0;
    // The list is the game's: never more than were counted at Create.
    for (int32_t i = 0; i < count && shownCount < int32_t(entries.size()); ++i) {
        AttrInfo* type = list->Get(i);
        if (type && type->attrType == category) entries[size_t(shownCount++)] = type;
    }
    top = 0;
    row = 0;
    highlightY.SetTime(0.1f);
    highlightY.SetImmediate(RowY(0));
    FillRows();
    pulseTime = 0.0f;
    UpdateButtons();
}

void MenuEquipResource::FillRows() {
    MtGame* mt = Game();
    for (int r = 0; r < EQUIP_ROWS; ++r) {
        const int32_t i = top + r;
        auto* thumb = dynamic_cast<StaticGraphic*>(FindCtl(EQUIP_THUMB + r));
        Ctl3Base* title = FindCtl(EQUIP_TITLE + r);
        auto* text = dynamic_cast<StaticTextBox*>(FindCtl(EQUIP_TEXT + r));
        Ctl3Base* lock = FindCtl(EQUIP_LOCKED + r);
        Ctl3Base* money = FindCtl(EQUIP_MONEY + r);
        Ctl3Base* rank = FindCtl(EQUIP_RANK + r);
        Ctl3Base* select = FindCtl(EQUIP_SELECT + r);
        // Only the rows whose controls were made are filled.
        if (!thumb || !title || !text) {
            if (select) Ctl3SetEnabled(select, false);
            continue;
        }
        if (lock) Ctl3SetVisible(lock, false);
        if (money) Ctl3SetVisible(money, false);
        if (rank) Ctl3SetVisible(rank, false);
        if (i >= shownCount) {
            Ctl3SetVisible(thumb, false);
            title->SetTextW(u"");
            text->SetText(u"");
            text->Flip();
            if (select) Ctl3SetEnabled(select, false);
            continue;
        }
        const AttrInfo* type = entries[size_t(i)];
        std::snprintf(thumb->textureName, sizeof thumb->textureName, "%s", type->texFileName);
        Ctl3SetVisible(thumb, true);
        thumb->Start();
        if (IsLocked(type)) {
            if (lock) Ctl3SetVisible(lock, true);
            if (rank) {
                Ctl3SetVisible(rank, true);
                rank->SetTextW(MtGameRankName(mt, type->unlockPrice));
            }
        } else if (TooDear(type) && money) {
            Ctl3SetVisible(money, true);
        }
        char16_t line[CTL3_LABEL_MAX + 1];
        // Dollars and cents, not whole dollars: hourly costs show two decimals everywhere, and a
        // $2.50 stand read "$2/hr" here beside the hourly cost report's "$2.50".
        WideFormat(line, CTL3_LABEL_MAX + 1, u"%s  -  $%.2f/hr  deposit:$%i", type->name,
                   double(type->idleCost) * 0.01, type->deposit / 100);
        title->SetTextW(line);
        const bool badge = (lock && lock->visible) || (money && money->visible);
        RowBadgePlace(text, lock, money, rank, badge, kRowRight);
        text->SetText(type->description);
        text->Flip();
        if (select) Ctl3SetEnabled(select, true);
    }
}

void MenuEquipResource::UpdateButtons() {
    Ctl3SetLive(FindCtl(EQUIP_UP), top != 0 || row != 0);
    const bool atEnd = (top == shownCount - 3 && row == 2) || top + row >= shownCount - 1;
    Ctl3SetLive(FindCtl(EQUIP_DOWN), !atEnd);
    const int32_t i = top + row;
    const AttrInfo* type = i >= 0 && i < shownCount ? entries[size_t(i)] : nullptr;
    // A type of no cells could never be placed.
    const bool usable = type && type->footX >= 1 && type->footZ >= 1;
    Ctl3SetLive(FindCtl(EQUIP_OK), usable && !IsLocked(type) && !TooDear(type));
}

void MenuEquipResource::Scroll(int32_t d) {
    bool moved = false;
    if (d > 0 && row > 0) {
        --row;
        moved = true;
    } else if (d < 0 && row < EQUIP_ROWS - 1) {
        ++row;
        moved = true;
    }
    highlightY.SetTarget(RowY(row));
    if (!moved) {
        if (d > 0 && top > 0) --top;
        if (d < 0 && top + 4 <= shownCount) ++top;
    }
    FillRows();
    UpdateButtons();
}

int MenuEquipResource::Update(float seconds) {
    if (Menu3Base::Update(seconds) == 0) return 0;
    // The game is paused, so the tree's step is 0: the bar runs on the frame's own time.
    const float dt = std::isfinite(g_frameSeconds) && g_frameSeconds > 0.0f ? g_frameSeconds : 0.0f;
    // Only the phase within the second matters; kept small so that it never loses precision.
    pulseTime = std::fmod(pulseTime + dt, 1.0f);
    const float a = ((std::sin(2.0f * kPi * pulseTime) + 1.0f) / 2.0f * 0.1f + 0.35f) * 255.0f;
    highlightY.Update(dt);
    if (highlight) {
        highlight->SetPos2D(516.0f, highlightY.GetValue());
        highlight->colour = (uint32_t(a) << 24) | 0x00FFFFFFu;
    }
    return 1;
}

void MenuEquipResource::Close() {
    // The HUD the opener named, not whatever comes first under "Menus".
    if (auto* back = dynamic_cast<Menu3Base*>(hud.Get()); back && EntIsLive(back))
        back->SetActive();
    EntDestroyTree(this);
}

int MenuEquipResource::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!e || e->type != CTL3_EVENT || e->b != CTL3_CLICK) return 1;
    switch (e->a) {
        case EQUIP_FOOD:
        case EQUIP_GOC:
        case EQUIP_RIDES:
        case EQUIP_UTILITY:
            g_catalogueCategory = kCategories[e->a - EQUIP_FOOD].category;
            Filter(g_catalogueCategory);
            return 1;
        case EQUIP_UP:
            if (Ctl3Base* up = FindCtl(EQUIP_UP); up && up->enabled) Scroll(+1);
            return 1;
        case EQUIP_DOWN:
            if (Ctl3Base* down = FindCtl(EQUIP_DOWN); down && down->enabled) Scroll(-1);
            return 1;
        case EQUIP_OK: {
            Ctl3Base* ok = FindCtl(EQUIP_OK);
            const int32_t i = top + row;
            if (!ok || !ok->enabled || i < 0 || i >= shownCount) return 1;
            MtGame* mt = Game();
            if (chosenType) *chosenType = entries[size_t(i)];
            if (chosenIndex && mt && mt->attrList)
                *chosenIndex = mt->attrList->IndexOf(entries[size_t(i)]);
            Close();
            return 0;
        }
        case EQUIP_CANCEL:
            if (chosenType) *chosenType = nullptr;
            Close();
            return 0;
        case EQUIP_SELECT:
        case EQUIP_SELECT + 1:
        case EQUIP_SELECT + 2: {
            Ctl3Base* select = FindCtl(int32_t(e->a));
            if (!select || !select->enabled) return 1;
            row = int32_t(e->a) - EQUIP_SELECT;
            highlightY.SetTarget(RowY(row));
            UpdateButtons();
            return 1;
        }
        default: return 1;
    }
}

Menu3Base* MenuEquipResourceOpen(ENTBASE* parent, ENTBASE* hud, AttrInfo** chosenType,
                                 int32_t* chosenIndex) {
    MenuOpenArgs args;
    args.returnMenu = hud;
    args.out[0] = chosenType;
    args.out[1] = chosenIndex;
    return MenuOpen("MenuEquipResource", parent, &args);
}

intptr_t EcMenuEquipResourceProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
