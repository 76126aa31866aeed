// The management camera's host in the program: the application's cursor lock, its keyboard
// entity and focus, and whether the pointer is over the window.
#pragma once

#include "world/CameraVantor1.h"

class GameApp;

class GameCameraHost : public CameraVantorHost {
  public:
    explicit GameCameraHost(GameApp* app) : m_app(app) {}

    void SetCursorLock(int on) override;
    bool HearsInput(ENTBASE* camera) override;
    bool PointerInside() override;

  private:
    GameApp* m_app;
};
