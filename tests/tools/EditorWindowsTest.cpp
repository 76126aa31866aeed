// The panes' contents in editor mode: the tool window's tabs, buttons, tree and class flags,
// the params pane's rows and undo, and the console, clicked on the ImGui harness.
#include "tools/EditorWindows.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/VarTable.h"
#include "tests/imgui/ImGuiHarness.h"
#include "tests/tools/MasterEditFixture.h"
#include "tests/tools/VarTestEnt.h"
#include "world/StaticObject.h"

#include <cstring>

namespace {

// The observer's stand-in: its pose lives in its instance table, as the real one's does.
struct ObserverStandIn {
    explicit ObserverStandIn(ENTBASE* root) {
        entity = MakeVarTestEnt(root, "Observer");
        table = VarTableCreate(5);
        VarTableAddFloat(table, "pos.x", PROP_OFFSET(VarTestEnt, pos), 0, -1e6f, 1e6f, 0);
        VarTableAddFloat(table, "pos.y", PROP_OFFSET(VarTestEnt, pos) + 4, 0, -1e6f, 1e6f, 0);
        VarTableAddFloat(table, "pos.z", PROP_OFFSET(VarTestEnt, pos) + 8, 0, -1e6f, 1e6f, 0);
        VarTableAddFloat(table, "yaw", PROP_OFFSET(VarTestEnt, speed), 0, -10, 10, 0);
        VarTableAddFloat(table, "pitch", PROP_OFFSET(VarTestEnt, turn), 0, -10, 10, 0);
        entity->table = table;
    }
    ~ObserverStandIn() {
        if (EntIsLive(entity)) entity->table = nullptr;
        VarTableDestroy(table);
    }
    VarTestEnt* entity;
    VarTable* table;
};

} // namespace

class EditorWindowsTest : public MasterEditTest {
  protected:
    void SetUp() override {
        MasterEditTest::SetUp();
        RegisterVarTestClass();
        ASSERT_TRUE(ui.Ok()) << ui.Error();
        MasterEdit::SetItemHook(ImGuiHarness::Record);
        Enter();
        panes = static_cast<EditorWindows*>(editor.Panes());
    }
    void TearDown() override {
        MasterEdit::SetItemHook(nullptr);
        MasterEditTest::TearDown();
    }
    void Frame() {
        ui.Frame([this] { editor.DrawUi(); });
    }
    // Two frames first: a tab bar places its tabs a frame after it first shows them.
    void Click(const std::string& id) {
        Frame();
        Frame();
        ASSERT_TRUE(ui.Has(id)) << id << " is not on the screen";
        const ImGuiItemRect r = ui.Item(id);
        ui.Click(r.CentreX(), r.CentreY(), [this] { editor.DrawUi(); });
    }

    ImGuiHarness ui{EDITOR_WIDTH, EDITOR_HEIGHT};
    EditorWindows* panes = nullptr;
};

TEST_F(EditorWindowsTest, TheDragTabsSetTheModeAndSpaceTurnsOnlyWhileHeld) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    Click("Y");
    EXPECT_EQ(editor.DragMode(), EDITOR_DRAG_RAISE);
    Drag(tent, {{0, -20}});
    EXPECT_GT(tent->GetPos()->y, 0.0f) << "a drag up raises it";

    editor.ViewSpace(true);
    for (int i = 0; i < 4; ++i)
        Frame();
    EXPECT_EQ(editor.DragMode(), EDITOR_DRAG_TURN)
        << "showing \"Yaw\" must not be taken as a choice";
    editor.ViewSpace(false);
    for (int i = 0; i < 4; ++i)
        Frame();
    EXPECT_EQ(editor.DragMode(), EDITOR_DRAG_RAISE) << "back to the tab's mode";
    EXPECT_EQ(panes->tabMode, EDITOR_DRAG_RAISE);
    Click("XZ");
    EXPECT_EQ(editor.DragMode(), EDITOR_DRAG_MOVE);
}

