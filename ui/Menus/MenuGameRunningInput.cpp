// The HUD's input and game events: its buttons and keys, clicks on the world, and the screens
// it opens over itself.
#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/Input/SlInput.h"
#include "engine/Input/SlScanCodes.h"
#include "game/Ents/IconFlyup.h"
#include "game/Ents/Rube1.h"
#include "game/GameGridCore.h"
#include "game/MtGame.h"
#include "ui/GraphicButton.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/HudPlacement.h"
#include "ui/Menus/MenuEquipResource.h"
#include "ui/Menus/MenuGameRunning.h"
#include "world/CameraCurrent.h"
#include "world/EntViewport.h"

#include <cmath>

namespace {

constexpr float kSpeeds[4] = {0.5f, 1.0f, 2.0f, 8.0f};

} // namespace

EntViewport* MenuGameRunning::WorldViewport() {
    // The menus have a viewport of their own: the world's is the one that draws "World".
    ENTBASE* found[16] = {};
    const int n = EntFindAllOfType(EntGetRoot(this), "Viewport", found, 16);
    EntViewport* firstFound = nullptr;
    for (int i = 0; i < n && i < 16; ++i)
        if (auto* viewport = dynamic_cast<EntViewport*>(found[i])) {
            if (!firstFound) firstFound = viewport;
            if (viewport->drawRoot && viewport->drawRoot == world.Get()) return viewport;
        }
    return firstFound;
}

int MenuGameRunning::Opened(Menu3Base* made, const char* className) {
    if (made) return 0;
    // Nothing else would ever make the HUD active again: the day could not go on.
    DbgPrintf(DBG_GENERAL, "MenuGameRunning: cannot open %s\n", className);
    SetActive();
    return 1;
}

int MenuGameRunning::OpenMenu(const char* className, void* out0, void* out1) {
    MenuOpenArgs args;
    args.returnMenu = this;
    args.out[0] = out0;
    args.out[1] = out1;
    return Opened(MenuOpen(className, EntGetParent(this), &args), className);
}

void MenuGameRunning::Leave() {
    HudEndPlacement(this);
    HudSelect(this, nullptr);
    ClearActive(); // also forgets `pending`
}

int MenuGameRunning::HandOver(const char* className, void* out0, void* out1) {
    Leave();
    return OpenMenu(className, out0, out1);
}

int MenuGameRunning::OnControl(int32_t id) {
    MtGame* mt = Game();
    switch (id) {
        case HUD_EQUIPMENT:
            if (mt) shownCash = mt->cash;
            Leave();
            return Opened(
                MenuEquipResourceOpen(EntGetParent(this), this, &chosenType, &chosenIndex),
                "MenuEquipResource");
        case HUD_MENU:
            HudSelect(this, nullptr);
            if (chosenType) {
                HudEndPlacement(this);
                return 1;
            }
            ClearActive();
            return OpenMenu("MenuInGame", nullptr, nullptr);
        case HUD_REPORTS: return HandOver("MenuReports", &pending, nullptr);
        case HUD_SPEED_HALF:
        case HUD_SPEED_1X:
        case HUD_SPEED_2X:
        case HUD_SPEED_8X:
            if (mt) MtGameSetTimerScale(mt, kSpeeds[id - HUD_SPEED_HALF]);
            return 1;
        case HUD_START:
            // A second click queued in the same frame finds the button disabled: one opening.
            if (startButton && !startButton->enabled) return 1;
            Ctl3SetLive(startButton, false);
            MtGameOpenGates(mt);
            return 1;
        case HUD_HELP: return HandOver("MenuHelp", nullptr, nullptr);
        case HUD_SHOW_GRID:
            if (GameGridCore* cells = GameGridFrom(grid.Get()))
                cells->showAll = GetCtlChecked(HUD_SHOW_GRID) ? 1 : 0;
            return 1;
        case HUD_DRAW_PATHS: g_rubeDrawPaths = GetCtlChecked(HUD_DRAW_PATHS) ? 1 : 0; return 1;
        case HUD_VIEW_NORMAL:
            if (ENTBASE* camera = EntTreeFindName(EntGetRoot(this), "Camera2")) {
                if (EntViewport* viewport = WorldViewport())
                    viewport->SetVoid("entCamera", reinterpret_cast<intptr_t>(camera));
                CameraSetCurrent(camera);
            }
            return 1;
        case HUD_DRAW_RUBES: WorldClassFlags<Rube1>::word ^= ENT_CLASS_DRAW; return 1;
        case HUD_DRAW_FLYUPS: WorldClassFlags<IconFlyup>::word ^= 0x2u; return 1;
        case HUD_END_DAY:
            if (mt) mt->gameTime = mt->gameVals.closingTime;
            return 1;
        default: return -1; // not one of the buttons: the input handling has it
    }
}

