// The application wires every hook and host the libraries below reach it through at start-up, and
// removes every one at shutdown: none is left to a class registration or pointing at a gone app.
#include "tests/harness/GameAppFixture.h"

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "game/MtGameHost.h"
#include "game/MtGameLinks.h"
#include "ui/Menus/MenuClearScene.h"
#include "ui/Menus/MenuFrontEnd.h"
#include "world/CameraVantor1.h"

#include <functional>
#include <vector>

namespace {
struct Wired {
    const char* name;
    std::function<bool()> set;
};

const std::vector<Wired>& Hooks() {
    static const std::vector<Wired> hooks = {
        {"AppSetEventHook", [] { return AppGetEventHook() != nullptr; }},
        {"EditorSetCallback", [] { return EditorGetCallback() != nullptr; }},
        {"MtGameSetHost", [] { return MtGameGetHost() != nullptr; }},
        {"MtGameSetAttrLinks", [] { return MtGameHasAttrLinks(); }},
        {"MtGameSetRubeGenLinks", [] { return MtGameHasRubeGenLinks(); }},
        {"MenuSetSceneClearer", [] { return MenuGetSceneClearer() != nullptr; }},
        {"CameraVantorSetHost", [] { return CameraVantorGetHost() != nullptr; }},
        {"CameraVantorSetFlyTo", [] { return CameraVantorGetFlyTo() != nullptr; }},
        {"Ent3dSetGridExtentQuery", [] { return Ent3dGetGridExtentQuery() != nullptr; }},
        {"ScriptSetStartDayHook", [] { return ScriptGetStartDayHook() != nullptr; }},
        {"MenuSetAppHost", [] { return MenuGetAppHost() != nullptr; }},
        {"ScriptMgrSetCloseCheck", [] { return ScriptMgrGetCloseCheck() != nullptr; }},
    };
    return hooks;
}
} // namespace

TEST_F(GameAppTest, EveryHookIsSetAfterStartAndClearedAfterShutdown) {
    g_makeEditor = []() -> Editor* { return new EditorDouble; };
    WriteStartup("");
    Start();
    for (const Wired& hook : Hooks())
        EXPECT_TRUE(hook.set()) << hook.name << " is not set after start";
    app.AppShutdown();
    for (const Wired& hook : Hooks())
        EXPECT_FALSE(hook.set()) << hook.name << " is still set after shutdown";
}