TEST_F(EditorWindowsTest, LockSelectionKeepsClicksFromChangingTheSelection) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    EditProp* stall = MakeEditProp(world, "Stall", {3, 0, 10});
    editor.SelectAlone(tent);
    Click("Lock Selection");
    EXPECT_TRUE(panes->LockSelection());
    MasterEditTest::Click(stall);
    MasterEditTest::Click(stall, true);
    EXPECT_TRUE(editor.IsSelected(tent));
    EXPECT_FALSE(editor.IsSelected(stall));
}

TEST_F(EditorWindowsTest, TheTreeListsEveryEntityInPreOrderAndChoosingSelectsAlone) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    MakeEditProp(tent, "Flag", {0, 2, 10});
    EditProp* tree = MakeEditProp(world, "Tree01", {3, 0, 10});
    editor.SelectAlone(tent);
    Frame();
    Frame();
    // The root opens once; its children's own nodes stay shut until opened.
    ASSERT_TRUE(ui.Has("tree:Root"));
    ASSERT_TRUE(ui.Has("tree:World"));
    EXPECT_FALSE(ui.Has("tree:Tent"));

    Click("Expand All");
    Frame();
    float lastY = -1;
    for (const char* name : {"tree:Root", "tree:World", "tree:Tent", "tree:Flag", "tree:Tree01"}) {
        ASSERT_TRUE(ui.Has(name)) << name;
        EXPECT_GT(ui.Item(name).y0, lastY) << name << " in pre-order";
        lastY = ui.Item(name).y0;
    }
    Click("Collapse All");
    Frame();
    EXPECT_TRUE(ui.Has("tree:Root"));
    EXPECT_FALSE(ui.Has("tree:World"));

    Click("Expand All");
    Click("tree:Tree01");
    int count = 0;
    ENTBASE* const* selection = editor.Selection(&count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(selection[0], tree);
    EXPECT_EQ(panes->current, tree);
    EXPECT_EQ(panes->shown, tree);
    ASSERT_FALSE(panes->Rows().empty());
    EXPECT_STREQ(panes->Rows()[0]->Label(), "name");

    // A destroyed entity is simply no longer walked.
    EntDestroyTree(tent);
    Frame();
    EXPECT_FALSE(ui.Has("tree:Flag"));
    EXPECT_TRUE(ui.Has("tree:Tree01"));
}

TEST_F(EditorWindowsTest, ObserveAndSnapMoveTheObserverAndTheSelection) {
    EditProp* a = MakeEditProp(world, "A", {0, 0, 10});
    EditProp* b = MakeEditProp(world, "B", {4, 2, 10});
    // Without an observer both do nothing.
    editor.SelectAlone(a);
    editor.SelectAdd(b);
    Click("Observe Entity");
    Click("Snap Selection to Viewpoint");
    EXPECT_EQ(a->GetPos()->x, 0.0f);
    EXPECT_FALSE(a->flags & ENT_FLAG_CHANGED);

    ObserverStandIn observer(root);
    Click("Observe Entity");
    // The boxes' union is (-1, -1, 9)..(5, 3, 11): its centre (2, 1, 10).
    EXPECT_FLOAT_EQ(observer.entity->pos.x, 2.0f);
    EXPECT_FLOAT_EQ(observer.entity->pos.y, 16.0f);
    EXPECT_FLOAT_EQ(observer.entity->pos.z, -5.0f);
    EXPECT_EQ(observer.entity->speed, 0.0f);
    EXPECT_FLOAT_EQ(observer.entity->turn, 0.785385f);

    observer.entity->speed = 1.25f;
    Click("Snap Selection to Viewpoint");
    EXPECT_FLOAT_EQ(a->GetPos()->x, 2.0f);
    EXPECT_FLOAT_EQ(a->GetPos()->y, 16.0f);
    EXPECT_FLOAT_EQ(a->GetPos()->z, -5.0f);
    EXPECT_FLOAT_EQ(a->yaw, 1.25f);
    EXPECT_TRUE(a->flags & ENT_FLAG_CHANGED);
    EXPECT_EQ(b->GetPos()->x, 4.0f) << "only the first selected";
}

