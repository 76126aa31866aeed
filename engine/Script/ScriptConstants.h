// The numeric constants the Game library publishes to scripts: the game-function ids (GFN_...)
// with SL_MENUSELECT and GE_WORLDLOADED among them, in the order they are set.
#pragma once

#include <cstdint>

struct ScriptConstant {
    const char* name;
    int32_t value;
};

// Two names (GFN_WIREFRAME, GFN_RUNSCRIPT1) appear twice with the same value.
extern const ScriptConstant g_scriptGameConstants[];
extern const int g_scriptGameConstantCount;
