// The HUD's creation, its controls, its life as the active menu and its class procedure.
#include "ui/Menus/MenuGameRunning.h"

#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "game/Ents/RubeGen.h"
#include "game/MtGame.h"
#include "game/MtPowerGrid.h"
#include "ui/Ctl3StatBar3Color.h"
#include "ui/Custom.h"
#include "ui/GraphicButton.h"
#include "ui/MenuKit.h"
#include "ui/MenuKitMake.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/HudClockHand.h"
#include "ui/Menus/HudInspector.h"
#include "ui/Menus/HudPlacement.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/TextButton.h"
#include "ui/TextCheckBox.h"
#include "world/CursorFrame.h"
#include "world/EntMusic.h"

#include <cstdio>

namespace {

constexpr const char* kScript = "Menu\\MenuGameRunning.lua";
constexpr const char16_t* kHint = u"place: left-click        rotate:[Space]        cancel:[Esc]";
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// A picture centred on (x, y), w x h, showing the uv rectangle of its texture.
StaticGraphic* Picture(ENTBASE* menu, int32_t id, const char* name, float x, float y, float w,
                       float h, Ctl3Rect uv, uint32_t colour, const char* texture) {
    auto* g = MenuKitMake<StaticGraphic>("StaticGraphic", menu, id, x, y, nullptr, name);
    if (!g) return nullptr;
    g->width = w;
    g->height = h;
    g->horizAlign = 1;
    g->uv = uv;
    g->colour = colour;
    std::snprintf(g->textureName, sizeof g->textureName, "%s", texture);
    g->Start();
    return g;
}

// A button whose image is one w x h cell per state; without its texture it is a w x h quad.
GraphicButton* Button(ENTBASE* menu, int32_t id, const char* name, float x, float y, int w, int h,
                      const char* texture) {
    auto* b = MenuKitMake<GraphicButton>("GraphicButton", menu, id, x, y, nullptr, name);
    if (!b) return nullptr;
    b->image.left = 0;
    b->image.top = 0;
    b->image.right = w - 1;
    b->image.bottom = h - 1;
    b->width = float(w);
    b->height = float(h);
    std::snprintf(b->image.textureName, sizeof b->image.textureName, "%s", texture);
    b->Start();
    return b;
}

StaticText* Text(ENTBASE* menu, int32_t id, float x, float y, const char* font) {
    auto* t = MenuKitMake<StaticText>("StaticText", menu, id, x, y, u"", nullptr);
    if (!t) return nullptr;
    t->SetFont(MenuKitFont(font));
    t->colour = kWhite;
    return t;
}

} // namespace

// ---- creation ----

int MenuGameRunning::CopyClassName(char* buffer) {
    if (buffer) std::snprintf(buffer, 64, "MenuGameRunning");
    return 1;
}

void MenuGameRunning::FindWorld() {
    ENTBASE* root = EntGetRoot(this);
    gameLink = EntRef(EntTreeFindType(root, "MtGame"));
    grid = EntRef(EntTreeFindType(root, "GameGrid"));
    powerGrid = EntRef(EntTreeFindType(root, "MtPowerGrid"));
    attrCursor = EntRef(EntTreeFindName(root, "AttrCursor"));
    world = EntRef(EntTreeFindName(root, "World"));
    first = EntRef(EntTreeFindName(root, "First"));
    rubeGen = EntRef(EntTreeFindType(root, "RubeGen"));
    game = gameLink.Get();
}

void MenuGameRunning::LinkControls() {
    // The buttons along the top in a ring, the speeds, the grid and Start down the left, each
    // side's ends leading to the other: the HUD can be worked without the mouse.
    LinkCtlNav(HUD_MENU, HUD_START, HUD_START, HUD_HELP, HUD_EQUIPMENT);
    LinkCtlNav(HUD_EQUIPMENT, HUD_START, HUD_START, HUD_MENU, HUD_REPORTS);
    LinkCtlNav(HUD_REPORTS, HUD_START, HUD_START, HUD_EQUIPMENT, HUD_HELP);
    LinkCtlNav(HUD_HELP, HUD_START, HUD_START, HUD_REPORTS, HUD_MENU);
    const int32_t left[] = {HUD_SPEED_HALF, HUD_SPEED_1X,  HUD_SPEED_2X,
                            HUD_SPEED_8X,   HUD_SHOW_GRID, HUD_START};
    constexpr int n = int(sizeof left / sizeof left[0]);
    for (int i = 0; i < n; ++i)
        LinkCtlNav(left[i], left[(i + n - 1) % n], left[(i + 1) % n], HUD_EQUIPMENT, HUD_EQUIPMENT);
}

