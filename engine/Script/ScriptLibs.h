// The native libraries scripts reach the engine through. The manager opens "Script" itself;
// the application opens Entity, System and Game, in that order.
#pragma once

#include "engine/EntTree.h"

struct lua_State;

// The coroutine and svar functions, as globals and as the table "Script".
void LuaOpenScriptLib(lua_State* L);

// The Entity library, with the globals NULLENT and EF_PASSABLE.
void LuaOpenEntityLib(lua_State* L);
// Sets the global `name` of the script manager's state to the class procedure (a light
// userdata) and lets Entity.CreateClass take it; CreateClass refuses, with a Lua error naming
// the argument, any procedure not published here. With a null name the procedure is only
// accepted.
void LuaPublishClassProc(EntClassProc proc, const char* name);
// The game object's day start, which the application connects; until then (and for any entity
// that is not an "MtGame") StartNewDay logs one line and does nothing.
class ENTBASE;
using ScriptStartDayFn = void (*)(ENTBASE* game);
void ScriptSetStartDayHook(ScriptStartDayFn hook);
ScriptStartDayFn ScriptGetStartDayHook();
// The System library.
void LuaOpenSystemLib(lua_State* L);
// The Game library acting on the application through `host`, with the globals TRUE, FALSE and
// the game-function constants.
class ScriptGameHost;
void LuaOpenGameLib(lua_State* L, ScriptGameHost* host);

// Sets a table of functions as the global `name` (the libraries are tables so that
// Entity.Shutdown and Game.Shutdown do not collide).
struct luaL_Reg;
void LuaOpenLibTable(lua_State* L, const char* name, const luaL_Reg* functions);
