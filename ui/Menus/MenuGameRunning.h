// The in-game HUD: the menu that stays up while a day is played. It shows the cash, the clock,
// the patrons, their mood and the power, switches the game's speed, opens the day and the other
// screens of play, and turns clicks on the world into the selection the inspectors show.
#pragma once

#include "engine/EntRef.h"
#include "ui/Menu3Base.h"

#include <cstdint>

class Ctl3StatBar3Color;
class Custom;
class EntViewport;
class GraphicButton;
class MtGame;
class StaticGraphic;
class StaticText;
struct AttrInfo;
struct VenueInfo;

// The inspectors by the kind of entity they show (HudEntityKind).
enum : int {
    HUD_KIND_PATRON = 0,
    HUD_KIND_EMPLOYEE = 1,
    HUD_KIND_ATTRACTION = 2,
    HUD_KIND_OTHER = 3
};

// The HUD's control ids.
enum : int32_t {
    HUD_EQUIPMENT = 0,
    HUD_MENU = 1,
    HUD_REPORTS = 3,
    HUD_SPEED_HALF = 4,
    HUD_SPEED_1X = 5,
    HUD_SPEED_2X = 6,
    HUD_SPEED_8X = 7,
    HUD_CASH = 8,
    HUD_POWER = 10,
    HUD_CLOCK = 11,
    HUD_PATRONS = 12,
    HUD_MOOD = 13,
    HUD_START = 14,
    HUD_HELP = 15,
    HUD_SHOW_GRID = 16,
    HUD_DRAW_PATHS = 17,
    HUD_VIEW_NORMAL = 18,
    HUD_DRAW_RUBES = 19,
    HUD_DRAW_FLYUPS = 20,
    HUD_FPS = 21,
    HUD_END_DAY = 22,
    HUD_CONTROL_LIMIT = 23, // control clicks at or above it are not the HUD's buttons
};

class MenuGameRunning : public Menu3Base {
  public:
    // ---- the operations, in their slot order ----
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MenuGameRunning"; }
    int Create(EntNode* node) override;
    int Start() override;
    int OnEntityRemoved(ENTBASE* gone) override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    int OnGameEvent(int event, intptr_t value) override;
    void SetActive() override;
    void ClearActive() override;

    // ---- what other screens ask of it ----
    MtGame* Game();
    // The inspector of a kind (0 patron, 1 employee, 2 attraction), or null.
    Menu3Base* Inspector(int kind);
    // The world links, found again from the root of the tree.
    void FindWorld();
    void ShowDebugRow(bool shown);
    // The entity under the mouse in the world (the hover's and the click's pick), or null.
    ENTBASE* PickAtMouse();
    // The pointer in the pick ray's terms: x and y from -1 to 1 across the 1024 x 768 screen,
    // y up.
    void MouseNdc(float* nx, float* ny) const;

    // ---- fields ----
    // The world's entities, found again by every Create and refresh; any may be gone.
    EntRef gameLink;
    EntRef grid;
    EntRef powerGrid;
    EntRef attrCursor;
    EntRef world;
    EntRef first;
    EntRef rubeGen;
    EntRef selected;
    EntRef hovered;
    // Written by a report screen through the pointer it was given; checked for life before use.
    ENTBASE* pending = nullptr;
    EntRef inspectors[3];
    // The controls the frame writes: children of the HUD, made by Create.
    StaticText* cashText = nullptr;
    StaticText* clockText = nullptr;
    Custom* clockHand = nullptr; // draws the hand over the clock's dial
    StaticText* patronText = nullptr;
    StaticGraphic* moodIcon = nullptr;
    Ctl3StatBar3Color* powerBar = nullptr;
    GraphicButton* startButton = nullptr;
    StaticText* hint = nullptr;
    float fpsSeconds = 0.0f;
    int32_t fpsFrames = 0;
    char16_t fpsText[32] = {};
    int32_t mouseX = 0, mouseY = 0;
    VenueInfo* venue = nullptr;
    AttrInfo* chosenType = nullptr;
    int32_t chosenIndex = -1;
    int32_t cursorCellX = 0, cursorCellZ = 0;
    bool debugRowShown = false;
    bool holdFlag = false;
    bool buttonDown = false;
    int32_t shownCash = 0;
    float cashStepTimer = 0.0f;
    uint32_t blinkMs = 0;
    int32_t rotation = 0;
    int32_t moodCell = 20; // the cell the mood icon shows
    // The clock hand's turn, radians clockwise from twelve, set by the frame.
    float clockHandAngle = 0.0f;

  private:
    void LinkControls();
    void BuildControls();
    void CreateInspectors();
    // The click on one of the HUD's own controls: 0 when it handed over to another menu.
    int OnControl(int32_t id);
    void OnPointerDown();
    void OnPointerUp();
    // The viewport that shows the world (the first viewport when none draws "World").
    EntViewport* WorldViewport();
    void SetMood(float mood);
    // 0 when the screen was made; when it was not the HUD logs it, takes input again and gives 1.
    int Opened(Menu3Base* made, const char* className);
    // Opens the class under the HUD's parent with the HUD to return to; Opened's answer.
    int OpenMenu(const char* className, void* out0, void* out1);
    // What every screen the HUD hands over to begins with: the placement ended, nothing
    // selected, the HUD inactive.
    void Leave();
    // Leave, then OpenMenu.
    int HandOver(const char* className, void* out0, void* out1);
};

// Class "MenuGameRunning".
intptr_t EcMenuGameRunningProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
