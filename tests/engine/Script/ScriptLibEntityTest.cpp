// The Entity library and the Game library on real entities: finding, creating, setting, moving,
// messages through the node, dead handles, and a script that loads an entity list end to end.
#include "I3d/Math/Vec3.h"
#include "engine/EntTree.h"
#include "engine/Script/ScriptArgs.h"
#include "engine/Script/ScriptLibs.h"
#include "tests/engine/Script/ScriptEntityTestSupport.h"

#include <lua.hpp>

#include <cstring>

namespace {
int s_strayCalls = 0;
// What a script might pass off as a class procedure: an address the program never published.
intptr_t StrayProc(EntNode*, int, intptr_t, intptr_t, intptr_t) {
    ++s_strayCalls;
    return 0;
}

ENTBASE* s_dayStarted = nullptr;
void StartDay(ENTBASE* game) {
    s_dayStarted = game;
}
} // namespace

TEST_F(ScriptEntityTest, FindAndCreateAnswerAsScriptsExpect) {
    Mover* cart = Make("Cart");
    EXPECT_EQ(Exec("e = Entity.FindName(root, 'Cart') none = Entity.FindName(root, 'Nobody')"
                   "assert(none ~= nil and none == NULLENT, 'a missing name gives NULLENT')"
                   "assert(Entity.FindClass(root, 'Nothing') == nil)"
                   "assert(Entity.FindClass(root, 'Mover') == root)"
                   "assert(Entity.Create('Unknown', world) == nil)"
                   "assert(Entity.Create('Mover', NULLENT) == nil)"
                   "made = Entity.Create('Mover', world) Entity.SetString(made, 'name', 'Made')"
                   "assert(Entity.FindName(world, 'Made') == made)"
                   "assert(Entity.GetName(e) == 'Cart')"),
              "");
    EXPECT_EQ(Exec("assert(e == Entity.FindName(world, 'Cart') and e ~= made, 'one handle per "
                   "entity') t = {} t[e] = 1 assert(t[Entity.FindName(root, 'Cart')] == 1)"),
              "")
        << "handles compare and index tables by the entity they name";
    lua_State* L = ScriptMgrGet()->L;
    lua_getglobal(L, "e");
    EXPECT_EQ(LuaArgEntity(L, -1), cart);
    lua_pop(L, 1);
    EXPECT_EQ(Exec("assert(NULLENT == nil == false and EF_PASSABLE == 256)"), "");
}

TEST_F(ScriptEntityTest, SettersConvertNumbersAndReportOnlyMissingVectors) {
    Mover* e = Make("E");
    LuaSetGlobalEntity(e, "e");
    Run("set.lua", "Entity.SetBool(e, 'b', 5) Entity.SetFloat(e, 'speed', 2.5)"
                   "Entity.SetColor3(e, 'c', 0.25, 0.5, 1) Entity.SetVector3(e, 'v', 1, 2, 3)"
                   "Entity.SetVoid(e, 'ptr', world) Entity.SetFloat(e, 'missing', 1)");
    EXPECT_EQ(e->b, 1) << "any nonzero number sets a bool to 1";
    EXPECT_FLOAT_EQ(e->speed, 2.5f);
    EXPECT_FLOAT_EQ(e->c.g, 0.5f);
    EXPECT_FLOAT_EQ(e->v.z, 3.0f);
    EXPECT_EQ(e->ptr, reinterpret_cast<intptr_t>(host.world));
    EXPECT_EQ(Boxes().find('['), std::string::npos) << "SetFloat on a missing name shows nothing";

    const std::pair<const char*, int32_t> ints[] = {
        {"2.9", 2},          {"-2.9", -2},         {"'12'", 12}, {"'abc'", 0},
        {"1e12", INT32_MAX}, {"-1e12", INT32_MIN}, {"{}", 0},    {"0/0", 0}};
    for (auto& [arg, want] : ints) {
        Run("int.lua", std::string("Entity.SetInt(e, 'n', ") + arg + ")");
        EXPECT_EQ(e->n, want) << arg;
    }

    Run("vec.lua",
        "Entity.SetVector3(e, 'nope', 1, 2, 3) Entity.SetVector3(NULLENT, 'v', 1, 2, 3)");
    EXPECT_EQ(BoxCount("Variable [nope] not found!"), 1);
    EXPECT_EQ(BoxCount("Entity Does Not Exist"), 1);
    EXPECT_NE(Boxes().find("No error.\n"), std::string::npos) << "the box shows the error text";

    Run("long.lua", "Entity.SetString(e, 'name', string.rep('n', 200))");
    EXPECT_EQ(std::strlen(e->name), 32u) << "a long name is cut to the field";
}

