// The patron panel's per-frame update (state text with the target's name, tickets, cash, the
// thought, each line fitted to the panel) on the default venue with 500 patrons of the day, in
// the game application on the headless device.
#include "bench/BenchGameFolders.h"
#include "bench/BenchVenueGame.h"
#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "engine/Random.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Rube1.h"
#include "game/MtGame.h"
#include "ui/Menus/Hud.h"
#include "ui/Menus/MenuGameRunning.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/Menus/MenuInspectRube.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

struct DaySession {
    explicit DaySession(const BenchGameFolders& folders) : host(true) {
        game.SetProgramFolder(folders.program.c_str());
        game.AppSetHost(&host);
        if (!folders.ok || game.AppCreateMainWindow() != 0 || !game.GetWorld()) return;
        MtGame* mt = BenchOpenDefaultVenue(game);
        if (!mt) return;
        // No venue intro in this build of the benchmark: the HUD stays active by itself.
        hud = dynamic_cast<MenuGameRunning*>(MenuGameRunningOpen(game.GetMenus()));
        ENTBASE* gen = EntTreeFindType(game.GetWorld(), "RubeGen");
        ENTBASE* first = EntTreeFindName(game.GetWorld(), "First");
        if (!hud || !gen || !first) return;
        CrtSrand(1234);
        // A ride for the patron to stand in line at: its name is part of the state text.
        target = dynamic_cast<AttrBase*>(EntCreateChild("AttrBase", first));
        if (target) {
            target->SetType(2);
            target->Start();
        }
        for (int i = 0; i < 500; ++i)
            if (auto* p = dynamic_cast<Rube1*>(EntCreateChild("Rube1", gen))) {
                p->pos = {384.0f + float(RandInt(256)), 0.0f, 384.0f + float(RandInt(256))};
                p->Start();
                patron = p;
            }
        // The day open, a few frames lived.
        mt->dayOver = 0;
        mt->chargeCostsPending = 1;
        Frames(3);
        panel = dynamic_cast<MenuInspectRube*>(hud->Inspector(HUD_KIND_PATRON));
        ok = panel && patron && RubeLiveCount() >= 500 && HudSelect(hud, patron);
    }
    ~DaySession() {
        if (game.hwnd) game.AppShutdown();
    }

    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            game.Update();
            game.Render();
        }
    }

    AppHost host;
    GameApp game;
    MenuGameRunning* hud = nullptr;
    MenuInspectRube* panel = nullptr;
    Rube1* patron = nullptr;
    AttrBase* target = nullptr;
    bool ok = false;
};

} // namespace

static void BM_InspectorUpdate(benchmark::State& state) {
    BenchGameFolders folders;
    DaySession session(folders);
    if (!session.ok) {
        state.SkipWithError("the patron panel did not open on the venue");
        return;
    }
    Rube1* patron = session.patron;
    // In line at a named ride, thinking of it, with a cash figure that changes every frame.
    patron->state = RUBE_IN_LINE;
    patron->target = EntRef(session.target);
    int32_t cents = 123456;
    for (auto _ : state) {
        patron->money = cents++;
        session.panel->Update(0.02f);
    }
    state.counters["patrons"] = RubeLiveCount();
}
BENCHMARK(BM_InspectorUpdate)->Name("BM_InspectorUpdate/Rube")->Unit(benchmark::kMicrosecond);
