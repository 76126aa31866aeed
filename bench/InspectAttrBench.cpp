// Cost of the attraction panel's per-frame update (its counts, its texts and the wear bar) while
// it shows a ride, on the default venue in the game application (headless device) with 500
// patrons in the world.
#include "bench/BenchGameFolders.h"
#include "bench/BenchVenueGame.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "engine/Random.h"
#include "game/Ents/AttrBase.h"
#include "game/MtGame.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/Menus/MenuInspectAttr.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kRideType = 14; // a ride of the default data, 12 seats
constexpr int kPatrons = 500;

struct PanelSession {
    explicit PanelSession(const BenchGameFolders& folders) : host(true) {
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        if (!folders.ok || game.AppCreateMainWindow() != 0 || !game.GetWorld()) return;
        if (!BenchOpenDefaultVenue(game)) return;
        ENTBASE* world = game.GetWorld();
        ENTBASE* gen = EntTreeFindType(world, "RubeGen");
        ENTBASE* first = EntTreeFindName(world, "First");
        if (!gen || !first) return;
        CrtSrand(1234);
        for (int i = 0; i < kPatrons; ++i)
            if (auto* p = dynamic_cast<Ent3dBase*>(EntCreateChild("Rube1", gen))) {
                p->pos = {384.0f + float(RandInt(256)), 0.0f, 384.0f + float(RandInt(256))};
                ++patrons;
            }
        ride = dynamic_cast<AttrBase*>(EntCreateChild("AttrBase", first));
        if (!ride) return;
        ride->SetType(kRideType);
        ride->SetPosXYZ(512.0f, 0.0f, 512.0f);
        ride->Start();
        hud = dynamic_cast<MenuGameRunning*>(MenuGameRunningOpen(game.GetMenus()));
        game.Update();
        game.Render();
        panel = hud ? dynamic_cast<MenuInspectAttr*>(hud->Inspector(HUD_KIND_ATTRACTION)) : nullptr;
        ok = panel && HudSelect(hud, ride) && panel->Attraction() == ride;
    }
    ~PanelSession() {
        if (game.hwnd) game.AppShutdown();
    }

    AppHost host;
    GameApp game;
    MenuGameRunning* hud = nullptr;
    MenuInspectAttr* panel = nullptr;
    AttrBase* ride = nullptr;
    int patrons = 0;
    bool ok = false;
};

} // namespace

static void BM_InspectorUpdate(benchmark::State& state, int) {
    BenchGameFolders folders;
    PanelSession session(folders);
    if (!session.ok) {
        state.SkipWithError("the attraction panel did not show the ride");
        return;
    }
    float wear = 0.0f;
    for (auto _ : state) {
        // The wear moves, so the bar's colour changes across its thresholds.
        session.ride->repair = wear;
        wear = wear >= 1.0f ? 0.0f : wear + 0.01f;
        session.panel->Update(0.02f);
    }
    state.counters["patrons"] = session.patrons;
    state.counters["shown"] = session.panel->shown;
}
BENCHMARK_CAPTURE(BM_InspectorUpdate, Attr, 0)->Unit(benchmark::kMicrosecond);
