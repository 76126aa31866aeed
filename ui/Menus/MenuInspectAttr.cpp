// The attraction panel's creation, its fill from the attraction, the writes back, the per-frame
// counts and wear, and its class procedure.
#include "ui/Menus/MenuInspectAttr.h"

#include "engine/DataDir.h"
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/AttrInfo.h"
#include "game/Ents/AttrBase.h"
#include "ui/Custom.h"
#include "ui/GraphicButton.h"
#include "ui/IncDecArt.h"
#include "ui/IncDecButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/StaticText.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr const char* kScript = "Menu\\MenuGameRunning.lua";
constexpr const char* kLabelFont = "Georgia_16";
constexpr const char* kNumberFont = "Georgia_14";

// The rows, as offsets from the inner rectangle's top left corner; values stand 100 units right
// of their labels. The kit buttons keep to the framework's bottom row at y 672, the remove
// button beside View and the ride button above it.
constexpr float kValueX = 100.0f;
// The number controls stand further out: "Wait Time:" is wider than 100 units in its font.
constexpr float kNumberX = 120.0f;
constexpr float kVisitingY = 32.0f; // below the title's line
constexpr float kInLineY = 58.0f;   // a text line is 26 units
constexpr float kMaintY = 84.0f;
constexpr float kBarTop = 7.0f; // the bar sits in the middle of the "Maint:" line
constexpr float kBarWidth = 120.0f;
constexpr float kBarHeight = 12.0f;
constexpr float kChecksY = 112.0f;
constexpr float kRepairX = 120.0f;
constexpr float kPriceY = 134.0f; // number rows are 28 units and 2 apart
constexpr float kLabel1Y = 164.0f;
constexpr float kLabel2Y = 194.0f;
constexpr float kNumberLabelDrop = 1.0f; // a label sits level with its number's text
constexpr float kKitButtonX = 872.0f;
constexpr float kBottomRowY = 672.0f;
constexpr float kRideRowY = 612.0f;

StaticText* Label(ENTBASE* menu, int32_t id, const char16_t* text, float x, float y) {
    auto* t = MenuKitMake<StaticText>("StaticText", menu, id, x, y, text);
    if (!t) return nullptr;
    t->SetFont(MenuKitFont(kLabelFont));
    t->horizAlign = 0;
    t->Start();
    return t;
}

IncDecButton* Number(ENTBASE* menu, int32_t id, const char* name, float x, float y) {
    auto* n = MenuKitMake<IncDecButton>("IncDecButton", menu, id, x, y, nullptr);
    if (!n) return nullptr;
    n->SetName(name);
    n->SetFont(MenuKitFont(kNumberFont));
    std::snprintf(n->body.textureName, sizeof n->body.textureName, "%s", kIncDecBodyImage);
    std::snprintf(n->up.textureName, sizeof n->up.textureName, "%s", kIncDecUpImage);
    std::snprintf(n->down.textureName, sizeof n->down.textureName, "%s", kIncDecDownImage);
    n->boxWidth = kIncDecBoxWidth;
    n->Start();
    return n;
}

void SetNumber(IncDecButton* n, const char16_t* unit, int32_t value, int32_t step, int32_t lo,
               int32_t hi) {
    if (!n) return;
    n->SetTextW(unit);
    n->value = value;
    n->step = step;
    n->minimum = lo;
    n->maximum = hi;
}

// Seconds as the number control shows them: truncated, and a value no int can hold (bad data)
// held at the nearest end rather than converted out of range.
int32_t Truncated(float seconds) {
    if (std::isnan(seconds)) return 0;
    if (seconds >= 2147483520.0f) return INT32_MAX;
    if (seconds <= -2147483648.0f) return INT32_MIN;
    return int32_t(seconds);
}

int DrawBar(intptr_t user) {
    auto* panel = reinterpret_cast<MenuInspectAttr*>(user);
    if (!panel) return 1;
    // The kernel's bar runs past its right edge above 1.
    StatBar3Style shown = panel->wearBar;
    if (shown.value < 0.0f) shown.value = 0.0f;
    if (shown.value > 1.0f) shown.value = 1.0f;
    StatBar3Draw(&shown);
    return 1;
}

} // namespace

// ---- creation ----

int MenuInspectAttr::CopyClassName(char* buffer) {
    if (buffer) std::snprintf(buffer, 64, "MenuInspectAttr");
    return 1;
}

void MenuInspectAttr::SetOpenArgs(const MenuOpenArgs& args) {
    hud = EntRef(args.returnMenu);
}

