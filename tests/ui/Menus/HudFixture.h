// The HUD's tests: the interface harness with the real game object and the screens' stand-ins,
// the default venue loaded as the world loader will load it, and the HUD opened on "Menus".
#pragma once

#include "game/MtGame.h"
#include "tests/harness/UiHarness.h"
#include "tests/ui/Menus/HudDoubles.h"
#include "tests/venue/VenueDriver.h"
#include "ui/Menus/MenuGameRunning.h"

class AttrBase;

class HudTest : public UiTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the game and loads the default venue in sandbox mode; with `open`, opens the HUD
    // and lets the venue intro hand back at once.
    void StartHud(bool open = true);
    // The HUD opened on "Menus" (its intro handing back at its first update).
    MenuGameRunning* OpenHud();
    MtGame* Game() const { return venue.Game(); }
    // The control event a click on the HUD's control posts, heard in the next frame.
    void PostClick(int32_t id);
    // An attraction of the type placed on the grid cell under screen point (x, y); null when
    // the point shows no free ground.
    AttrBase* PlaceUnder(int type, float x, float y);
    // Where the current camera shows a world point.
    bool ScreenOf(const VECTOR3& p, float* x, float* y);

    VenueDriver venue;
    MenuGameRunning* hud = nullptr;
};
