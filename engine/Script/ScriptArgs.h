// Reading native-function arguments the way every script library does: numbers through
// lua_tonumber (so "12" reads 12), anything else as 0.
#pragma once

#include <cstdint>

struct lua_State;
class ENTBASE;

// Truncated toward zero and clamped to int32; a non-number (or NaN) reads 0.
int32_t LuaArgInt(lua_State* L, int index);
// As a 32-bit float; beyond the float range reads as an infinity; a non-number reads 0.
float LuaArgFloat(lua_State* L, int index);
// The text of a string or number argument; "" for anything else, so callees never see null.
const char* LuaArgString(lua_State* L, int index);

// Pushes a whole number that fits an integer as a Lua integer (so scripts print "3", not "3.0"),
// anything else as a float.
void LuaPushNumber(lua_State* L, double value);

// Scripts hold entities as handles: full userdata holding the entity's address and serial
// number, one handle per entity (pushing the same entity again gives the same value, so `==`
// and table keys work). A handle outlives its entity harmlessly: it never names a later entity
// made at the same address. A null entity is pushed as NULLENT (a null light userdata).
void LuaPushEntity(lua_State* L, ENTBASE* entity);
// The entity a script passed: a handle naming a live entity. Anything else (nil, NULLENT, a
// number, a table, another library's userdata, a destroyed entity's handle) is a null entity.
ENTBASE* LuaArgEntity(lua_State* L, int index);
// A word argument (a pointer property, an event value): an entity handle gives its entity
// (null once gone), a light userdata its address, anything else 0.
intptr_t LuaArgWord(lua_State* L, int index);
