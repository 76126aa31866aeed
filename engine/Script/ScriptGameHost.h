// What the Game script library needs of the application. The game application implements it;
// the tests use a fake.
#pragma once

class ENTBASE;

class ScriptGameHost {
  public:
    virtual ~ScriptGameHost() = default;

    // Raises the application's quit flag.
    virtual void Quit() = 0;
    // Builds the standard root entity tree ("Root", "Game", "Viewport", "World", the menus...).
    virtual void BuildRootTree() = 0;
    // Entities of the root tree; null before it is built.
    virtual ENTBASE* GetRoot() = 0;
    virtual ENTBASE* GetViewports() = 0; // "Viewport": holds the world viewports
    virtual ENTBASE* GetWorld() = 0;     // "World"
    virtual ENTBASE* GetMenus() = 0;     // "Menus"
    // The data folder text ("Data/" in the program folder); it may carry the name of the file
    // last built from it, which the library cuts off.
    virtual const char* GetDataFolder() = 0;
    // The entity that receives every input event after the menus.
    virtual void SetKeyboardEntity(ENTBASE* entity) = 0;
    // Loads the "Entities" list of an entity ini file (a path in the data folder) into the world
    // and starts what it made: how many were started, -1 when the file is missing or unreadable.
    virtual int LoadEntitiesIni(const char* path) = 0;
};
