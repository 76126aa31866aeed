// The game application's start-up, shutdown and small operations: the settings file, the
// services in their fixed order, "Startup.lua", and what a lost device takes with it.
#include "engine/GameApp/GameApp.h"

#include "I3d/CharModel.h"
#include "I3d/Device.h"
#include "I3d/Font.h"
#include "I3d/Primitives.h"
#include "I3d/SpriteBatch.h"
#include "engine/DebugLog.h"
#include "engine/Dirs.h"
#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntBase.h"
#include "engine/EntIniLoader.h"
#include "engine/FrameClock.h"
#include "engine/IniFile.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/SettingsFile.h"
#include "engine/Sound/Sound.h"
#include "engine/System.h"
#include "engine/UserFolder.h"
#include "gi/giModelDefManager.h"
#include "tools/Editor.h"
#include "tools/HwConfig.h"
#include "ui/Ctl3Base.h"
#include "world/Particles/ParticleSys.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

static constexpr uint32_t kFrameCapMs = 33;
static constexpr int kSprites = 3000, kSpriteGroups = 40;
static constexpr int kVoices = 32;
// The interface is laid out on this screen whatever the window's size.
static constexpr float kMenuWidth = 1024.0f, kMenuHeight = 768.0f;

GameApp::GameApp() {
    windowed = 1;
    windowWidth = 1280;
    windowHeight = 720;
    deviceWidth = 1024;
    deviceHeight = 768;
    debug = 0;
}

GameApp::~GameApp() = default;

std::string GameApp::ProgramFolder() const {
    return m_programFolderSet ? m_programFolder : std::string(SysProgramFolder());
}

ENTBASE* GameApp::GetRoot() {
    return root.Get();
}
ENTBASE* GameApp::GetViewports() {
    return viewports.Get();
}
ENTBASE* GameApp::GetWorld() {
    return world.Get();
}
ENTBASE* GameApp::GetMenus() {
    return menus.Get();
}

// ---- settings ----

namespace {

constexpr int kMinWidth = 320, kMinHeight = 240;
constexpr int kDefaultWidth = 640, kDefaultHeight = 480;
constexpr int kLargestSize = 16384; // past any display, and past what a back buffer can take

// A size read from the settings file that no display can hold, or too small for the menus, is
// the default: an edited file must not crash the start-up or end it without a word. The log is
// not open yet, so the line goes to stderr as well.
void CheckSize(int* width, int* height, const char* keys, int largestWidth, int largestHeight) {
    if (*width >= kMinWidth && *height >= kMinHeight && *width <= largestWidth &&
        *height <= largestHeight)
        return;
    char text[200];
    std::snprintf(text, sizeof text,
                  "Config.ini: %s %i x %i is outside %i x %i to %i x %i; %i x %i is used\n", keys,
                  *width, *height, kMinWidth, kMinHeight, largestWidth, largestHeight,
                  kDefaultWidth, kDefaultHeight);
    std::fputs(text, stderr);
    DbgPrintf(DBG_GENERAL, "%s", text);
    *width = kDefaultWidth;
    *height = kDefaultHeight;
}

} // namespace