TEST_F(EditorWindowsTest, FollowModeObserveFollowsTheChosenEntity) {
    EditProp* tent = MakeEditProp(world, "Tent", {6, 0, 10});
    ObserverStandIn observer(root);
    Click("Auto Observe");
    EXPECT_EQ(panes->FollowMode(), FOLLOW_OBSERVE);
    panes->Choose(tent);
    EXPECT_FLOAT_EQ(observer.entity->pos.x, 6.0f);
    Click("Auto Observe");
    EXPECT_EQ(panes->FollowMode(), FOLLOW_NONE);
}

TEST_F(EditorWindowsTest, TheClassFlagGridTogglesTheClassWord) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    // A terrain stand-in in front of the tent, on the same line of sight.
    EditProp* ground = MakeEditProp(root, "Ground", {0, 0, 5}, "Terrain2");
    (void)tent;
    Click("Settings");
    EXPECT_EQ(EditProp::s_terrainFlags & CLASS_FLAG_SELECT, 0u) << "editor mode clears it";
    Click("Terrain/Select");
    EXPECT_EQ(EditProp::s_terrainFlags & CLASS_FLAG_SELECT, CLASS_FLAG_SELECT);
    MasterEditTest::Click(tent);
    EXPECT_TRUE(editor.IsSelected(ground)) << "the terrain takes the click";
    Click("Terrain/Select");
    EXPECT_EQ(EditProp::s_terrainFlags & CLASS_FLAG_SELECT, 0u);
    MasterEditTest::Click(tent);
    EXPECT_TRUE(editor.IsSelected(tent)) << "the click passes through the terrain";

    Click("Terrain/Draw");
    EXPECT_EQ(EditProp::s_terrainFlags & CLASS_FLAG_DRAW, 0u);

    // A class that keeps no word of its own, and one with no entity: both shown disabled.
    EditProp::s_terrainFlags = CLASS_FLAGS_UNSET;
    Click("Terrain/Draw");
    EXPECT_EQ(EditProp::s_terrainFlags, CLASS_FLAGS_UNSET);
    Frame();
    EXPECT_TRUE(ui.Has("Static Models/Draw"));
    EXPECT_FALSE(ui.Has("Static Models/Move"));
    EXPECT_TRUE(ui.Has("ParticleSpray/Move"));
}

TEST_F(EditorWindowsTest, TheOverlayColumnSwitchesTheOverlayAndTheStatusButtonsReadAsWords) {
    MakeEditProp(root, "Ground", {0, 0, 5}, "Terrain2");
    Click("Settings");
    const uint32_t before = EditProp::s_terrainFlags;
    Click("Terrain/Overlay");
    EXPECT_EQ(EditProp::s_terrainFlags, before ^ CLASS_FLAG_OVERLAY);
    Click("Debug");
    Frame();
    for (const char* caption : {"None", "Simple", "Verbose"})
        EXPECT_TRUE(ui.Has(caption)) << caption;
    EXPECT_FALSE(ui.Has("&None"));
}

TEST_F(EditorWindowsTest, RowsOfADestroyedEntityAreEmptiedAndWriteNothing) {
    VarTestEnt* ent = MakeVarTestEnt(world, "Var");
    editor.SelectAlone(ent);
    ASSERT_FALSE(panes->Rows().empty());
    auto* count = dynamic_cast<CVarWinInt*>(panes->Rows()[0].get());
    ASSERT_NE(count, nullptr);
    Frame();
    EntDestroyTree(ent);
    count->Line(1); // the row outlives its entity until the next frame
    Frame();
    EXPECT_TRUE(panes->Rows().empty());
    EXPECT_EQ(panes->shown, nullptr);
    EXPECT_EQ(panes->current, nullptr);

    // An entity whose VarsChanged destroys it, edited through the pane.
    VarTestEnt* fragile = MakeVarTestEnt(world, "Fragile");
    fragile->onVarsChanged = [](VarTestEnt* e) { EntDestroyTree(e); };
    editor.SelectAlone(fragile);
    Click("on");
    EXPECT_EQ(editor.SelectionCount(), 0);
    EXPECT_TRUE(panes->Rows().empty());
}

