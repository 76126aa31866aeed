// The editor's commands: duplicate, save, beep, the scripts, and ids it does not know.
#include "engine/Script/ScriptLibs.h"
#include "tests/tools/MasterEditFixture.h"
#include "tools/EditorWindows.h"

#include <sys/stat.h>

TEST_F(MasterEditTest, DuplicateCopiesBesideTheEntityAndHandsItOverOnce) {
    EditProp* tent = MakeEditProp(world, "Tent", {3, 1, 10});
    tent->yaw = 0.5f;
    EntSetSourceFile(tent, (dir / "Venue.ini").c_str());
    Enter();
    editor.SelectAlone(tent);
    editor.Command(0, EDCMD_DUPLICATE);
    auto* copy = static_cast<EditProp*>(EntTreeFindName(root, "Tentx"));
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->node->cls->name, "Prop");
    EXPECT_EQ(EntGetParent(copy), world);
    EXPECT_EQ(copy->sourceFile, tent->sourceFile);
    EXPECT_EQ(copy->starts, 1) << "started once, by the application's callback";
    EXPECT_TRUE(copy->TestFlag(ENT_FLAG_CHANGED));
    EXPECT_EQ(copy->pos.x, 3.0f);
    EXPECT_EQ(copy->yaw, 0.5f);

    const char* longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    tent->SetName(longName);
    ENTBASE* longCopy = editor.Duplicate(tent);
    ASSERT_NE(longCopy, nullptr);
    EXPECT_STREQ(longCopy->GetName(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234x");

    EditProp::s_refuse = true;
    const int before = EntTreeCount(root);
    EXPECT_EQ(editor.Duplicate(tent), nullptr);
    EXPECT_EQ(EntTreeCount(root), before);
    EXPECT_NE(Log().find("Editor: could not duplicate"), std::string::npos);
}

TEST_F(MasterEditTest, ShiftDragMovesCopiesOfTheSelection) {
    EditProp* a = MakeEditProp(world, "A", {-4, 0, 10});
    EditProp* b = MakeEditProp(world, "B", {4, 0, 10});
    Enter();
    Click(a);
    Click(b, true);
    Drag(b, {{10, 0}}, true);
    EXPECT_EQ(EntTreeCount(world), 5);
    int n = 0;
    ENTBASE* const* sel = editor.Selection(&n);
    ASSERT_EQ(n, 2);
    for (int i = 0; i < n; ++i) {
        auto* copy = static_cast<EditProp*>(sel[i]);
        EXPECT_EQ(copy->name[1], 'x') << copy->name;
        EXPECT_NEAR(copy->pos.x, (copy->name[0] == 'A' ? -4.0f : 4.0f) + 0.2f, 1e-5);
    }
    EXPECT_EQ(a->pos.x, -4.0f);
    EXPECT_EQ(b->pos.x, 4.0f);
    EXPECT_FALSE(a->TestFlag(ENT_FLAG_DRAWPOST));
}

TEST_F(MasterEditTest, SavingWritesMarkedEntitiesOfTheirFilesAndClearsTheMark) {
    const std::string venue = dir / "Venue.ini";
    EditProp* tent = MakeEditProp(world, "Tent", {1, 0, 10});
    EditProp* lamp = MakeEditProp(tent, "Lamp", {2, 0, 10});
    EditProp* loose = MakeEditProp(world, "Loose", {3, 0, 10});
    EditProp* kept = MakeEditProp(world, "Kept", {5, 0, 10});
    EditProp* saved = MakeEditProp(world, "Saved", {6, 0, 10});
    EntSetSourceFile(tent, venue.c_str());
    EntSetSourceFile(lamp, venue.c_str());
    EntSetSourceFile(kept, venue.c_str());
    EntSetSourceFile(saved, ENT_SAVEGAME);
    for (EditProp* e : {tent, lamp, loose, saved})
        e->SetFlag(ENT_FLAG_CHANGED);
    Enter();
    editor.Command(0, EDCMD_SAVE_CHANGED);
    const std::string text = ReadTextFile(venue);
    EXPECT_NE(text.find("[Tent]"), std::string::npos) << text;
    EXPECT_NE(text.find("[Lamp]"), std::string::npos) << "children too";
    EXPECT_EQ(text.find("[Kept]"), std::string::npos) << "unmarked entities are not written";
    EXPECT_LT(text.find("[Tent]"), text.find("[Lamp]")) << "each entity before its children";
    EXPECT_FALSE(tent->TestFlag(ENT_FLAG_CHANGED));
    EXPECT_FALSE(lamp->TestFlag(ENT_FLAG_CHANGED));
    EXPECT_TRUE(loose->TestFlag(ENT_FLAG_CHANGED)) << "no file to save it in";
    EXPECT_TRUE(saved->TestFlag(ENT_FLAG_CHANGED));
    EXPECT_NE(Log().find("Editor: Saved belongs to a saved game, not saved"), std::string::npos);

    editor.SelectAlone(kept);
    kept->pos.x = 7.5f;
    editor.Command(0, EDCMD_SAVE_SELECTED);
    EXPECT_NE(ReadTextFile(venue).find("[Kept]"), std::string::npos);
}

TEST_F(MasterEditTest, AFailedSaveKeepsTheMarkAndSaysSoInTheConsole) {
    // A folder where the entity's file must go: nothing can be written over it, even by root.
    const std::string venue = dir / "Venue.ini";
    ASSERT_EQ(mkdir(venue.c_str(), 0755), 0);
    EditProp* tent = MakeEditProp(world, "Tent", {1, 0, 10});
    EntSetSourceFile(tent, venue.c_str());
    tent->SetFlag(ENT_FLAG_CHANGED);
    Enter();
    editor.Command(0, EDCMD_SAVE_CHANGED);
    EXPECT_TRUE(tent->TestFlag(ENT_FLAG_CHANGED)) << "the next save would skip the lost edit";
    auto* windows = dynamic_cast<EditorWindows*>(editor.Panes());
    ASSERT_NE(windows, nullptr);
    ASSERT_FALSE(windows->ConsoleLines().empty());
    EXPECT_NE(windows->ConsoleLines().back().find("Tent was not saved"), std::string::npos)
        << windows->ConsoleLines().back();
    editor.SelectAlone(tent);
    editor.Command(0, EDCMD_SAVE_SELECTED);
    EXPECT_TRUE(tent->TestFlag(ENT_FLAG_CHANGED));
}

TEST_F(MasterEditTest, ADuplicateOfAListedEntityIsNotWrittenWhereTheListWouldMissIt) {
    // A world file in list form: only what its "Entities" list names is made at the next load.
    const std::string world_ini = dir / "World.ini";
    WriteTextFile(world_ini, "[Entities]\n// name class parent\nTent EditProp World\n\n[Tent]\n"
                             "pos.x=1\n");
    EditProp* tent = MakeEditProp(world, "Tent", {1, 0, 10});
    EntSetSourceFile(tent, world_ini.c_str());
    Enter();
    ENTBASE* copy = editor.Duplicate(tent);
    ASSERT_NE(copy, nullptr);
    tent->SetFlag(ENT_FLAG_CHANGED);
    editor.Command(0, EDCMD_SAVE_CHANGED);
    const std::string text = ReadTextFile(world_ini);
    EXPECT_EQ(text.find("[Tentx]"), std::string::npos) << "a section no load would read:\n" << text;
    EXPECT_TRUE(copy->TestFlag(ENT_FLAG_CHANGED)) << "the copy looks saved but is lost at the load";
    EXPECT_FALSE(tent->TestFlag(ENT_FLAG_CHANGED)) << "a listed entity is saved as before";
    auto* windows = dynamic_cast<EditorWindows*>(editor.Panes());
    ASSERT_NE(windows, nullptr);
    ASSERT_FALSE(windows->ConsoleLines().empty());
    EXPECT_NE(windows->ConsoleLines().back().find("Tentx is not in the Entities list of"),
              std::string::npos)
        << windows->ConsoleLines().back();
}

TEST_F(MasterEditTest, SaveBeepsUndoReachesThePaneAndUnknownIdsDoNothing) {
    EditProp* tent = MakeEditProp(world, "Tent", {0, 0, 10});
    Enter();
    editor.Command(0, EDCMD_SAVE);
    EXPECT_NE(Log().find("Beep 880 Hz 100 ms\n"), std::string::npos);
    editor.Command(0, EDCMD_UNDO);
    EXPECT_EQ(editor.Panes()->undos, 0) << "nothing selected";
    editor.SelectAlone(tent);
    editor.Command(0, EDCMD_UNDO);
    EXPECT_EQ(editor.Panes()->undos, 1);
    const int count = EntTreeCount(root);
    for (int id : {0, 99999, (int)EDCMD_EXIT, (int)EDCMD_DEVINFO})
        editor.Command(0, id);
    EXPECT_EQ(EntTreeCount(root), count);
    EXPECT_TRUE(editor.IsActive());
}

TEST_F(MasterEditTest, EditorScriptsRunFromTheDataFolder) {
    WriteTextFile(dir / "Editor/Script1.lua", "System.OutputDebugString('marker one\\n')\n"
                                              "Script.WaitFrame(1)\n"
                                              "System.OutputDebugString('marker two\\n')\n");
    LuaOpenSystemLib(ScriptMgrGet()->L);
    testing::internal::CaptureStderr();
    editor.Command(0, EDCMD_SCRIPT1);
    ScriptMgrUpdate(0.01f);
    ScriptMgrUpdate(0.01f);
    editor.Command(0, EDCMD_SCRIPT2); // not there
    ScriptMgrUpdate(0.01f);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("marker one"), std::string::npos) << err;
    EXPECT_NE(err.find("marker two"), std::string::npos) << err;
    EXPECT_NE(err.find("LuaScript Compile/Load Error"), std::string::npos) << err;
    EXPECT_EQ(ScriptMgrGet()->scripts, nullptr) << "both scripts deleted themselves";
}