void MenuInspectAttr::FindCameras() {
    ENTBASE* root = EntGetRoot(this);
    savedCamera = EntRef(EntTreeFindType(root, "CameraVantor1"));
    rideCamera = EntRef(EntTreeFindType(root, "CameraAttach"));
    mainViewport = EntRef(EntTreeFindName(root, "ViewportMain"));
}

int MenuInspectAttr::Create(EntNode* n) {
    attraction = EntRef();
    rideCamOn = false;
    rideSeat = -1;
    MenuCreateConcrete(this, n, MenuNames{nullptr, 0, true}, kScript);
    FindCameras();
    wearBar.lowThreshold = kInspectAttrWearLow;
    wearBar.highThreshold = kInspectAttrWearHigh;

    Ctl3Rect in = {};
    MenuAddBackground(kInspectAttrWidth, kInspectAttrHeight, INSPECT_ATTR_TITLE, INSPECT_ATTR_CLOSE,
                      INSPECT_ATTR_LOOK, this, &in);
    const int x = int(in.left), y = int(in.top);
    const float valueX = in.left + kValueX;
    const float numberX = in.left + kNumberX;
    visitingValue =
        static_cast<StaticText*>(MenuAddTextAt(u"Visiting:", x, y + int(kVisitingY), this));
    inLineValue = static_cast<StaticText*>(MenuAddTextAt(u"In Line:", x, y + int(kInLineY), this));
    maintText = Label(this, INSPECT_ATTR_MAINT, u"Maint:", in.left, in.top + kMaintY);
    brokenText = Label(this, INSPECT_ATTR_BROKEN, u"BROKEN!", valueX, in.top + kMaintY);
    Ctl3SetLive(brokenText, false);
    bar = MenuKitMake<Custom>("Custom", this, INSPECT_ATTR_BAR, valueX, in.top + kMaintY + kBarTop,
                              nullptr);
    if (bar) {
        bar->rect = {valueX, in.top + kMaintY + kBarTop, valueX + kBarWidth,
                     in.top + kMaintY + kBarTop + kBarHeight};
        wearBar.left = bar->rect.left;
        wearBar.top = bar->rect.top;
        wearBar.right = bar->rect.right;
        wearBar.bottom = bar->rect.bottom;
        bar->drawFn = DrawBar;
        bar->user = reinterpret_cast<intptr_t>(this);
        bar->Start();
    }
    openBox = MenuKitCheckBox(INSPECT_ATTR_OPEN, u"Open", in.left, in.top + kChecksY, 0, -1, this);
    repairBox = MenuKitCheckBox(INSPECT_ATTR_REPAIR, u"Repair", in.left + kRepairX,
                                in.top + kChecksY, 0, -1, this);

    priceLabel = Label(this, INSPECT_ATTR_PRICE_LABEL, u"Price:", in.left,
                       in.top + kPriceY + kNumberLabelDrop);
    price = Number(this, INSPECT_ATTR_PRICE, "IncrDecr Ctrl 0", numberX, in.top + kPriceY);
    label1 = Label(this, INSPECT_ATTR_LABEL1, u"", in.left, in.top + kLabel1Y + kNumberLabelDrop);
    setting = Number(this, INSPECT_ATTR_SETTING, "IncrDecr Ctrl 1", numberX, in.top + kLabel1Y);
    label2 = Label(this, INSPECT_ATTR_LABEL2, u"", in.left, in.top + kLabel2Y + kNumberLabelDrop);
    waitTime = Number(this, INSPECT_ATTR_SETTING, "IncrDecr Ctrl 1", numberX, in.top + kLabel2Y);

    MenuKitButtonDelete(INSPECT_ATTR_REMOVE, kKitButtonX, kBottomRowY, this);
    rideButton = MenuKitButtonRide(INSPECT_ATTR_RIDE, kKitButtonX, kRideRowY, this);

    SetName("MenuInspectAttr");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuInspectAttr)\n", GetName());
    // Hidden until the HUD gives it an attraction.
    ClearActive();
    Hide();
    return 1;
}

// ---- showing ----

AttrBase* MenuInspectAttr::Attraction() const {
    return dynamic_cast<AttrBase*>(attraction.Get());
}

void MenuInspectAttr::Show(ENTBASE* entity) {
    InspectAttrShow(this, entity);
}