TEST_F(ScriptEntityTest, PositionsAndDistances) {
    Mover* a = Make("A");
    Make("B");
    TestEnt* rider = MakeEnt("Rider", host.world, "NoPos");
    ASSERT_NE(rider, nullptr);
    EXPECT_EQ(Exec("a = Entity.FindName(root, 'A') b = Entity.FindName(root, 'B')"
                   "Entity.SetPos(a, 1, 2, 3) Entity.SetPos(b, 4, 6, 3)"
                   "x, y, z = Entity.GetPos(a) d = Entity.DistanceBtwEnts(a, b)"
                   "nx, ny, nz = Entity.GetPos(NULLENT)"
                   "px, py, pz = Entity.GetPos(Entity.FindName(root, 'NoPos'))"
                   "assert(Entity.DistanceBtwEnts(a, NULLENT) == nil)"),
              "");
    EXPECT_FLOAT_EQ(a->pos.y, 2.0f);
    EXPECT_EQ(Number("x") + Number("y") + Number("z"), 6.0);
    VECTOR3 pa = {1, 2, 3}, pb = {4, 6, 3};
    EXPECT_FLOAT_EQ((float)Number("d"), Vec3Dist(&pa, &pb));
    EXPECT_EQ(Exec("assert(nx == 0 and ny == 0 and nz == 0)"), "") << "a null entity is at 0, 0, 0";
    EXPECT_EQ(Exec("assert(px == 0 and py == 0 and pz == 0)"), "")
        << "an entity without a position reads as the origin";
}

TEST_F(ScriptEntityTest, NodeFunctionsTakeEntities) {
    Mover* e = Make("E");
    Mover* other = Make("Other");
    LuaSetGlobalEntity(e, "e");
    LuaSetGlobalEntity(other, "other");
    EXPECT_EQ(Exec("Entity.SetHeading(e, 1.5) Entity.GameEvent(e, 28, 7)"
                   "Entity.AttachToPlatform(e, NULLENT) Entity.GiveEntity(e, nil)"
                   "Entity.AttachToPlatform(NULLENT, other)"
                   "name = Entity.GetName(e) Entity.SetLocalPlayer(e, 3)"),
              "");
    EXPECT_FLOAT_EQ(e->heading, 1.5f) << "message 34 carries the float's bits in b";
    EXPECT_EQ(e->lastEvent, 28);
    EXPECT_EQ(e->lastValue, 7);
    EXPECT_EQ(e->platform, nullptr);
    EXPECT_EQ(e->given, nullptr);
    EXPECT_EQ(Text("name"), "E");
    EXPECT_EQ(e->localPlayer, 3);
    EXPECT_EQ(Exec("Entity.AttachToPlatform(e, other) Entity.GiveEntity(e, other)"), "");
    EXPECT_EQ(e->platform, other);
    EXPECT_EQ(e->given, other);

    Run("bad.lua", "Entity.GetName(nil) after = 1");
    EXPECT_EQ(Number("after"), 0);
    std::string boxes = Boxes();
    EXPECT_NE(boxes.find("[LuaScript Runtime Error]"), std::string::npos);
    EXPECT_NE(boxes.find("Bad entity pointer."), std::string::npos);
}

TEST_F(ScriptEntityTest, DestroyedAndForeignHandlesAreNullEntities) {
    Mover* e = Make("Doomed");
    Make("Child", e);
    LuaSetGlobalEntity(e, "e");
    EXPECT_EQ(Exec("Entity.Destroy(e)"), "");
    EXPECT_EQ(EntTreeFindName(host.root, "Child"), nullptr) << "the subtree went with it";
    EXPECT_EQ(Exec("Entity.SetFloat(e, 'speed', 9) Entity.SetPos(e, 1, 1, 1)"
                   "Entity.SetHeading(e, 2) Entity.Destroy(e) Entity.Start(e)"
                   "x, y, z = Entity.GetPos(e) assert(x == 0 and y == 0 and z == 0)"
                   "assert(Entity.FindName(e, 'Child') == nil)"),
              "")
        << "every function must treat a destroyed entity as null";
    EXPECT_NE(Exec("Entity.GetName(e)").find("Bad entity pointer."), std::string::npos);
    for (const char* notEntity : {"{}", "'Root'", "12", "nil", "Entity.SetPos"})
        EXPECT_NE(Exec(std::string("Entity.GetName(") + notEntity + ")").find("Bad entity"),
                  std::string::npos)
            << notEntity;
}

