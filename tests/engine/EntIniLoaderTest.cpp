// The entity ini loader: list and section forms, reuse of existing entities, capacity, names,
// source-file stamps, automatic names, and a world saved and loaded back through real files.
#include "engine/EntIniLoader.h"
#include "engine/DebugLog.h"
#include "engine/IniFile.h"
#include "engine/Memory.h"
#include "tests/engine/EntTestClasses.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

class EntIniLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterTestClasses();
        root = MakeEnt("Rider", nullptr, "Root");
        world = MakeEnt("Rider", root, "World");
        DbgSetLogFile((dir / "Debug.txt").c_str());
        DbgSetOutputMask(DBG_OUT_FILE);
        DbgSetLevelMask(DBG_GENERAL | DBG_ENTITY);
    }
    void TearDown() override {
        EntDestroyTree(root);
        EntSystemShutdown();
        IniClose();
        IniClearProfileFile();
        DbgSetLevelMask(0);
        DbgSetOutputMask(0);
    }
    std::string Log() { return ReadTextFile(dir / "Debug.txt"); }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
    TestEnt* Get(const char* name) { return static_cast<TestEnt*>(EntTreeFindName(root, name)); }
    std::string ParentOf(const char* name) {
        ENTBASE* p = EntGetParent(Get(name));
        return p ? p->GetName() : "<none>";
    }
    // A loader of capacity 1000 under root with World as its default parent.
    struct Loader : EntIniLoader {
        Loader(ENTBASE* r, ENTBASE* d, int capacity = 1000) : EntIniLoader(capacity) {
            root = r;
            defaultParent[0] = defaultParent[1] = d;
        }
    };

    TempDir dir;
    TestEnt* root = nullptr;
    TestEnt* world = nullptr;
};

} // namespace

TEST_F(EntIniLoad, ListFormSkipsCommentsAndUnknownClasses) {
    std::string path = dir / "list.ini";
    WriteTextFile(path, "[Entities]\n// comment\nx/comment too\n/also\n  A  Booth\nB Lamp A\n"
                        "C NoSuchClass\nD\nE Rider Nowhere\n" +
                            std::string(40, 'L') + " Lamp\n[A]\nscore=4\n");
    Loader loader(root, world);
    ASSERT_EQ(loader.Open(path.c_str()), 0);
    EXPECT_EQ(loader.EntLoadList(nullptr), 6) << "every line that is not a comment counts";
    EXPECT_EQ(loader.count, 3);
    EXPECT_EQ(Get("A")->score, 4) << "properties come from the section named like the entity";
    EXPECT_STREQ(Get("A")->GetTypeName(), "Booth");
    EXPECT_EQ(ParentOf("A"), "World") << "no parent word: the default parent";
    EXPECT_EQ(ParentOf("B"), "A");
    EXPECT_EQ(ParentOf("E"), "World") << "an unknown parent: the default parent";
    EXPECT_EQ(Get("D"), nullptr);
    EXPECT_STREQ(Get("B")->sourceFile, path.c_str()) << "stamped with the loader's path";
    std::string log = Log();
    EXPECT_EQ(Count(log, "INFO: Created entity [A] of class Booth].\n"), 1);
    EXPECT_EQ(Count(log, "INFO: Created entity"), 3) << "an unknown class logs nothing";
    EXPECT_EQ(Count(log, "longer than 32 characters"), 1) << "a 40-character name is refused";

    g_journal.clear();
    EXPECT_EQ(loader.StartAll(), 3);
    EXPECT_EQ(Journal(), "Start:A Start:B Start:E");
    EXPECT_EQ(loader.count, 0);
}

TEST_F(EntIniLoad, ExistingEntitiesAreUpdatedInPlace) {
    TestEnt* holder = MakeEnt("Lamp", root, "Holder");
    TestEnt* a = MakeEnt("Rider", holder, "A");
    a->score = 1;
    std::string path = dir / "list.ini";
    WriteTextFile(path, "[Entities]\nA Booth World\n[A]\nscore=5\n");
    Loader loader(root, world);
    ASSERT_EQ(loader.Open(path.c_str()), 0);
    EXPECT_EQ(loader.EntLoadList("Layout"), 1);
    EXPECT_EQ(Get("A"), a) << "the entity was created a second time";
    EXPECT_EQ(a->score, 5);
    EXPECT_STREQ(a->GetTypeName(), "Rider");
    EXPECT_EQ(ParentOf("A"), "Holder") << "an existing entity keeps its place";
    EXPECT_STREQ(a->sourceFile, "Layout");
    EXPECT_EQ(EntTreeCount(root), 4);
}

