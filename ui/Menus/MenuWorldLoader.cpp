// The world loader.
#include "ui/Menus/MenuWorldLoader.h"

#include "engine/DebugLog.h"
#include "engine/FrameClock.h"
#include "engine/Input/SlInput.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "engine/WideFormat.h"
#include "engine/WorldClass.h"
#include "game/MtGame.h"
#include "ui/MenuKit.h"
#include "ui/Menus/MenuClearScene.h"
#include "ui/Menus/MenuGameRunningOpen.h"
#include "ui/Menus/MenuMidwaySelector.h"
#include "ui/StaticGraphic.h"
#include "ui/StaticText.h"
#include "ui/StaticTextBox.h"
#include "world/CursorFrame.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
VarTable* s_vars = nullptr;

void AddVars(VarTable* t) {
    using C = MenuWorldLoader;
    // The whole buffer, not 32 characters: a longer venue path would be cut to another file.
    VarTableAddString(t, "scriptFileName", PROP_OFFSET(C, scriptFileName),
                      WORLD_LOADER_NAME_MAX - 1, "");
    VarTableAddBool(t, "worldLoaded", PROP_OFFSET(C, worldLoaded), 0);
    VarTableAddFloat(t, "loadTimeout", PROP_OFFSET(C, loadTimeout), 60.0f, 0.0f, 1.0e6f);
}

void MakeVars() {
    if (!s_vars) s_vars = VarTableBuild(AddVars);
}

void FreeVars() {
    VarTableDestroy(s_vars);
    s_vars = nullptr;
}

const WorldClassDef kClass = {
    "MenuWorldLoader", nullptr, WorldMake<MenuWorldLoader>, MakeVars, nullptr, nullptr, FreeVars};

const char16_t* const kCareerText =
    u"Use your money wisely to build a profitable carnival at this location.  You'll need to pay "
    u"a deposit and rental for each item you add.  Keep your carnival in good repair to avoid "
    u"loosing your deposit.  You can save your layout at any time, but any profit or loss for the "
    u"day can only be saved when the carnival closes at night.";
const char16_t* const kSandboxText =
    u"You have unlimited money and unlimited time to build the best carnival you can at this "
    u"venue.  You can save your layout at any time, but any profit or loss for the day can only "
    u"be saved when the carnival closes at night.";
const char16_t* const kFailedText =
    u"The venue's world could not be built.\nSee Debug.txt for the reason.";
} // namespace

int MenuWorldLoader::CopyClassName(char* buffer) {
    return WorldCopyClassName("MenuWorldLoader", buffer);
}

VarTable* MenuWorldLoader::GetInstanceVarTable() {
    return s_vars;
}

int MenuWorldLoader::Create(EntNode* n) {
    // The loader has no script and no control names: the base set-up and the game object only.
    Menu3Base::Create(n);
    game = EntTreeFindType(EntGetRoot(this), "MtGame");
    scriptFileName[0] = 0;
    frameCounter = 0;
    worldLoaded = 0;
    loadTimeout = 60.0f;
    waited = 0.0f;
    failed = false;
    MtGame* mtGame = dynamic_cast<MtGame*>(game);
    const VenueInfo* venue = MtGameVenue(mtGame);
    const bool career = mtGame && mtGame->mode == MTGAME_CAREER;

    MenuKitBackground("Menu\\Common\\ZobPurpleBackground.dds", this);
    MenuKitAnimLogo(this);
    if (StaticGraphic* panel = MenuKitLargePanelHeader(512.0f, 428.0f, u"Loading...", this))
        // The kit makes the title straight after its panel.
        if (panel->node && panel->node->next)
            title = dynamic_cast<StaticText*>(panel->node->next->object);
    char16_t line[CTL3_LABEL_MAX + 1];
    WideFormat(line, CTL3_LABEL_MAX + 1, u"%s%s", venue ? venue->name : u"",
               career ? u" - Career Mode" : u" - Sandbox Mode");
    MenuKitText(line, 200.0f, 240.0f, this);
    textBox = MenuKitTextBox(kMenuKitStaticId, career ? kCareerText : kSandboxText, 200.0f, 285.0f,
                             800.0f, 405.0f, this);
    SetName("WorldLoader");
    DbgPrintf(DBG_GENERAL, "Menu: WorldLoader (MenuWorldLoader)\n");
    g_cursorFrameIndex = -1;
    return 1;
}

