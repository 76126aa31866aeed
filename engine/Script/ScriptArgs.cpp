// Argument conversions shared by the script libraries.
#include "engine/Script/ScriptArgs.h"

#include "engine/EntTree.h"

#include <lua.hpp>

#include <cfloat>
#include <cmath>

static double ArgNumber(lua_State* L, int index) {
    int isNumber = 0;
    double d = lua_tonumberx(L, index, &isNumber);
    return isNumber && !std::isnan(d) ? d : 0.0;
}

int32_t LuaArgInt(lua_State* L, int index) {
    double d = ArgNumber(L, index);
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(d);
}

float LuaArgFloat(lua_State* L, int index) {
    double d = ArgNumber(L, index);
    if (d > FLT_MAX) return INFINITY;
    if (d < -FLT_MAX) return -INFINITY;
    return static_cast<float>(d);
}

const char* LuaArgString(lua_State* L, int index) {
    int type = lua_type(L, index);
    if (type != LUA_TSTRING && type != LUA_TNUMBER) return "";
    return lua_tostring(L, index);
}

void LuaPushNumber(lua_State* L, double value) {
    if (value >= -9.2e18 && value <= 9.2e18 && value == std::trunc(value))
        lua_pushinteger(L, static_cast<lua_Integer>(value));
    else
        lua_pushnumber(L, value);
}

ENTBASE* LuaArgEntity(lua_State* L, int index) {
    if (lua_type(L, index) != LUA_TLIGHTUSERDATA) return nullptr;
    auto* entity = static_cast<ENTBASE*>(lua_touserdata(L, index));
    return EntIsLive(entity) ? entity : nullptr;
}
