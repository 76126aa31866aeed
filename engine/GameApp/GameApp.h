// The game application: the program's one application object. It reads the video settings from
// the per-user "Config.ini", starts the game's services in a fixed order, publishes the entity
// classes to the scripts, runs "Startup.lua", builds the root entity tree when a script asks for
// it, and drives each frame: clock, scripts, sound, input, entity update, drawing.
#pragma once

#include "engine/App/AppBase.h"
#include "engine/DataDir.h"
#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "engine/GameApp/GameCameraHost.h"
#include "engine/GameApp/GameMtHost.h"
#include "engine/Script/ScriptGameHost.h"

#include <string>

class ENTBASE;
class Editor;
class Font;
struct FrameClock;
struct ScriptMgr;

class GameApp : public AppBase, public ScriptGameHost {
  public:
    GameApp();
    ~GameApp() override;

    // ---- the application's operations ----
    // The settings file, the configuration dialog (which may stop the start-up: -1), then the
    // video and sound keys of "Xq Config". 0.
    int LoadConfig() override;
    void OnInit() override;
    void Shutdown() override;
    void Update() override;
    void Render() override;
    // The character-model skinning buffer and the particle buffers live in the default pool.
    void DeviceLost() override;
    void DeviceReset() override;
    void OnResize(int width, int height) override;
    // Resume and Suspend stay the application's own, which take and let go of the keyboard and
    // mouse: a key or button held while the focus leaves would otherwise stay down for good.

    // ---- called by menus, the game object and the scripts ----
    // Forgets the keyboard entity, empties "Viewport" and "World" and resets the classes.
    void ClearScene();
    // The clock's speed: factor x 1024, truncated (1024 is real time).
    void SetClockSpeed(float factor);
    // The standard root tree. A class that is not registered leaves its node, and the nodes meant
    // to hang below it, unmade (logged); without the null entity's class nothing is made and the
    // program quits. A second call while the tree exists does nothing.
    void BuildRootTree() override;
    // Sets each of the 108 "Ec" names to its class procedure, in their fixed order.
    void PublishClassProcs();

    // ScriptGameHost
    void Quit() override { quit = 1; }
    ENTBASE* GetRoot() override;
    ENTBASE* GetViewports() override;
    ENTBASE* GetWorld() override;
    ENTBASE* GetMenus() override;
    const char* GetDataFolder() override { return dataFolder.path.c_str(); }
    void SetKeyboardEntity(ENTBASE* entity) override { keyboardEntity = entity; }
    int LoadEntitiesIni(const char* path) override;

    // The program folder the data folder, "Saves/" and "Editor/" are taken from: the
    // executable's, unless a test gives another (ending in "/", or "" for a folder that could
    // not be found) before start-up; null goes back to the executable's.
    void SetProgramFolder(const char* folder) {
        m_programFolderSet = folder != nullptr;
        m_programFolder = folder ? folder : "";
    }
    std::string ProgramFolder() const;
    // The settings file LoadConfig used.
    const std::string& SettingsPath() const { return m_settingsPath; }

    // ---- fields ----
    Font* debugFont = nullptr;
    DataDir dataFolder = {};
    FrameClock* clock = nullptr;
    ScriptMgr* scripts = nullptr;
    // The root tree. Scripts can destroy any of these: each is a link that reads null once its
    // entity has gone, never another entity made later at the same address.
    EntRef root;
    EntRef game;
    EntRef world;
    EntRef viewports;
    EntRef menuRoot;
    EntRef menuViewport;
    EntRef menus;
    EntRef mouse;
    // Receives every input event after the menus; set by the scripts, kept the same way.
    EntRef keyboardEntity;
    Editor* editor = nullptr;
    // "digDriverEnabled", "dig3dEnabled" and "enableMP3Music" of the settings; the last two are
    // off whenever the first is.
    bool soundOn = true, sound3d = true, musicOn = true;

  private:
    // Installs (and removes) every hook and host the libraries below reach the program through.
    void WireHooks();
    void UnwireHooks();
    void StartSound();
    void DispatchInput();
    // Menu units per pixel of the render kernel's screen.
    void UpdateMouseScale();
    void FollowEditorView();
    // Makes one node of the root tree: null, with the log line, when its class is not registered.
    ENTBASE* MakeNode(const char* className, const char* name, ENTBASE* parent);

    // What the game object reaches of the program through.
    GameMtHost m_gameHost{this};
    GameCameraHost m_cameraHost{this};
    std::string m_programFolder;
    bool m_programFolderSet = false;
    std::string m_userFolder; // documents folder + "Fairlark/", or ""
    std::string m_settingsPath;
    // The game view the screen last followed; 0 x 0 outside editor mode.
    int m_editorViewWidth = 0, m_editorViewHeight = 0;
};

// The 108 "Ec" names in their published order, each with its class procedure.
struct GameClassProc {
    const char* name;
    EntClassProc proc;
};
enum { GAME_CLASS_PROC_COUNT = 108 };
extern const GameClassProc g_gameClassProcs[GAME_CLASS_PROC_COUNT];
