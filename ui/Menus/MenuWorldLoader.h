// The loading screen between the front end and a running day: "Loading..." with the venue's
// introduction, two frames drawn, then the game object starts the new game (the venue's script
// builds its world), and once the world reports itself loaded the in-game screen replaces it.
// When the script could not run or the world never reports, it becomes a small error screen
// whose Back clears the scene and returns to the venue selector.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

class StaticText;
class StaticTextBox;
struct VarTable;

enum {
    WORLD_LOADER_NAME_MAX = 264,  // the script name's buffer, terminator included
    WORLD_LOADER_BACK = 0,        // the error screen's Back
    WORLD_LOADER_START_FRAME = 2, // the update on which the new game starts (the third)
};
// The game event the world's script sends when it is built (the scripts' GE_WORLDLOADED).
enum : int { WORLD_LOADED_EVENT = 27 };

class MenuWorldLoader : public Menu3Base {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "MenuWorldLoader"; }
    VarTable* GetInstanceVarTable() override;
    int Create(EntNode* node) override;
    int Start() override; // nothing: the loader needs no activation
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    int OnGameEvent(int event, intptr_t value) override;

    // Copies the name, cut to the buffer.
    void SetScriptFileName(const char* name);
    // Logs the reason and turns the screen into the error screen.
    void Fail(const char* reason);

    char scriptFileName[WORLD_LOADER_NAME_MAX] = {};
    int32_t frameCounter = 0;
    uint32_t worldLoaded = 0;  // a script variable (bool)
    float loadTimeout = 60.0f; // real seconds to wait for the world after the start
    float waited = 0.0f;
    bool failed = false;
    StaticText* title = nullptr;
    StaticTextBox* textBox = nullptr;
};

// Creates the loader under the parent with the venue script's name and starts it; null when it
// cannot be made.
Menu3Base* MenuWorldLoaderOpen(ENTBASE* parent, const char* scriptFileName);

// Class "MenuWorldLoader": its variable table ("scriptFileName", "worldLoaded", "loadTimeout") is
// made when the class registers and freed when it goes.
intptr_t EcMenuWorldLoaderProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