TEST_F(ScriptEntityTest, GamepadsAndDayStartsOnlyReachTheRightClasses) {
    Mover* player = Make("Player");
    TestEnt* rider = MakeEnt("Rider", host.world, "Rider");
    Mover* game = Make("Game", nullptr, "MtGame");
    rider->score = 11;
    rider->speed = 1.5f;
    EXPECT_EQ(Exec("Entity.BindGamepad(Entity.FindName(root, 'Player'), 2)"
                   "Entity.BindGamepad(Entity.FindName(root, 'Rider'), 3)"),
              "");
    EXPECT_EQ(player->gamepad, 2);
    EXPECT_EQ(player->localPlayer, 0) << "a declared property takes the pad on its own";
    EXPECT_EQ(rider->score, 11) << "a class without a gamepad field must not be written to";
    EXPECT_FLOAT_EQ(rider->speed, 1.5f);

    s_dayStarted = nullptr;
    LuaSetGlobalEntity(game, "game");
    EXPECT_EQ(Exec("Entity.StartNewDay(game)"), "") << "no hook yet: a log line, no error";
    ScriptSetStartDayHook(StartDay);
    EXPECT_EQ(Exec("Entity.StartNewDay(Entity.FindName(root, 'Player'))"), "");
    EXPECT_EQ(s_dayStarted, nullptr) << "only an MtGame starts a day";
    EXPECT_EQ(Exec("Entity.StartNewDay(game)"), "");
    EXPECT_EQ(s_dayStarted, game);
    EXPECT_NE(Exec("Entity.StartNewDay(NULLENT)").find("Bad entity pointer."), std::string::npos);
    ScriptSetStartDayHook(nullptr);
}

TEST_F(ScriptEntityTest, ClassesFlagsAndLifeCalls) {
    Mover* e = Make("E");
    Make("Kid", e);
    LuaSetGlobalEntity(e, "e");
    LuaPublishClassProc(RiderProc, "EcRider");
    int classes = 0;
    for (EntClass* c = EntClassFind("Lamp"); c; c = c->next)
        ++classes;
    EXPECT_EQ(Exec("Entity.CreateClass(EcRider, nil, 0)"
                   "Entity.SetFlag(e, EF_PASSABLE + 1) Entity.ClearFlag(e, 1)"
                   "Entity.Start(e) Entity.StartPre(e) Entity.Shutdown(e) Entity.ResetClasses()"),
              "")
        << "a duplicate class is refused silently";
    EXPECT_EQ(Boxes(), "") << "no box for a duplicate class";
    EXPECT_EQ(e->flags & 0x101u, 0x100u);
    EXPECT_EQ(e->starts, 2);
    EXPECT_EQ(static_cast<Mover*>(EntTreeFindName(e, "Kid"))->starts, 1);
    EXPECT_EQ(Exec("Entity.GameEventPre(e, GE_WORLDLOADED, world)"), "");
    EXPECT_EQ(e->lastEvent, 27);
    EXPECT_EQ(e->lastValue, reinterpret_cast<intptr_t>(host.world));
}

TEST_F(ScriptEntityTest, GameGettersAndKeyboardReachTheApplication) {
    Mover* keys = Make("Keys");
    EXPECT_EQ(Exec("assert(Game.GetRootEntity() == root and Game.GetWorldEntity() == world)"
                   "assert(Entity.GetName(Game.GetViewportEntity()) == 'Viewport')"
                   "assert(Entity.GetName(Game.GetMenuEntity()) == 'Menus')"
                   "Game.SetKeyboardEnt(Entity.FindName(root, 'Keys'))"
                   "Game.SetKeyboardEnt(NULLENT) Game.CreateEntityTree()"),
              "");
    EXPECT_EQ(host.keyboard, keys);
    EXPECT_EQ(host.builds, 1);
    EntDestroyTree(host.root); // the second tree is the fixture's to free
    host.root = nullptr;
}

// A script waits a frame, loads an entity list through the real loader, finds what it made and
// moves it.
TEST_F(ScriptEntityTest, AScriptLoadsEntitiesAndMovesThem) {
    WriteTextFile(dir / "Test.ini", "[Entities]\n// rides\n/ nothing here\nCart Mover\n"
                                    "Wheel Mover Cart\n?/ not this either\n");
    LuaScript* s = Run("Venue.lua",
                       "WaitFrame(1)"
                       "Game.LoadEntitiesIni('Test.ini')"
                       "local cart = Entity.FindName(Game.GetRootEntity(), 'Cart')"
                       "Entity.SetPos(cart, 5, 0, -2)"
                       "x, y, z = Entity.GetPos(cart)",
                       true);
    EXPECT_EQ(EntTreeFindName(host.root, "Cart"), nullptr) << "nothing loads before the frame";
    Frames(1);
    auto* cart = static_cast<Mover*>(EntTreeFindName(host.root, "Cart"));
    ASSERT_NE(cart, nullptr) << Boxes();
    EXPECT_STREQ(EntGetParent(cart)->GetName(), "First") << "list entities land under First";
    auto* wheel = static_cast<Mover*>(EntTreeFindName(host.root, "Wheel"));
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(EntGetParent(wheel), cart);
    EXPECT_EQ(cart->starts, 1) << "loaded entities are started after loading";
    EXPECT_EQ(Number("x"), 5);
    EXPECT_EQ(Number("z"), -2);
    EXPECT_EQ(s->mode, SCRIPT_FINISHED);
    Frames(1);
    EXPECT_EQ(ScriptMgrGet()->count, 0) << "the auto-deleting script is freed once finished";
}

