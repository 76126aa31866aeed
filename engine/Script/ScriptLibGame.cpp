// The Game library: the application's quit flag, its root tree and data folder, and the
// game-function constants.
#include "engine/Script/ScriptArgs.h"
#include "engine/Script/ScriptConstants.h"
#include "engine/Script/ScriptGameHost.h"
#include "engine/Script/ScriptLibs.h"

#include <lua.hpp>

#include <cstring>
#include <string>

// Every function carries the host as its upvalue; a library opened without one does nothing.
static ScriptGameHost* Host(lua_State* L) {
    return static_cast<ScriptGameHost*>(lua_touserdata(L, lua_upvalueindex(1)));
}

static int Game_Shutdown(lua_State* L) {
    if (ScriptGameHost* host = Host(L)) host->Quit();
    return 0;
}

static int Game_CreateEntityTree(lua_State* L) {
    if (ScriptGameHost* host = Host(L)) host->BuildRootTree();
    return 0;
}

static int PushEntity(lua_State* L, ENTBASE* (ScriptGameHost::*getter)()) {
    ScriptGameHost* host = Host(L);
    LuaPushEntity(L, host ? (host->*getter)() : nullptr);
    return 1;
}

static int Game_GetRootEntity(lua_State* L) {
    return PushEntity(L, &ScriptGameHost::GetRoot);
}
static int Game_GetViewportEntity(lua_State* L) {
    return PushEntity(L, &ScriptGameHost::GetViewports);
}
static int Game_GetWorldEntity(lua_State* L) {
    return PushEntity(L, &ScriptGameHost::GetWorld);
}
static int Game_GetMenuEntity(lua_State* L) {
    return PushEntity(L, &ScriptGameHost::GetMenus);
}

static int Game_GetDataPath(lua_State* L) {
    ScriptGameHost* host = Host(L);
    std::string folder = host && host->GetDataFolder() ? host->GetDataFolder() : "";
    size_t cut = folder.find_last_of("\\/");
    folder.resize(cut == std::string::npos ? 0 : cut + 1);
    lua_pushstring(L, folder.c_str());
    return 1;
}

static int Game_SetKeyboardEnt(lua_State* L) {
    ScriptGameHost* host = Host(L);
    ENTBASE* entity = LuaArgEntity(L, 1);
    if (host && entity) host->SetKeyboardEntity(entity);
    return 0;
}

// A world whose file is missing would be an empty world the player can walk into: the script
// that asked for it stops here, and whoever ran it learns that it failed.
static int Game_LoadEntitiesIni(lua_State* L) {
    ScriptGameHost* host = Host(L);
    const char* path = LuaArgString(L, 1);
    if (host && host->LoadEntitiesIni(path) < 0)
        return luaL_error(L, "%s is missing or cannot be read", path ? path : "");
    return 0;
}

static const luaL_Reg s_gameFunctions[] = {
    {"Shutdown", Game_Shutdown},
    {"CreateEntityTree", Game_CreateEntityTree},
    {"GetRootEntity", Game_GetRootEntity},
    {"GetViewportEntity", Game_GetViewportEntity},
    {"GetWorldEntity", Game_GetWorldEntity},
    {"GetMenuEntity", Game_GetMenuEntity},
    {"GetDataPath", Game_GetDataPath},
    {"SetKeyboardEnt", Game_SetKeyboardEnt},
    {"LoadEntitiesIni", Game_LoadEntitiesIni},
    {nullptr, nullptr},
};

void LuaOpenGameLib(lua_State* L, ScriptGameHost* host) {
    lua_newtable(L);
    lua_pushlightuserdata(L, host);
    luaL_setfuncs(L, s_gameFunctions, 1);
    lua_setglobal(L, "Game");
    lua_pushinteger(L, 0);
    lua_setglobal(L, "FALSE");
    lua_pushinteger(L, 1);
    lua_setglobal(L, "TRUE");
    for (int i = 0; i < g_scriptGameConstantCount; ++i) {
        lua_pushinteger(L, g_scriptGameConstants[i].value);
        lua_setglobal(L, g_scriptGameConstants[i].name);
    }
}
