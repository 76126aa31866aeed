// What the editor asks of the window it edits in: its size and title, the pointer's warp and
// capture. The program's host talks to SDL; tests install one that records.
#pragma once

#include <string>

class EditorHost {
  public:
    virtual ~EditorHost() = default;
    virtual void GetWindowSize(int* width, int* height) = 0;
    virtual void SetWindowSize(int width, int height) = 0;
    virtual std::string GetTitle() = 0;
    virtual void SetTitle(const char* title) = 0;
    // Puts the pointer at (x, y) of the window.
    virtual void WarpMouse(int x, int y) = 0;
    // Keeps the pointer's events coming while a button is held outside the window.
    virtual void CaptureMouse(bool on) = 0;
};

// Makes the host for a main window (an SDL_Window); the default makes the SDL host. Null
// restores it.
using EditorHostMaker = EditorHost* (*)(void* window);
void EditorSetHostMaker(EditorHostMaker maker);
EditorHost* EditorHostNew(void* window);
