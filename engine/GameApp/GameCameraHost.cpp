// The management camera's host (see GameCameraHost.h).
#include "engine/GameApp/GameCameraHost.h"

#include "engine/GameApp/GameApp.h"

void GameCameraHost::SetCursorLock(int on) {
    m_app->AppSetCursorLock(on);
}

// Input goes to the menus first and then to the one keyboard entity; a window without the focus
// hears nothing, not even the release of what was held when it lost it.
bool GameCameraHost::HearsInput(ENTBASE* camera) {
    return m_app->active && m_app->keyboardEntity.Get() == camera;
}

bool GameCameraHost::PointerInside() {
    return m_app->pointerInside != 0;
}
