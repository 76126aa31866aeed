// The data folder the game's entities load their files from.
#pragma once

#include <string>

// The game host's data folder, else "Data/" beside the program; ends with a separator.
std::string GameEntDataFolder();
// The data folder joined with a data-relative name that may begin with a separator.
std::string GameEntDataPath(const char* relative);