TEST_F(EntIniLoad, SectionFormTakesClassAndParentKeys) {
    std::string path = dir / "save.sbx";
    WriteTextFile(path, "[Sandbox]\ncash=5\n[Self]\nclass=Lamp\nparent=Self\n[Lost]\nclass=Rider\n"
                        "parent=Nowhere\n[Kid]\nclass=Booth\nparent=Self\nscore=9\n[]\nclass=Lamp\n"
                        "[" +
                            std::string(40, 'N') + "]\nclass=Lamp\n");
    Loader loader(root, world);
    ASSERT_EQ(loader.Open(path.c_str()), 0);
    EXPECT_EQ(loader.EntLoadIni(ENT_SAVEGAME), 5) << "sections with a class, created or not";
    EXPECT_EQ(ParentOf("Self"), "World") << "a parent naming itself: the default parent";
    EXPECT_EQ(ParentOf("Lost"), "World");
    EXPECT_EQ(ParentOf("Kid"), "Self");
    EXPECT_EQ(Get("Kid")->score, 9);
    EXPECT_STREQ(Get("Kid")->sourceFile, ENT_SAVEGAME);
    EXPECT_EQ(loader.count, 3);
    EXPECT_EQ(Count(Log(), "longer than 32 characters"), 1);
}

TEST_F(EntIniLoad, CapacityBoundsTheCollectedEntities) {
    std::string list = "[Entities]\n";
    std::string sections;
    for (int i = 0; i < 1001; ++i) {
        list += "E" + std::to_string(i) + " Lamp\n";
        sections += "[S" + std::to_string(i) + "]\nclass=Lamp\n";
    }
    WriteTextFile(dir / "list.ini", list);
    WriteTextFile(dir / "save.ini", sections);
    int started = 0;
    TestEnt::onAnyStart = [&](TestEnt*) { ++started; };
    EXPECT_EQ(EntLoadEntitiesIni("list.ini", root, world, dir.Path().c_str()), 1000);
    EXPECT_EQ(started, 1000);
    EXPECT_EQ(Get("E1000"), nullptr) << "entities beyond the capacity must not be created";
    EXPECT_NE(Get("E999"), nullptr);

    Loader loader(root, world, 1000);
    ASSERT_EQ(loader.Open((dir / "save.ini").c_str()), 0);
    EXPECT_EQ(loader.EntLoadIni(nullptr), 1001);
    EXPECT_EQ(loader.count, 1000);
    EXPECT_EQ(Get("S1000"), nullptr);
    EXPECT_EQ(Count(Log(), "1 skipped, not loaded"), 2) << "one log line per load";
}

TEST_F(EntIniLoad, ScriptRulesStartOnlyAfterTheWholeFile) {
    MakeEnt("Booth", world, "First");
    WriteTextFile(dir / "World.ini", "[Entities]\nA Rider\nB Rider\nC Rider A\n");
    bool sawLaterSiblings = false;
    TestEnt::onAnyStart = [&](TestEnt* e) {
        if (std::string(e->GetName()) == "A") sawLaterSiblings = Get("B") && Get("C");
    };
    EXPECT_EQ(EntLoadEntitiesIni("World.ini", root, world, dir.Path().c_str()), 3);
    EXPECT_TRUE(sawLaterSiblings) << "Start ran before the file was loaded";
    EXPECT_EQ(ParentOf("A"), "First") << "the default parent is First under the world";
    EXPECT_EQ(EntLoadEntitiesIni("Missing.ini", root, world, dir.Path().c_str()), -1);
}

TEST_F(EntIniLoad, AutomaticNamesResyncFromTheTree) {
    char name[33];
    MakeEnt("Lamp", world, "ENT~7");
    MakeEnt("Lamp", world, "ENT~12");
    MakeEnt("Lamp", world, "EX~99");
    EntAutoNameResync(root);
    EXPECT_STREQ(EntMakeAutoName(name), "ENT~13");
    EXPECT_STREQ(EntMakeAutoName(name), "ENT~14");
    MakeEnt("Lamp", world, "ENQ~20");
    EntAutoNameResync(root);
    EXPECT_STREQ(EntMakeAutoName(name), "ENT~21") << "the third character is not tested";
    MakeEnt("Lamp", world, "ENT~99999999999");
    EXPECT_EQ(EntTreeMaxAutoName(root, 0), INT_MAX) << "a huge number saturates";
    EntAutoNameResync(root);
    EXPECT_STREQ(EntMakeAutoName(name), "ENT~2147483647");
    EXPECT_STREQ(EntMakeAutoName(name), "ENT~2147483647") << "the counter must not overflow";
}

TEST_F(EntIniLoad, SourceFileTableHoldsEightNames) {
    TestEnt* e = MakeEnt("Lamp", world, "L");
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(EntSetSourceFile(e, ("file" + std::to_string(i) + ".ini").c_str()));
    EXPECT_TRUE(EntSetSourceFile(e, "FILE3.INI")) << "a name already held, ignoring case";
    EXPECT_STREQ(e->sourceFile, "file3.ini");
    EXPECT_FALSE(EntSetSourceFile(e, "ninth.ini"));
    EXPECT_STREQ(e->sourceFile, "file3.ini") << "a refused stamp leaves the old one";
    EntSourceFilesClear();
    EXPECT_EQ(EntSourceFileFind("file3.ini"), nullptr) << "the reset empties the table";
    EXPECT_STREQ(e->sourceFile, "file3.ini") << "but an entity keeps its own stamp";
    const std::string deep = std::string(300, 'p') + ".ini";
    EXPECT_TRUE(EntSetSourceFile(e, deep.c_str())) << "a long path is kept whole, not refused";
    EXPECT_EQ(e->sourceFile, deep);
    EXPECT_EQ(EntSourceFileFind(nullptr), nullptr);
    EXPECT_FALSE(EntSetSourceFile(e, ""));
}

