// The window's icon: a small striped tent, built into the program as a resource would be.
#pragma once

struct SDL_Window;

// Gives the window the program's icon (the task bar and window list show it). Nothing on failure.
void AppIconApply(SDL_Window* window);
