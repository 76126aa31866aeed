// The game object's host over the game application.
#include "engine/GameApp/GameMtHost.h"

#include "I3d/Font.h"
#include "I3d/InfoIcon.h"
#include "I3d/Textures.h"
#include "engine/GameApp/GameApp.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/Sound/Sound.h"
#include "world/EntMusic.h"

void GameMtHost::SetClockSpeed(float factor) {
    m_app->SetClockSpeed(factor);
}

std::string GameMtHost::DataFolder() {
    return m_app->dataFolder.path;
}

std::string GameMtHost::ProgramFolder() {
    return m_app->ProgramFolder();
}

int GameMtHost::RunScriptFile(const char* path) {
    LuaScript* script = m_app->scripts ? LuaScriptNew() : nullptr;
    if (!script) return -1;
    script->SetAutoDelete(1);
    if (script->RunFile(path) != 1) return -1;
    // An error before the first wait has already finished the script.
    return script->runFailed ? -1 : 1;
}

void GameMtHost::SetListenerGain(float gain) {
    SndSetListenerGain(gain);
}

void GameMtHost::SetMusicVolume(ENTBASE* root, float volume) {
    MusicSetVolume(root, volume);
}

Font* GameMtHost::AcquireFont(const char* path) {
    return FontAcquire(path);
}

void GameMtHost::ReleaseFont(Font* font) {
    if (font) SharedObjRelease(font);
}

int GameMtHost::LoadSharedTexture(const char* path) {
    return I3dTexLoad(path, nullptr, 1);
}

void GameMtHost::ReleaseTexture(int slot) {
    if (slot >= 0) I3dTexRelease(slot);
}

void GameMtHost::AcquireInfoIcons(const char* path) {
    InfoIconsAcquire(path);
}

void GameMtHost::ReleaseInfoIcons() {
    InfoIconsRelease();
}