int GameApp::LoadConfig() {
    // Without a documents folder one can use the settings live in "Saves/" beside the program,
    // which is made here; a folder that cannot be made leaves the defaults.
    const std::string saves = UserSaveFolder(ProgramFolder());
    m_userFolder = saves == UserGameFolder() ? saves : std::string();
    if (m_userFolder.empty() && !saves.empty()) DirCreate(saves.c_str());
    m_settingsPath = saves + "Config.ini";
    // Before the dialog or anything else reads it: a file of gigabytes would be read whole, held
    // and written back at every exit. Set aside, it reads as missing and nothing of it is lost.
    SettingsFileSetAsideOversized(m_settingsPath.c_str());

    HwConfigSettings settings = {hinstance, m_settingsPath.c_str(), "Xq App",
                                 "Data\\ConfigBanner.bmp", nullptr};
    if (HwConfigShow(&settings) == 0) return -1;

    // Whole numbers only: a switch written as "TRUE" reads as 0.
    const char* section = HwConfigSectionName();
    IniSetProfileFile(m_settingsPath.c_str());
    int value = 0;
    windowed = IniProfileGetInt(&value, section, "windowed", 1) == 1;
    adapter = IniProfileGetInt(&value, section, "deviceId", 0);
    backBufferFormat = IniProfileGetInt(&value, section, "format", 22);
    lockVsync = IniProfileGetInt(&value, section, "lockVsync", 0) == 1;
    debug = IniProfileGetInt(&value, section, "debug", 0) == 1;
    // The sound page's choices; 3D sound and music mean nothing without the sound system.
    soundOn = IniProfileGetInt(&value, section, "digDriverEnabled", 1) == 1;
    sound3d = soundOn && IniProfileGetInt(&value, section, "dig3dEnabled", 1) == 1;
    musicOn = soundOn && IniProfileGetInt(&value, section, "enableMP3Music", 1) == 1;
    if (windowed) {
        windowWidth = IniProfileGetInt(&value, section, "winWidth", 640);
        windowHeight = IniProfileGetInt(&value, section, "winHeight", 480);
        CheckSize(&windowWidth, &windowHeight, "winWidth x winHeight", kLargestSize, kLargestSize);
        runWhileInactive = (uint32_t)IniProfileGetInt(&value, section, "runWhileInactive", 0);
        lockableBackbuffer = (uint8_t)IniProfileGetInt(&value, section, "lockableBackbuffer", 0);
    } else {
        deviceWidth = IniProfileGetInt(&value, section, "hRes", 640);
        deviceHeight = IniProfileGetInt(&value, section, "vRes", 480);
        CheckSize(&deviceWidth, &deviceHeight, "hRes x vRes", kLargestSize, kLargestSize);
    }
    IniClearProfileFile();
    return 0;
}

// ---- start-up ----

void GameApp::OnInit() {
    if (!m_userFolder.empty()) DirCreate(m_userFolder.c_str());
    std::string program = ProgramFolder();
    // Without the program's folder every data file would be looked for in the working folder.
    if (program.empty() || DataDirSetFromFile(&dataFolder, (program + "Data/").c_str()) != 1) {
        SysMessageBox("The program's folder cannot be found, so neither can its Data folder.",
                      "Fairlark");
        quit = 1;
        AppSetExitStatus(1);
        return;
    }
    Ctl3SetDataFolder(dataFolder.path.c_str());

    clock = FrameClockNew();
    FrameClockSetCap(clock, kFrameCapMs);
    UpdateMouseScale();

    I3dPrimMeshesCreate();
    I3dSpriteBatchCreate(kSprites, kSpriteGroups);
    I3dSpriteBatchEnable(1);
    I3dSpriteBatchSetCull(0);

    EntSystemInit();
    StartSound();

    editor = EditorNew(hinstance);
    if (editor) EditorSetDataDir(editor, (program + "Editor/").c_str());
    WireHooks();

    scripts = ScriptMgrGet();
    if (scripts) {
        LuaOpenEntityLib(scripts->L);
        LuaOpenSystemLib(scripts->L);
        LuaOpenGameLib(scripts->L, this);
        PublishClassProcs();
    }

    debugFont = FontAcquire((dataFolder.path + "\\Fonts\\CourierNew9o").c_str());
    Ent3dSetDebugFont(debugFont);

    // The start-up script builds the tree and opens the first screen: without it the window
    // would stay black with no way on, so the program says why and ends.
    const std::string startupPath = dataFolder.path + "Startup.lua";
    LuaScript* startup = scripts ? LuaScriptNew() : nullptr;
    if (startup) startup->SetAutoDelete(1);
    if (!startup || startup->RunFile(startupPath.c_str()) != 1) {
        char text[600];
        std::snprintf(text, sizeof text,
                      "Fairlark cannot start: its start-up script %s cannot be loaded.\n",
                      startupPath.c_str());
        std::fputs(text, stderr);
        DbgPrintf(DBG_GENERAL, "%s", text);
        quit = 1;
        AppSetExitStatus(1);
    }
}