TEST_F(EditorWindowsTest, UndoWritesBackTheValuesAndMarkOfWhenTheEntityWasShown) {
    VarTestEnt* ent = MakeVarTestEnt(world, "Var");
    ent->speed = 2.0f;
    editor.SelectAlone(ent);
    auto row = [this](const char* label) -> CVarWin* {
        for (auto& r : panes->Rows())
            if (std::strcmp(r->Label(), label) == 0) return r.get();
        return nullptr;
    };
    static_cast<CVarWinInt*>(row("count"))->Line(1);
    static_cast<CVarWinFloat*>(row("speed"))->TextChanged("7");
    static_cast<CVarWinString*>(row("label"))->TextChanged("changed");
    EXPECT_TRUE(ent->flags & ENT_FLAG_CHANGED);
    const int changes = ent->varsChanged;
    Click("Entity");
    Click("Undo changes!");
    EXPECT_EQ(ent->count, 50);
    EXPECT_EQ(ent->speed, 2.0f);
    EXPECT_STREQ(ent->label, "");
    EXPECT_FALSE(ent->flags & ENT_FLAG_CHANGED);
    EXPECT_EQ(ent->varsChanged, changes + 1);
    EXPECT_STREQ(static_cast<CVarWinFloat*>(row("speed"))->Text(), "2.") << "the rows show it";
}

// The name row writes the name field as it is, without SetName: the shared terrain lookup, which
// keeps "none" between calls, must still see an entity renamed to or from "Terrain" there, and
// by the undo that writes the old name back.
TEST_F(EditorWindowsTest, ARenameInTheNameRowOrItsUndoMovesTheTerrainLookup) {
    EditProp* hill = MakeEditProp(world, "Terrain");
    editor.SelectAlone(hill);
    ASSERT_FALSE(panes->Rows().empty());
    auto* name = dynamic_cast<CVarWinString*>(panes->Rows()[0].get());
    ASSERT_NE(name, nullptr);
    ASSERT_EQ(Ent3dGetTerrain(world), hill);
    name->TextChanged("Hill");
    EXPECT_EQ(Ent3dGetTerrain(world), nullptr) << "renamed away: no longer the terrain";
    name->TextChanged("Terrain");
    EXPECT_EQ(Ent3dGetTerrain(world), hill) << "renamed in the pane: the kept 'none' hid it";
    name->TextChanged("Hill");
    ASSERT_EQ(Ent3dGetTerrain(world), nullptr);
    Click("Entity");
    Click("Undo changes!");
    ASSERT_STREQ(hill->GetName(), "Terrain");
    EXPECT_EQ(Ent3dGetTerrain(world), hill) << "the undo wrote the name back";
}

TEST_F(EditorWindowsTest, UndoAlsoWritesBackTheInstanceTableValues) {
    VarTestEnt* ent = MakeVarTestEnt(world, "Cam");
    // Its values live in its instance table only, as a camera's do.
    PropDb* const db = ent->classDb;
    ent->classDb = nullptr;
    VarTable* table = VarTableCreate(4);
    VarTableAddFloat(table, "far", PROP_OFFSET(VarTestEnt, far), 0, 0, 1000, 0);
    VarTableAddString(table, "notes", PROP_OFFSET(VarTestEnt, notes), 299, "", 0);
    VarTableAddBool(table, "small", PROP_OFFSET(VarTestEnt, small), 0, 0);
    VarTableAddSeparator(table, "Looks");
    ent->table = table;
    ent->far = 3.25f;
    editor.SelectAlone(ent);
    ASSERT_EQ(panes->Rows().size(), 4u);
    auto row = [this](size_t i) { return static_cast<VarDbWnd*>(panes->Rows()[i].get()); };
    row(0)->TextChanged("900.5");
    row(1)->TextChanged("changed");
    row(2)->Clicked(true);
    EXPECT_EQ(ent->far, 900.5f);
    EXPECT_STREQ(ent->notes, "changed");
    EXPECT_EQ(ent->small, 1);
    const int changes = ent->varsChanged;
    panes->Undo();
    EXPECT_EQ(ent->far, 3.25f);
    EXPECT_STREQ(ent->notes, "");
    EXPECT_EQ(ent->small, 0);
    EXPECT_FALSE(ent->flags & ENT_FLAG_CHANGED);
    EXPECT_EQ(ent->varsChanged, changes + 1);
    EXPECT_STREQ(row(0)->Text(), "3.25") << "the rows show it";

    // A table swapped since showing takes nothing: the values were laid out for the old one.
    VarTable* other = VarTableCreate(1);
    VarTableAddInt(other, "count", PROP_OFFSET(VarTestEnt, count), 0, 0, 100, 0);
    ent->table = other;
    ent->far = 7.0f;
    panes->Undo();
    EXPECT_EQ(ent->far, 7.0f);
    EXPECT_EQ(ent->count, 50);
    ent->table = nullptr;
    VarTableDestroy(other);
    VarTableDestroy(table);
    ent->classDb = db;
}

