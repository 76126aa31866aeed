// The root entity tree: the standard nodes when every class is registered, and what is left
// when the start-up script registered fewer.
#include "tests/harness/GameAppFixture.h"

#include "ui/MenuRoot.h"
#include "ui/MouseCursor1.h"

#include <cstdio>

#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "game/MtGame.h"
#include "world/EntViewport.h"

namespace {
// The names of the entity's children, in order.
std::vector<std::string> Children(ENTBASE* entity) {
    std::vector<std::string> names;
    if (!entity) return names;
    for (EntNode* n = entity->node->firstChild; n; n = n->next)
        if (n->object) names.push_back(n->object->GetName());
    return names;
}

MouseCursorSetup s_setup;
void RecordSetup(ENTBASE* cursor, const MouseCursorSetup& setup) {
    s_setup = setup;
    g_journal.push_back(std::string("Setup:") + cursor->GetName());
    // An image this program folder has: the cursor loads it only if it starts after this.
    if (auto* mouse = dynamic_cast<MouseCursor1*>(cursor))
        std::snprintf(mouse->texName, sizeof mouse->texName, "%s", "Fonts\\CourierNew9o");
}
} // namespace

TEST_F(GameAppTest, WithEveryClassTheRootTreeHasItsTenNodesSetUpAndStarted) {
    WriteStartup(kRegisterAll);
    Start();
    RegisterRootDoubles();
    MouseCursorSetSetupHook(RecordSetup);
    app.BuildRootTree();

    ENTBASE* root = app.GetRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->GetName(), "Root");
    EXPECT_EQ(Children(root),
              (std::vector<std::string>{"Game", "Music", "Viewport", "World", "MenuRoot"}));
    EXPECT_EQ(Children(app.menuRoot),
              (std::vector<std::string>{"Menu Viewport", "Menus", "Cursors"}));
    ENTBASE* cursors = EntTreeFindName(root, "Cursors");
    EXPECT_EQ(Children(cursors), (std::vector<std::string>{"Mouse"}));

    EXPECT_EQ(app.game, EntTreeFindName(root, "Game"));
    EXPECT_EQ(app.GetViewports(), EntTreeFindName(root, "Viewport"));
    EXPECT_EQ(app.GetWorld(), EntTreeFindName(root, "World"));
    EXPECT_EQ(app.GetMenus(), EntTreeFindName(root, "Menus"));
    EXPECT_EQ(app.mouse, EntTreeFindName(root, "Mouse"));
    EXPECT_EQ(app.menuViewport, EntTreeFindName(root, "Menu Viewport"));

    auto* menuRoot = dynamic_cast<MenuRoot*>(app.menuRoot.Get());
    ASSERT_TRUE(menuRoot);
    EXPECT_EQ(std::make_pair(menuRoot->width, menuRoot->height), std::make_pair(1024, 768))
        << "the menus are laid out on a 1024 x 768 screen";
    EXPECT_EQ(static_cast<EntViewport*>(app.menuViewport.Get())->width, 0.0f)
        << "the menu viewport covers the whole back buffer";

    EXPECT_STREQ(s_setup.image, "Menu\\MouseCursors.dds");
    EXPECT_EQ(
        std::make_tuple(s_setup.cellTop, s_setup.cellLeft, s_setup.cellBottom, s_setup.cellRight),
        std::make_tuple(0, 0, 31, 31));
    EXPECT_EQ(std::make_tuple(s_setup.minX, s_setup.maxX, s_setup.minY, s_setup.maxY),
              std::make_tuple(0.0f, 1020.0f, 0.0f, 764.0f));
    EXPECT_EQ(s_setup.mode, 4);
    EXPECT_EQ(Journal(), "Setup:Mouse");
    auto* mouse = dynamic_cast<MouseCursor1*>(app.mouse.Get());
    ASSERT_TRUE(mouse);
    EXPECT_GE(mouse->slot, 0) << "the cursor starts after its set-up";
    ASSERT_NE(app.game.Get(), nullptr);
    ASSERT_STREQ(app.game->GetTypeName(), "MtGame");
    EXPECT_NE(static_cast<MtGame*>(app.game.Get())->attrList, nullptr)
        << "the game object was started: it loads its data at Start";

    // A second request leaves the tree as it is.
    app.BuildRootTree();
    EXPECT_EQ(app.GetRoot(), root);
    EXPECT_EQ(Children(root).size(), 5u);
}

// Classes not built yet: their nodes and what hangs below them are left out, each with a line.
TEST_F(GameAppTest, AClassThatIsNotRegisteredLeavesItsNodesOutWithALogLine) {
    // Every class but the game object's and the menu root's.
    WriteStartup("EcMtGame = nil\nEcMenuRoot = nil\n" + std::string(kRegisterAll));
    Start();
    DbgSetLevelMask(DBG_GENERAL);
    DbgSetOutputMask(DBG_OUT_DEBUGGER);
    ::testing::internal::CaptureStderr();
    app.BuildRootTree();
    std::string log = ::testing::internal::GetCapturedStderr();
    DbgSetLevelMask(0);

    EXPECT_EQ(Children(app.GetRoot()), (std::vector<std::string>{"Music", "Viewport", "World"}));
    EXPECT_EQ(log, "BuildRootTree: class MtGame not registered, Game not created\n"
                   "BuildRootTree: class MenuRoot not registered, MenuRoot not created\n");
    EXPECT_EQ(app.game, nullptr);
    EXPECT_EQ(app.menuRoot, nullptr);
    EXPECT_EQ(app.GetMenus(), nullptr);
    EXPECT_EQ(app.mouse, nullptr);
    EXPECT_EQ(app.menuViewport, nullptr);

    // The frame and the scene operations work on the partial tree.
    SlPostEvent(SL_KEYDOWN, 57, 0);
    Frame();
    app.ClearScene();
    Frame();
}

// Without the null entity's class there is no tree: the program says so and quits cleanly.
TEST_F(GameAppTest, WithoutTheNullClassTheProgramSaysSoAndQuits) {
    WriteStartup("Game.CreateEntityTree()\n");
    ::testing::internal::CaptureStderr();
    Start();
    std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("Startup: class ENTNULL is not registered"), std::string::npos) << out;
    EXPECT_EQ(app.GetRoot(), nullptr);
    EXPECT_EQ(app.quit, 1);
    app.AppMessageLoop(); // ends at the first idle pass
    EXPECT_EQ(app.running, 0);
    app.AppShutdown();
}