void MenuGameRunning::OnPointerDown() {
    buttonDown = true;
    const float x = float(mouseX), y = float(mouseY);
    if (EnabledCtlAtPoint(x, y)) return;
    for (int kind = 0; kind < 3; ++kind)
        if (Menu3Base* inspector = Inspector(kind); inspector && inspector->shown)
            if (inspector->EnabledCtlAtPoint(x, y)) return;
    if (holdFlag || chosenType) return;
    float nx, ny;
    MouseNdc(&nx, &ny);
    DbgPrintf(DBG_GENERAL, "Menu: x:%i  y:%i  nx:%f  ny:%f\n", mouseX, mouseY, double(nx),
              double(ny));
    HudSelect(this, PickAtMouse());
}

void MenuGameRunning::OnPointerUp() {
    buttonDown = false;
    if (EnabledCtlAtPoint(float(mouseX), float(mouseY))) return;
    if (holdFlag || !chosenType) return;
    HudPlaceAttraction(this);
}

int MenuGameRunning::OnMessage(const SlEvent* e) {
    if (!active) return 2;
    if (!e) return 1;
    switch (e->type) {
        case SL_MENUBACK:
        case SL_PADSTART:
            // The back key is a click on "Menu".
            SlPostEvent(CTL3_EVENT, HUD_MENU, CTL3_CLICK);
            return 1;
        case SL_MENUUP:
        case SL_MENUDOWN:
        case SL_MENULEFT:
        case SL_MENURIGHT:
            // The first arrow key with nothing in focus only puts the focus on "Equipment";
            // the next ones move it along the links. Without it the arrows reached nothing and
            // the HUD could not be worked by the keyboard.
            if (Ctl3GetFocus()) return 1;
            FocusCtl(HUD_EQUIPMENT);
            return 0;
        case SL_KEYDOWN:
            if (e->a == DIK_C && (e->b & SL_MOD_LCTRL)) {
                debugRowShown = !debugRowShown;
                ShowDebugRow(debugRowShown);
            } else if (e->a == DIK_SPACE) {
                rotation = (rotation + 1) % 4;
                HudRefreshCursor(this);
            }
            return 1;
        case CTL3_EVENT:
            if (e->b == CTL3_CLICK && e->a >= 0 && e->a < HUD_CONTROL_LIMIT) {
                const int handled = OnControl(int32_t(e->a));
                if (handled >= 0) return handled;
            }
            return 1;
        case SL_MOUSEPOS: {
            const float x = SlUnpackFloat(e->a), y = SlUnpackFloat(e->b);
            // A position that is no number, or far off any screen, is kept off the screen.
            mouseX = std::isfinite(x) && x > -1.0e6f && x < 1.0e6f ? int32_t(x) : -1;
            mouseY = std::isfinite(y) && y > -1.0e6f && y < 1.0e6f ? int32_t(y) : -1;
            return 1;
        }
        case SL_MOUSE1DOWN: holdFlag = true; return 1;
        case SL_MOUSE1UP: holdFlag = false; return 1;
        case SL_MOUSE0DOWN: OnPointerDown(); return 1;
        case SL_MOUSE0UP: OnPointerUp(); return 1;
        default: return 1;
    }
}

int MenuGameRunning::OnGameEvent(int event, intptr_t) {
    if (!active) return 1;
    if (event == GE_END_OF_DAY) {
        Ctl3SetLive(startButton, true);
        SetCtlChecked(HUD_SPEED_1X, true);
        HandOver("MenuEndOfDay", nullptr, nullptr);
    } else if (event == GE_HOURLY) {
        MtGame* mt = Game();
        if (!mt || !mt->showHourlyReport) return 1;
        HandOver("MenuReportHourly", &pending, nullptr);
    }
    return 1;
}