// A script is data a player may edit: whatever it hands CreateClass, only a procedure the
// program published is ever called.
TEST_F(ScriptEntityTest, CreateClassTakesOnlyPublishedProcedures) {
    s_strayCalls = 0;
    LuaSetGlobalPtr(reinterpret_cast<void*>(&StrayProc), "EcStray");
    for (const char* arg : {"Game.GetRootEntity()", "0", "'EcRider'", "{}", "EcStray", "print"}) {
        const std::string error = Exec(std::string("Entity.CreateClass(") + arg + ", 'x', 0)");
        EXPECT_NE(error.find("bad argument #1 to 'CreateClass'"), std::string::npos)
            << arg << ": " << error;
    }
    EXPECT_EQ(s_strayCalls, 0) << "an unpublished address was called";
    EXPECT_EQ(Exec("Entity.CreateClass(nil, 'x', 0) Entity.CreateClass(NULLENT, 'x', 0) "
                   "Entity.CreateClass(EcNotBuiltYet, nil, 0)"),
              "")
        << "a null procedure (a class this build does not have) does nothing, as before";
    LuaPublishClassProc(RiderProc, "EcRider");
    EXPECT_EQ(Exec("Entity.CreateClass(EcRider, nil, 0) ok = 1"), "")
        << "a published procedure is taken (the duplicate is refused by the registry)";
}

// 10,000 entities destroyed and made again (the allocator reuses addresses at once in the run
// without the sanitizer's quarantine): an old handle must never name the newcomer.
TEST_F(ScriptEntityTest, AStaleHandleNeverNamesALaterEntity) {
    EXPECT_EQ(Exec("aliased = 0 "
                   "for i = 1, 10000 do "
                   "  local old = Entity.Create('Mover', world) "
                   "  Entity.SetString(old, 'name', 'Old') "
                   "  Entity.Destroy(old) "
                   "  local new = Entity.Create('Mover', world) "
                   "  Entity.SetString(new, 'name', 'New') "
                   "  if old == new or pcall(Entity.GetName, old) then aliased = aliased + 1 end "
                   "  Entity.SetString(old, 'name', 'Stolen') "
                   "  if Entity.GetName(new) ~= 'New' then aliased = aliased + 1 end "
                   "  Entity.Destroy(new) "
                   "end"),
              "");
    EXPECT_EQ(Number("aliased"), 0) << "a dead entity's handle reached a new entity";
    EXPECT_EQ(EntTreeCount(host.world), 2) << "World and First only";
    // Handles of the wrong kind and numbers where entities are expected are null entities.
    EXPECT_EQ(Exec("Entity.SetFloat(42, 'speed', 1) Entity.SetFloat(coroutine.create(print), "
                   "'speed', 1) Entity.Start(NULLENT) assert(Entity.GetPos(12) == 0)"),
              "");
}

// The same address, a new entity: every Entity function must treat the old handle as dead.
TEST_F(ScriptEntityTest, AHandleOutlivesItsEntityHarmlessly) {
    ASSERT_EQ(EntCreateClass(RebornProc, 0, 0), 0);
    EXPECT_EQ(Exec("old = Entity.Create('Reborn', world) Entity.Destroy(old) "
                   "new = Entity.Create('Reborn', world) assert(old ~= new)"),
              "");
    ENTBASE* now = EntTreeFindType(host.world, "Reborn");
    ASSERT_NE(now, nullptr);
    now->SetName("New");
    EXPECT_NE(Exec("Entity.GetName(old)").find("Bad entity pointer."), std::string::npos);
    EXPECT_EQ(Exec("Entity.SetPos(old, 1, 2, 3) Entity.Destroy(old) Entity.SetFlag(old, 1) "
                   "assert(Entity.GetName(new) == 'New')"),
              "")
        << "the old handle reached the new entity";
    EXPECT_EQ(EntTreeFindType(host.world, "Reborn"), now);
}
