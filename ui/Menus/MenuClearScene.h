// The application's scene clearing, which lives above the screens: a screen that leaves a world
// behind (the world loader's error screen) clears it through here.
#pragma once

using MenuSceneClearFn = void (*)(void* context);

// The application installs its clearing at start-up and removes it (null) at shutdown.
void MenuSetSceneClearer(MenuSceneClearFn clear, void* context);
MenuSceneClearFn MenuGetSceneClearer();
// Forgets the keyboard entity, empties "Viewport" and "World" and resets the classes. False (and
// logged) when no application installed its clearing.
bool MenuClearScene();