void MenuGameRunning::BuildControls() {
    Picture(this, -1, "Background", 512, 89, 1024, 178, {0.0f, 0.0f, 1.0f, 0.6953125f}, 0xBFFFFFFFu,
            "Menu\\Hud\\ZobHudBackground.dds");
    Button(this, HUD_MENU, "Menu", 610, 9, 93, 49, "Menu\\Hud\\ButtonBusinessReport.dds");
    Button(this, HUD_EQUIPMENT, "Equipment", 723, 6, 93, 59, "Menu\\Hud\\ButtonFairReport.dds");
    Button(this, HUD_REPORTS, "Reports", 843, 4, 70, 68, "Menu\\Hud\\ButtonManage.dds");
    Button(this, HUD_HELP, "Help", 942, 6, 63, 52, "Menu\\Hud\\ButtonHelp.dds");
    startButton = MenuKitButtonStart(HUD_START, 8, 282, this);
    MenuKitCheckBox(HUD_SPEED_HALF, u"1/2 Time", 16, 175, 0, 0, this);
    MenuKitCheckBox(HUD_SPEED_1X, u"1X Time", 16, 195, 1, 0, this);
    MenuKitCheckBox(HUD_SPEED_2X, u"2X Time", 16, 215, 0, 0, this);
    MenuKitCheckBox(HUD_SPEED_8X, u"8X Time", 16, 235, 0, 0, this);
    MenuKitCheckBox(HUD_SHOW_GRID, u"Show Grid", 16, 255, 0, -1, this);
    MenuKitTextCheckBox(HUD_DRAW_PATHS, u"drawPaths", 16, 500, 0, -1, this);
    MenuKitTextCheckBox(HUD_VIEW_NORMAL, u"viewNormal", 16, 514, 0, -1, this);
    // The kit starts text boxes unchecked whatever it is told: these two are drawn at start.
    if (auto* box = MenuKitTextCheckBox(HUD_DRAW_RUBES, u"drawRubes", 16, 528, 1, -1, this))
        Ctl3SetChecked(box, true);
    if (auto* box = MenuKitTextCheckBox(HUD_DRAW_FLYUPS, u"drawFlyups", 16, 542, 1, -1, this))
        Ctl3SetChecked(box, true);
    MenuKitTextButton(HUD_END_DAY, u"endDay", 10, 556, this);
    hint = MenuKitText(kHint, 16, 720, this);
    if (StaticText* fps = Text(this, HUD_FPS, 10, 570, "CourierNew9o")) fps->liveText = fpsText;
    cashText = Text(this, HUD_CASH, 210, 9, "Georgia_20");
    powerBar = MenuKitMake<Ctl3StatBar3Color>("Ctl3StatBar3Color", this, HUD_POWER, 382, 12,
                                              nullptr, nullptr);
    if (powerBar) {
        powerBar->width = 124;
        powerBar->height = 28;
        powerBar->SetFont(MenuKitFont("Georgia_20"));
        // The bar shows the share of the demand that is supplied: full is good. The bar's own
        // colours read a load (full is bad), so they are turned round here.
        powerBar->style.lowColour = 0xFFFF0000u;
        powerBar->style.highColour = 0xFF00FF00u;
        powerBar->Start();
    }
    Picture(this, -1, "ClockFace", 70, 45, 56, 56, {0.0f, 0.0f, 0.875f, 0.875f}, kWhite,
            "Menu\\Hud\\ZobTimeOfDayDisc.dds");
    // Between the dial and its frame, turned about the dial's middle: a hand with no id and no
    // input, beyond the HUD's listed controls, so the disc reads as a clock.
    clockHand = MenuKitMake<Custom>("Custom", this, -1, 70, 45, nullptr);
    if (clockHand) {
        clockHand->drawFn = HudDrawClockHand;
        clockHand->user = reinterpret_cast<intptr_t>(this);
        clockHand->Start();
    }
    Picture(this, -1, "ClockFrame", 70, 45, 104, 87, {0.0f, 0.0f, 0.8125f, 0.6796875f}, kWhite,
            "Menu\\Hud\\ZobTimeOfDayIconFrame.dds");
    clockText = Text(this, HUD_CLOCK, 42, 78, "Georgia_16");
    patronText = Text(this, HUD_PATRONS, 70, 108, "Georgia_20");
    moodIcon = Picture(this, HUD_MOOD, "Background", 47, 130, 32, 32, {0.0f, 0.0f, 1.0f, 1.0f},
                       kWhite, "Menu\\InfoIcons");
}