// The player may have switched the sound system, 3D placing or music off on the configuration
// dialog's sound page: the game obeys those ticks rather than always opening 32 voices, since a
// switch the dialog offers and saves that changes nothing would tell the player a lie.
void GameApp::StartSound() {
    SndSetPlacing(sound3d);
    SndSetMusicOn(musicOn);
    if (!soundOn) {
        DbgPrintf(DBG_GENERAL,
                  "Sound: the sound system is off (digDriverEnabled=0): no sound device opened\n");
        return;
    }
    if (SndInit((dataFolder.path + "SoundFilters/").c_str(), 0, kVoices) != 0)
        DbgPrintf(DBG_GENERAL, "Sound: no sound device could be opened: the game runs silent\n");
    if (!musicOn)
        DbgPrintf(DBG_GENERAL, "Sound: music is off (enableMP3Music=0): none is played\n");
    if (!sound3d) DbgPrintf(DBG_GENERAL, "Sound: 3D sound is off (dig3dEnabled=0)\n");
}

// ---- shutdown ----

void GameApp::Shutdown() {
    keyboardEntity = nullptr;
    EntDestroyChildren(viewports.Get());
    EntDestroyChildren(world.Get());
    EntResetClasses();

    EditorDelete(editor);
    editor = nullptr;
    Ent3dSetDebugFont(nullptr);
    if (debugFont) SharedObjRelease(debugFont);
    debugFont = nullptr;
    I3dPrimMeshesRelease();

    EntDestroyTree(menus.Get());
    EntDestroyTree(root.Get());
    root = game = world = viewports = menuRoot = menuViewport = menus = mouse = nullptr;
    UnwireHooks();
    AppSetCursorLock(0);

    FrameClockFree(clock);
    clock = nullptr;
    SndShutdown();
    EntSystemShutdown();
    // The character classes have released their models with the entities: the model library's
    // meshes, models, skeletons and clips go now.
    if (giModelDefManager* defs = giModelDefManager::Instance()) defs->Clear();
    ScriptMgrDestroy();
    scripts = nullptr;
    I3dSpriteBatchDestroy();
}

// ---- small operations ----

void GameApp::ClearScene() {
    keyboardEntity = nullptr;
    EntDestroyChildren(viewports.Get());
    EntDestroyChildren(world.Get());
    EntResetClasses();
}

void GameApp::SetClockSpeed(float factor) {
    if (!clock) return;
    // Truncated like the integer it becomes; a factor no clock word can hold is clamped.
    double scale = std::trunc((double)factor * 1024.0);
    if (std::isnan(scale)) return;
    if (scale > INT32_MAX) scale = INT32_MAX;
    if (scale < INT32_MIN) scale = INT32_MIN;
    FrameClockSetScale(clock, (int32_t)scale);
}

void GameApp::OnResize(int width, int height) {
    // While editor mode draws the game into its view, the window's size is not the screen's.
    int viewWidth = 0, viewHeight = 0;
    if (EditorViewSize(editor, &viewWidth, &viewHeight) && viewWidth > 0 && viewHeight > 0) {
        width = viewWidth;
        height = viewHeight;
        m_editorViewWidth = width;
        m_editorViewHeight = height;
    }
    AppBase::OnResize(width, height);
    UpdateMouseScale();
}

void GameApp::UpdateMouseScale() {
    int w = 0, h = 0;
    I3dGetScreenSize(&w, &h);
    // The application's own size handler never passes an empty screen; a direct call keeps the
    // last scale rather than divide by zero.
    if (w > 0) mouseScaleX = kMenuWidth / (float)w;
    if (h > 0) mouseScaleY = kMenuHeight / (float)h;
}

int GameApp::LoadEntitiesIni(const char* path) {
    return EntLoadEntitiesIni(path, root.Get(), world.Get(), dataFolder.path.c_str());
}

// ---- device ----

void GameApp::DeviceLost() {
    CharModelVbRelease();
    ParticleSysDeviceLost();
}

void GameApp::DeviceReset() {
    // The skinning buffer belongs to the character models: with none alive nothing would free it.
    if (CharModelAcquisitions() > 0) CharModelVbCreate();
    ParticleSysDeviceReset();
}
