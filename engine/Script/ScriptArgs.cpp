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

// ---- entity handles ----

namespace {
// The handle's block. Nothing here is trusted to point anywhere: the entity is used only once
// the live set holds that address with that serial number, so a forged or foreign block can
// at worst name an entity that lives.
struct EntityHandle {
    const void* tag; // &s_handleMeta: tells our blocks from other userdata of the same size
    ENTBASE* entity;
    uint64_t serial;
};
// Registry keys: their addresses are what count.
char s_handleMeta;
char s_handleCache;

// Pushes the handles' metatable, making it (and the cache of handles) on first use.
void PushHandleMeta(lua_State* L) {
    if (lua_rawgetp(L, LUA_REGISTRYINDEX, &s_handleMeta) == LUA_TTABLE) return;
    lua_pop(L, 1);
    lua_createtable(L, 0, 2);
    lua_pushliteral(L, "entity");
    lua_setfield(L, -2, "__name");
    lua_pushliteral(L, "locked");
    lua_setfield(L, -2, "__metatable"); // getmetatable/setmetatable cannot reach it
    lua_pushvalue(L, -1);
    lua_rawsetp(L, LUA_REGISTRYINDEX, &s_handleMeta);
    // serial -> handle, weak so that handles no script holds any more are collected.
    lua_createtable(L, 0, 0);
    lua_createtable(L, 0, 1);
    lua_pushliteral(L, "v");
    lua_setfield(L, -2, "__mode");
    lua_setmetatable(L, -2);
    lua_rawsetp(L, LUA_REGISTRYINDEX, &s_handleCache);
}
} // namespace

void LuaPushEntity(lua_State* L, ENTBASE* entity) {
    const uint64_t serial = EntSerialOf(entity);
    if (serial == 0) {
        lua_pushlightuserdata(L, nullptr);
        return;
    }
    lua_checkstack(L, 4);
    PushHandleMeta(L);
    lua_rawgetp(L, LUA_REGISTRYINDEX, &s_handleCache);
    const auto key = static_cast<lua_Integer>(serial);
    if (lua_rawgeti(L, -1, key) == LUA_TUSERDATA) {
        lua_replace(L, -3);
        lua_pop(L, 1);
        return;
    }
    lua_pop(L, 1);
    auto* handle = static_cast<EntityHandle*>(lua_newuserdatauv(L, sizeof(EntityHandle), 0));
    handle->tag = &s_handleMeta;
    handle->entity = entity;
    handle->serial = serial;
    lua_pushvalue(L, -3);
    lua_setmetatable(L, -2);
    lua_pushvalue(L, -1);
    lua_rawseti(L, -3, key);
    lua_replace(L, -3);
    lua_pop(L, 1);
}

// The handle at index, or null for any other value. Every Entity function checks its
// arguments this way, so it looks at the block rather than at the metatable.
static const EntityHandle* ArgHandle(lua_State* L, int index) {
    if (lua_type(L, index) != LUA_TUSERDATA || lua_rawlen(L, index) != sizeof(EntityHandle))
        return nullptr;
    auto* handle = static_cast<const EntityHandle*>(lua_touserdata(L, index));
    return handle->tag == &s_handleMeta ? handle : nullptr;
}

ENTBASE* LuaArgEntity(lua_State* L, int index) {
    // A menu hands its script itself as a bare pointer: accepted only while it names a live
    // entity, so a stale or made-up pointer is still refused.
    if (lua_type(L, index) == LUA_TLIGHTUSERDATA) {
        auto* entity = static_cast<ENTBASE*>(lua_touserdata(L, index));
        return EntIsLive(entity) ? entity : nullptr;
    }
    const EntityHandle* handle = ArgHandle(L, index);
    return handle && EntIsLiveSerial(handle->entity, handle->serial) ? handle->entity : nullptr;
}

intptr_t LuaArgWord(lua_State* L, int index) {
    if (lua_type(L, index) == LUA_TLIGHTUSERDATA)
        return reinterpret_cast<intptr_t>(lua_touserdata(L, index));
    return reinterpret_cast<intptr_t>(LuaArgEntity(L, index));
}
