// The data folder of the game's entities.
#include "game/Ents/GameEntPaths.h"

#include "engine/System.h"
#include "game/MtGameHost.h"

std::string GameEntDataFolder() {
    if (MtGameHost* host = MtGameGetHost()) return host->DataFolder();
    return std::string(SysProgramFolder()) + "Data/";
}

std::string GameEntDataPath(const char* relative) {
    if (!relative) relative = "";
    while (*relative == '\\' || *relative == '/')
        ++relative;
    return GameEntDataFolder() + relative;
}
