// The HUD tests' fixture.
#include "tests/ui/Menus/HudFixture.h"

#include "I3d/Math/Pick.h"
#include "engine/Input/SlInput.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/GameGrid.h"
#include "game/Ents/Rube1.h"
#include "tests/venue/VenuePixels.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "world/EntViewport.h"

void HudTest::SetUp() {
    UiTest::SetUp();
    HudResetDoubles();
    // The real game object, and the stand-ins ahead of any real screen of the same name.
    registerFirst = [] {
        EntCreateClass(EcMtGameProc, 0, 0);
        HudRegisterDoubles();
    };
}

void HudTest::TearDown() {
    UiTest::TearDown();
    HudResetDoubles();
    g_rubeDrawPaths = 0;
}

void HudTest::StartHud(bool open) {
    StartUi();
    if (HasFatalFailure()) return;
    // The harness clears the menus' view to black, which would hide the world under the HUD.
    if (auto* view = dynamic_cast<EntViewport*>(app.menuViewport.Get())) view->clear = 0;
    venue.root = app.GetRoot();
    venue.observer = VenueObserverMake(venue.root);
    ASSERT_NE(venue.observer, nullptr);
    venue.frame = [this] { Step(); };
    // The mouse away from the edges, where the management camera would scroll.
    MouseMove(512, 600);
    ASSERT_TRUE(venue.Load(0, MTGAME_SANDBOX)) << "the default venue did not load";
    // A drawn frame hands the management camera's view to the pick ray.
    Step();
    if (open) {
        hud = OpenHud();
        ASSERT_NE(hud, nullptr);
    }
}

MenuGameRunning* HudTest::OpenHud() {
    g_hudAutoClose.insert("MenuVenueIntro");
    auto* made = dynamic_cast<MenuGameRunning*>(MenuGameRunningOpen(app.GetMenus()));
    Step();
    g_hudAutoClose.erase("MenuVenueIntro");
    return made;
}

void HudTest::PostClick(int32_t id) {
    SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
    Step();
}

AttrBase* HudTest::PlaceUnder(int type, float x, float y) {
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(venue.root, "GameGrid"));
    if (!grid) return nullptr;
    VECTOR3 origin, dir;
    if (!PickRay(2.0f * x / 1024.0f - 1.0f, 1.0f - 2.0f * y / 768.0f, &origin, &dir))
        return nullptr;
    int cx = 0, cz = 0;
    if (!GameGridPick(grid, &origin, &dir, &cx, &cz)) return nullptr;
    return venue.Place(type, cx - 1, cz - 1);
}

bool HudTest::ScreenOf(const VECTOR3& p, float* x, float* y) {
    ENTBASE* camera = EntTreeFindName(venue.root, "Camera2");
    return camera && VenueProject(camera, p, x, y);
}
