// Reading native-function arguments the way every script library does: numbers through
// lua_tonumber (so "12" reads 12), anything else as 0.
#pragma once

#include <cstdint>

struct lua_State;

// Truncated toward zero and clamped to int32; a non-number (or NaN) reads 0.
int32_t LuaArgInt(lua_State* L, int index);
// As a 32-bit float; beyond the float range reads as an infinity; a non-number reads 0.
float LuaArgFloat(lua_State* L, int index);
// The text of a string or number argument; "" for anything else, so callees never see null.
const char* LuaArgString(lua_State* L, int index);
