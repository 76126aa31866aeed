// A game host for the world tests that run scripts: a real root tree (Root > Viewport, World),
// the real entity-list loader and a data folder of the test's choosing.
#pragma once

#include "engine/EntIniLoader.h"
#include "engine/Script/ScriptGameHost.h"
#include "tests/world/WorldTestClasses.h"

#include <string>

class WorldHost : public ScriptGameHost {
  public:
    void Quit() override {}
    void BuildRootTree() override {
        root = Make("EntNull", nullptr, "Root");
        viewports = Make("EntNull", root, "Viewport");
        world = Make("EntNull", root, "World");
    }
    ENTBASE* GetRoot() override { return root; }
    ENTBASE* GetViewports() override { return viewports; }
    ENTBASE* GetWorld() override { return world; }
    ENTBASE* GetMenus() override { return nullptr; }
    const char* GetDataFolder() override { return dataFolder.c_str(); }
    void SetKeyboardEntity(ENTBASE*) override {}
    int LoadEntitiesIni(const char* path) override {
        return EntLoadEntitiesIni(path, root, world, dataFolder.c_str());
    }

    ENTBASE *root = nullptr, *viewports = nullptr, *world = nullptr;
    std::string dataFolder;
};