void InspectAttrShow(MenuInspectAttr* panel, ENTBASE* entity) {
    if (!panel) return;
    // Anything but an attraction with its type closes the panel, as null does: the panel reads
    // attraction fields only.
    AttrBase* attr =
        HudEntityKind(entity) == HUD_KIND_ATTRACTION ? dynamic_cast<AttrBase*>(entity) : nullptr;
    if (!attr || !attr->info) {
        panel->LeaveRideCamera();
        panel->attraction = EntRef();
        panel->ClearActive();
        panel->Hide();
        return;
    }
    if (attr != panel->Attraction()) panel->LeaveRideCamera();
    panel->attraction = EntRef(attr);
    panel->SetActive();
    panel->Fill();
    // Only what can be ridden shows Ride: on a stand, a booth or a game it would do nothing.
    Ctl3SetLive(panel->rideButton, panel->CanRide());
    panel->Refresh();
    panel->Menu3Base::Show();
}

void MenuInspectAttr::Fill() {
    AttrBase* attr = Attraction();
    if (!attr || !attr->info) return;
    AttrInfo* info = attr->info;
    const int32_t t = info->attrType;
    if (Ctl3Base* title = FindCtl(INSPECT_ATTR_TITLE)) title->SetTextW(info->name);
    Ctl3SetChecked(openBox, !attr->closed);
    Ctl3SetChecked(repairBox, attr->repairMe != 0);

    // Stands, rides and games sell by the ticket; a ride or a game has more than a price.
    const bool priced = t >= ATTR_TYPE_FOOD && t <= ATTR_TYPE_GAME;
    SetNumber(price, u" Tickets ", attr->ticketPrice, 1, 1, 100);
    Ctl3SetLive(price, priced);
    Ctl3SetLive(priceLabel, priced);

    if (t == ATTR_TYPE_RIDE) {
        if (label1) label1->SetTextW(u"Duration:");
        SetNumber(setting, u" Secs ", Truncated(info->duration), 5, 1, 600);
    } else if (t == ATTR_TYPE_GAME) {
        if (label1) label1->SetTextW(u"Win At:");
        SetNumber(setting, u"-to-1 Odds", info->winningOdds, 1, 1, 99);
    }
    Ctl3SetLive(label1, t == ATTR_TYPE_RIDE || t == ATTR_TYPE_GAME);
    Ctl3SetLive(setting, t == ATTR_TYPE_RIDE || t == ATTR_TYPE_GAME);

    if (t == ATTR_TYPE_RIDE) {
        if (label2) label2->SetTextW(u"Wait Time:");
        SetNumber(waitTime, u" Secs ", Truncated(info->queueWaitTime), 5, 5, 600);
    }
    Ctl3SetLive(label2, t == ATTR_TYPE_RIDE);
    Ctl3SetLive(waitTime, t == ATTR_TYPE_RIDE);
}

void MenuInspectAttr::Apply() {
    AttrBase* attr = Attraction();
    if (!attr || !attr->info) return;
    AttrInfo* info = attr->info;
    const int32_t t = info->attrType;
    if (t >= ATTR_TYPE_FOOD && t <= ATTR_TYPE_GAME && price) attr->ticketPrice = price->value;
    // These belong to the type: every attraction of it takes them.
    if (t == ATTR_TYPE_RIDE && setting) info->duration = float(setting->value);
    if (t == ATTR_TYPE_GAME && setting) info->winningOdds = setting->value;
    if (t == ATTR_TYPE_RIDE && waitTime) info->queueWaitTime = float(waitTime->value);
}

// ---- every frame ----

void MenuInspectAttr::Refresh() {
    AttrBase* attr = Attraction();
    if (!attr || !attr->info) return;
    char16_t text[48];
    WideFormat(text, 48, u"%i", AttrBaseQueueCount(attr));
    if (inLineValue) inLineValue->SetTextW(text);
    WideFormat(text, 48, u"%i / %i", AttrBaseRiderCount(attr), attr->info->capacity);
    if (visitingValue) visitingValue->SetTextW(text);
    const bool broken = attr->broken;
    Ctl3SetEnabled(openBox, !broken);
    Ctl3SetEnabled(repairBox, !broken);
    Ctl3SetChecked(openBox, !broken && !attr->closed);
    Ctl3SetChecked(repairBox, !broken && attr->repairMe != 0);
    Ctl3SetLive(brokenText, broken);
    if (bar) bar->visible = broken ? 0 : 1;
    wearBar.value = attr->repair;
}

int MenuInspectAttr::Update(float seconds) {
    if (Menu3Base::Update(seconds) == 0) return 0; // faded out and gone
    Refresh();
    return 1;
}

// ---- the class ----

namespace {
DataDir s_classFolder;
const WorldClassDef kClass = [] {
    WorldClassDef def{"MenuInspectAttr", nullptr, WorldMake<MenuInspectAttr>, nullptr};
    def.dataDir = &s_classFolder;
    return def;
}();
} // namespace

intptr_t EcMenuInspectAttrProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