TEST_F(EditorWindowsTest, AnEntityWithManyFieldsIsScrolledToItsLastRow) {
    VarTestEnt* ent = MakeVarTestEnt(world, "Var");
    VarTable* table = VarTableCreate(300);
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "v%d", i);
        VarTableAddInt(table, name, PROP_OFFSET(VarTestEnt, count), 0, 0, 100, 0);
    }
    ent->table = table;
    editor.SelectAlone(ent);
    Frame();
    const EditorRect& p = editor.Rects().params;
    const float bottom = (float)(p.y + p.height);
    ASSERT_TRUE(ui.Has("v299"));
    EXPECT_GT(ui.Item("v299").y0, bottom) << "below the pane at first";
    for (int i = 0; i < 300 && ui.Item("v299").y1 > bottom; ++i)
        ui.Wheel((float)p.x + 20, (float)p.y + p.height * 0.5f, -5.0f, [this] { editor.DrawUi(); });
    EXPECT_LE(ui.Item("v299").y1, bottom) << "the last row scrolled into view";
    EXPECT_EQ(ent->varsChanged, 0);
    editor.SelectClear();
    ent->table = nullptr;
    VarTableDestroy(table);
}

TEST_F(EditorWindowsTest, TheConsoleAppendsTypedLinesAndKeepsTheLastThousand) {
    Click("Input");
    ui.Type("hello", [this] { editor.DrawUi(); });
    ui.PressKey(ImGuiKey_Enter, [this] { editor.DrawUi(); });
    ASSERT_EQ(panes->ConsoleLines().size(), 1u);
    EXPECT_EQ(panes->ConsoleLines().back(), "hello");
    Click("Input");
    ui.Type("again", [this] { editor.DrawUi(); });
    Click("Enter");
    EXPECT_EQ(panes->ConsoleLines().back(), "again");
    for (int i = 0; i < 1200; ++i)
        panes->ConsoleAppend(std::to_string(i).c_str());
    EXPECT_EQ(panes->ConsoleLines().size(), 1000u);
    EXPECT_EQ(panes->ConsoleLines().back(), "1199");
    EXPECT_EQ(panes->ConsoleLines().front(), "200");
    Frame();
}

TEST_F(EditorWindowsTest, TheStaticModelsRowReadsAndWritesTheStaticObjectClassWord) {
    ASSERT_EQ(EntCreateClass(EcStaticObjectProc, 0, 0), 0);
    EntNode* node = EntCreate("StaticObject", root->node, 0, 0, 0);
    ASSERT_NE(node, nullptr);
    ENTBASE* object = node->object;
    const uint32_t before = object->GetClassFlags();
    ASSERT_TRUE(before & CLASS_FLAG_DRAW);
    Click("Settings");
    Click("Static Models/Draw");
    EXPECT_EQ(object->GetClassFlags(), before & ~(uint32_t)CLASS_FLAG_DRAW);
    Click("Static Models/Draw");
    EXPECT_EQ(object->GetClassFlags(), before);
    Click("Static Models/Select");
    EXPECT_EQ(object->GetClassFlags() & CLASS_FLAG_SELECT, ~before & CLASS_FLAG_SELECT);
    static_cast<Ent3dBase*>(object)->SetClassFlags(before);
}
