// The native libraries scripts reach the engine through. The manager opens "Script" itself;
// the application opens Entity, System and Game, in that order.
#pragma once

struct lua_State;

// The coroutine and svar functions, as globals and as the table "Script".
void LuaOpenScriptLib(lua_State* L);

// Sets a table of functions as the global `name` (the libraries are tables so that
// Entity.Shutdown and Game.Shutdown do not collide).
struct luaL_Reg;
void LuaOpenLibTable(lua_State* L, const char* name, const luaL_Reg* functions);
