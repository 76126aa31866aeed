// Entities for the script library tests: "Mover", a class with a position, the properties the
// scripts set and a record of the operations that reached it, and "MtGame", the same under the
// game object's type. Both join the framework's test classes on a fresh registry.
#pragma once

#include "engine/EntBase.h"
#include "engine/Script/ScriptGameHost.h"
#include "tests/engine/EntTestClasses.h"
#include "tests/engine/Script/ScriptTestSupport.h"

#include <string>
#include <vector>

class Mover : public ENTBASE {
  public:
    explicit Mover(const char* typeName) : type(typeName) {}
    const char* GetTypeName() override { return type; }
    int Start() override;
    void SetPos(const VECTOR3* p) override { pos = *p; }
    VECTOR3* GetPos() override { return &pos; }
    void SetHeading(float h) override { heading = h; }
    int OnGameEvent(int event, intptr_t value) override;
    int AttachToPlatform(ENTBASE* p) override;
    int GiveEntity(ENTBASE* e) override;
    void SetLocalPlayer(intptr_t word) override { localPlayer = word; }

    const char* type;
    int starts = 0;
    VECTOR3 pos = {0.0f, 0.0f, 0.0f};
    float heading = 0.0f;
    int lastEvent = 0;
    intptr_t lastValue = 0;
    ENTBASE* platform = nullptr;
    ENTBASE* given = nullptr;
    intptr_t localPlayer = 0;
    // Properties
    float speed = 0.0f;
    int32_t n = 0;
    int32_t gamepad = -1;
    uint8_t b = 0;
    VECTOR3 v = {0.0f, 0.0f, 0.0f};
    COLOR3F c = {0.0f, 0.0f, 0.0f};
    intptr_t ptr = 0;
};

// A fake application: a real root tree (Root > Viewport, World > First, Menus), its data folder
// a scratch folder, and the real entity-ini load.
class TreeHost : public ScriptGameHost {
  public:
    void Quit() override { ++quits; }
    void BuildRootTree() override;
    ENTBASE* GetRoot() override { return root; }
    ENTBASE* GetViewports() override { return viewports; }
    ENTBASE* GetWorld() override { return world; }
    ENTBASE* GetMenus() override { return menus; }
    const char* GetDataFolder() override { return dataFile.c_str(); }
    void SetKeyboardEntity(ENTBASE* entity) override { keyboard = entity; }
    int LoadEntitiesIni(const char* path) override;

    int quits = 0, builds = 0;
    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr, *menus = nullptr;
    ENTBASE* keyboard = nullptr;
    std::string dataFolder;
    std::string dataFile; // dataFolder with the name of a file built from it
};

// Registers the classes, builds the tree and opens Entity, System and Game on the manager's
// state; the globals "root" and "world" name the tree's entities.
class ScriptEntityTest : public ScriptTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    Mover* Make(const char* name, ENTBASE* parent = nullptr, const char* className = "Mover");

    TreeHost host;
};
