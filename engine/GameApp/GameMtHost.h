// The game object's host in the program: the game application's clock and folders, the script
// manager, the sound device, the music entity and the render kernel's shared resources.
#pragma once

#include "game/MtGameHost.h"

class GameApp;

class GameMtHost : public MtGameHost {
  public:
    explicit GameMtHost(GameApp* app) : m_app(app) {}

    void SetClockSpeed(float factor) override;
    std::string DataFolder() override;
    std::string ProgramFolder() override;
    int RunScriptFile(const char* path) override;
    void SetListenerGain(float gain) override;
    void SetMusicVolume(ENTBASE* root, float volume) override;
    Font* AcquireFont(const char* path) override;
    void ReleaseFont(Font* font) override;
    int LoadSharedTexture(const char* path) override;
    void ReleaseTexture(int slot) override;
    void AcquireInfoIcons(const char* path) override;
    void ReleaseInfoIcons() override;

  private:
    GameApp* m_app;
};