void MenuGameRunning::CreateInspectors() {
    ENTBASE* parent = EntGetParent(this);
    MenuOpenArgs args;
    args.returnMenu = this;
    for (int kind = 0; kind < 3; ++kind) {
        Menu3Base* made = parent ? MenuOpen(kHudInspectorClasses[kind], parent, &args) : nullptr;
        inspectors[kind] = EntRef(made);
    }
    HudSelect(this, nullptr);
}

int MenuGameRunning::Create(EntNode* n) {
    // Fields back to their start (a second Create must not keep the first's state).
    mouseX = mouseY = 0;
    selected = hovered = EntRef();
    pending = nullptr;
    debugRowShown = holdFlag = buttonDown = false;
    chosenType = nullptr;
    chosenIndex = -1;
    shownCash = 0;
    cashStepTimer = 0.0f;
    blinkMs = 0;
    rotation = 0;
    fpsSeconds = 0.0f;
    fpsFrames = 0;
    fpsText[0] = 0;
    FindWorld();

    MenuCreateConcrete(this, n, MenuNames{nullptr, 0, true}, kScript);
    BuildControls();
    LinkControls();
    SetMood(0.0f); // cell 20
    CreateInspectors();

    SetName("MenuGameRunning");
    DbgPrintf(DBG_GENERAL, "Menu: %s (MenuGameRunning)\n", GetName());
    // Nothing has the focus: Enter does nothing on the HUD until an arrow key shows the
    // focus.
    Ctl3SetFocus(nullptr);
    g_cursorFrameIndex = 1;
    FindWorld();

    MtGame* mt = Game();
    venue = mt ? MtGameVenue(mt) : nullptr;
    if (venue && venue->musicFile[0]) MusicPlayByName(EntGetRoot(this), venue->musicFile);

    ShowDebugRow(debugRowShown);
    shownCash = mt ? mt->cash : 0;
    HudRefreshCursor(this);
    return 1;
}

// ---- the accessors ----

MtGame* MenuGameRunning::Game() {
    return dynamic_cast<MtGame*>(gameLink.Get());
}

Menu3Base* MenuGameRunning::Inspector(int kind) {
    if (kind < 0 || kind > 2) return nullptr;
    return dynamic_cast<Menu3Base*>(inspectors[kind].Get());
}

void MenuGameRunning::ShowDebugRow(bool shown) {
    for (int32_t id = HUD_DRAW_PATHS; id <= HUD_END_DAY; ++id)
        Ctl3SetLive(FindCtl(id), shown);
}

// ---- life as the active menu ----

int MenuGameRunning::Start() {
    ClearActive();
    if (MtGame* mt = Game()) mt->chargeCostsPending = 0;
    OpenMenu("MenuVenueIntro", nullptr, nullptr);
    return 1;
}

void MenuGameRunning::SetActive() {
    Menu3Base::SetActive();
    // The pointer moved unheard while another screen was up: the next click, the hover and the
    // placement go where it is now, not where it was before that screen opened.
    float x = 0.0f, y = 0.0f;
    if (Ctl3PointerAt(&x, &y)) {
        mouseX = int32_t(x);
        mouseY = int32_t(y);
    }
    // A report may have named an entity that left while it was up.
    ENTBASE* wanted = EntIsLive(pending) ? pending : nullptr;
    pending = nullptr;
    if (wanted && HudEntityKind(wanted) < 3)
        HudSelect(this, wanted);
    else
        HudSelect(this, nullptr);
    HudRefreshCursor(this);
}

void MenuGameRunning::ClearActive() {
    Menu3Base::ClearActive();
    pending = nullptr;
}

int MenuGameRunning::OnEntityRemoved(ENTBASE* gone) {
    if (!gone) return 1;
    if (gone == selected.Address()) {
        selected = EntRef();
        HudSelect(this, nullptr);
    }
    if (gone == hovered.Address()) hovered = EntRef();
    if (gone == pending) pending = nullptr;
    for (EntRef* link : {&gameLink, &grid, &powerGrid, &attrCursor, &world, &first, &rubeGen})
        if (gone == link->Address()) *link = EntRef();
    if (gone == game) game = nullptr;
    for (EntRef& inspector : inspectors)
        if (gone == inspector.Address()) inspector = EntRef();
    return 1;
}

// ---- the class ----

namespace {
DataDir s_classFolder;
const WorldClassDef kClass = [] {
    WorldClassDef def{"MenuGameRunning", nullptr, WorldMake<MenuGameRunning>, nullptr};
    def.dataDir = &s_classFolder;
    return def;
}();
} // namespace

intptr_t EcMenuGameRunningProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