// A menu loaded from its file survives a class reset (the scene is cleared under it); the save
// of a later game must neither write it nor see another file's stamp in its place.
TEST_F(EntIniLoad, AnEntityThatOutlivesAClassResetKeepsItsSourceFile) {
    TestEnt* menu = MakeEnt("Lamp", root, "Menu");
    ASSERT_TRUE(EntSetSourceFile(menu, "Data/Menus.ini"));
    const char* stamp = menu->sourceFile;
    EntResetClasses();
    TestEnt* placed = MakeEnt("Booth", world, "ENT~1");
    ASSERT_TRUE(EntSetSourceFile(placed, ENT_SAVEGAME));
    for (int i = 0; i < 7; ++i)
        EntSourceFileIntern(("Later" + std::to_string(i) + ".ini").c_str());
    EXPECT_STREQ(menu->sourceFile, "Data/Menus.ini")
        << "the reset let the table slot be reused under a live entity's stamp";
    IniSetProfileFile((dir / "Save.car").c_str());
    EXPECT_EQ(EntSaveEntities(root), 1) << "only the placed entity belongs in the save";
    IniClearProfileFile();
    EXPECT_EQ(ReadTextFile(dir / "Save.car").find("[Menu]"), std::string::npos);
    EntSourceFilesClear();
    EXPECT_EQ(EntSourceFileIntern("DATA/MENUS.INI"), stamp)
        << "a name interned again is the entry its entities already hold";
}

// A world loaded by the script rules; five entities stamped for saving are written in the
// section form, destroyed, and loaded back as they were.
TEST_F(EntIniLoad, SavedEntitiesComeBackAsTheyWere) {
    MakeEnt("Booth", world, "First");
    EXPECT_EQ(
        EntLoadEntitiesIni("Entities.ini", root, world, FAIRLARK_SOURCE_DIR "/tests/data/engine/"),
        20);
    ASSERT_EQ(EntTreeCount(world), 22);
    const char* saved[] = {"Wheel", "Seat2", "Car2", "Lamp3", "Pony"};
    struct Before {
        std::string type, parent, title;
        int score;
        float speed, heading;
        uint8_t flag;
    } before[5];
    for (int i = 0; i < 5; ++i) {
        TestEnt* e = Get(saved[i]);
        ASSERT_NE(e, nullptr) << saved[i];
        ASSERT_TRUE(EntSetSourceFile(e, ENT_SAVEGAME));
        before[i] = {e->GetTypeName(), ParentOf(saved[i]), e->title, e->score,
                     e->speed,         e->heading,         e->flag};
    }
    EXPECT_EQ(before[0].title, "Big Wheel");
    EXPECT_EQ(before[3].parent, "Lamp2");

    std::string save = dir / "Save.sbx";
    IniSetProfileFile(save.c_str());
    EXPECT_EQ(EntSaveEntities(root), 5);
    IniClearProfileFile();
    EXPECT_EQ(Count(Log(), "Saving entity "), 5);
    EXPECT_EQ(Count(Log(), "Saving entity Wheel of class Rider\n"), 1);

    for (const char* name : saved)
        EntDestroyTree(Get(name));
    EXPECT_EQ(Get("Seat1"), nullptr) << "Seat1 went with its parent Wheel";

    EntIniLoader loader(1000);
    loader.root = root;
    loader.defaultParent[0] = loader.defaultParent[1] = Get("First");
    ASSERT_EQ(loader.Open(save.c_str()), 0);
    EXPECT_EQ(loader.EntLoadIni(ENT_SAVEGAME), 5);
    EXPECT_EQ(loader.StartAll(), 5);
    for (int i = 0; i < 5; ++i) {
        TestEnt* e = Get(saved[i]);
        ASSERT_NE(e, nullptr) << saved[i];
        EXPECT_EQ(e->GetTypeName(), before[i].type) << saved[i];
        EXPECT_EQ(ParentOf(saved[i]), before[i].parent) << saved[i];
        EXPECT_EQ(e->title, before[i].title);
        EXPECT_EQ(e->score, before[i].score);
        EXPECT_EQ(e->speed, before[i].speed);
        EXPECT_EQ(e->heading, before[i].heading);
        EXPECT_EQ(e->flag, before[i].flag);
        EXPECT_STREQ(e->sourceFile, ENT_SAVEGAME);
    }
}