int MenuWorldLoader::Start() {
    return 1;
}

void MenuWorldLoader::SetScriptFileName(const char* name) {
    std::snprintf(scriptFileName, sizeof scriptFileName, "%s", name ? name : "");
}

void MenuWorldLoader::Fail(const char* reason) {
    if (failed) return;
    failed = true;
    DbgPrintf(DBG_GENERAL, "MenuWorldLoader: world not loaded (%s)\n", reason);
    if (title) title->SetTextW(u"Loading failed");
    if (textBox) {
        textBox->SetText(kFailedText);
        textBox->Flip();
    }
    MenuKitButtonBack(WORLD_LOADER_BACK, 180.0f, 636.0f, this);
    FocusCtl(WORLD_LOADER_BACK);
    g_cursorFrameIndex = 1;
}

int MenuWorldLoader::Update(float seconds) {
    if (Menu3Base::Update(seconds) == 0) return 0;
    if (failed) return 1;
    if (frameCounter == WORLD_LOADER_START_FRAME) {
        // The venue script runs here and may do anything to the tree, this loader included.
        const uint64_t serial = EntSerialOf(this);
        const bool ran = MtGameNewGame(dynamic_cast<MtGame*>(game));
        if (!EntIsLiveSerial(this, serial)) return 0;
        if (!ran) {
            Fail("the venue script did not run");
            return 1;
        }
    }
    if (frameCounter <= WORLD_LOADER_START_FRAME) ++frameCounter;
    if (worldLoaded) {
        if (!MenuGameRunningOpen(EntGetParent(this))) {
            Fail("no in-game screen");
            return 1;
        }
        EntDestroyTree(this);
        return 0;
    }
    if (frameCounter > WORLD_LOADER_START_FRAME) {
        // Real frame time: a paused or slowed game clock must not keep the player waiting.
        if (std::isfinite(g_frameSeconds) && g_frameSeconds > 0.0f) waited += g_frameSeconds;
        if (!(waited < loadTimeout)) {
            char reason[96];
            std::snprintf(reason, sizeof reason, "no world-loaded event after %.1f s", waited);
            Fail(reason);
        }
    }
    return 1;
}

int MenuWorldLoader::OnMessage(const SlEvent* e) {
    // While loading the player has nothing to act on.
    if (!failed) return 1;
    if (!active) return 2;
    if (!e) return 1;
    if (e->type == SL_MENUBACK || e->type == SL_MENUBACK + 1)
        return ForwardToCtl(e, WORLD_LOADER_BACK) ? 0 : 1;
    if (e->type != CTL3_EVENT || e->b != CTL3_CLICK || e->a != WORLD_LOADER_BACK) return 1;
    ENTBASE* parent = EntGetParent(this);
    MenuClearScene();
    if (!MenuMidwaySelectorOpen(parent, "MenuMain")) return 1;
    EntDestroyTree(this);
    return 0;
}

int MenuWorldLoader::OnGameEvent(int event, intptr_t) {
    // A world that reports after the loader gave up has no screen to go to.
    if (event == WORLD_LOADED_EVENT && !failed) worldLoaded = 1;
    return 1;
}

Menu3Base* MenuWorldLoaderOpen(ENTBASE* parent, const char* scriptFileName) {
    ENTBASE* made = EntCreateChild("MenuWorldLoader", parent);
    auto* loader = dynamic_cast<MenuWorldLoader*>(made);
    if (!loader) {
        if (made) EntDestroyTree(made);
        return nullptr;
    }
    loader->SetScriptFileName(scriptFileName);
    loader->Start();
    return loader;
}

intptr_t EcMenuWorldLoaderProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}
