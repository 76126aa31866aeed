// The Entity library: scripts register classes, create, find, change and destroy entities.
// Scripts hold entity handles (ScriptArgs.h); a value that is not a live entity is a null
// entity, and a null entity makes a function return without effect or results unless said
// otherwise.
#include "I3d/Math/Vec3.h"
#include "engine/DebugLog.h"
#include "engine/EntBase.h"
#include "engine/EntTree.h"
#include "engine/Script/ScriptArgs.h"
#include "engine/Script/ScriptLibs.h"
#include "engine/Script/ScriptMgr.h"
#include "engine/System.h"

#include <lua.hpp>

#include <cstdio>
#include <cstring>
#include <unordered_set>

static ScriptStartDayFn s_startDay = nullptr;

void ScriptSetStartDayHook(ScriptStartDayFn hook) {
    s_startDay = hook;
}

ScriptStartDayFn ScriptGetStartDayHook() {
    return s_startDay;
}

static void PushEntity(lua_State* L, ENTBASE* entity) {
    LuaPushEntity(L, entity);
}

// The class procedures scripts may register: whatever the program published. A script could
// otherwise hand CreateClass any address (a light userdata of its own making) and have it called.
static std::unordered_set<EntClassProc>& Published() {
    static auto* s_published = new std::unordered_set<EntClassProc>;
    return *s_published;
}

void LuaPublishClassProc(EntClassProc proc, const char* name) {
    if (!proc) return;
    Published().insert(proc);
    if (name) LuaSetGlobalPtr(reinterpret_cast<void*>(proc), name);
}

// The class procedure of the entity's node; messages go there, as they do from the tree.
static intptr_t SendToNode(ENTBASE* entity, int message, intptr_t b, intptr_t c) {
    EntNode* node = entity->node;
    if (!node || !node->proc) return 0;
    return node->proc(node, message, 0, b, c);
}

// ---- classes ----

// A null procedure (nil, NULLENT: the global of a class this build does not have) does nothing,
// so start-up scripts may name every class; any other value must be a published procedure.
static int Entity_CreateClass(lua_State* L) {
    const int type = lua_type(L, 1);
    if (type == LUA_TNONE || type == LUA_TNIL ||
        (type == LUA_TLIGHTUSERDATA && !lua_touserdata(L, 1)))
        return 0;
    EntClassProc proc = nullptr;
    if (type == LUA_TLIGHTUSERDATA) proc = reinterpret_cast<EntClassProc>(lua_touserdata(L, 1));
    if (!proc || Published().count(proc) == 0)
        return luaL_argerror(L, 1, "not a class procedure the program published");
    const char* path = lua_type(L, 2) == LUA_TSTRING ? lua_tostring(L, 2) : nullptr;
    EntCreateClass(proc, reinterpret_cast<intptr_t>(path), LuaArgInt(L, 3));
    return 0;
}

static int Entity_ResetClasses(lua_State*) {
    EntResetClasses();
    return 0;
}

// ---- finding and creating ----

static int Entity_FindName(lua_State* L) {
    ENTBASE* entity = LuaArgEntity(L, 1);
    if (!entity) return 0;
    PushEntity(L, EntTreeFindName(entity, LuaArgString(L, 2))); // not found: NULLENT, not nil
    return 1;
}

static int Entity_FindClass(lua_State* L) {
    ENTBASE* entity = LuaArgEntity(L, 1);
    if (!entity) return 0;
    ENTBASE* found = EntTreeFindType(entity, LuaArgString(L, 2));
    if (found)
        PushEntity(L, found);
    else
        lua_pushnil(L);
    return 1;
}

static int Entity_Create(lua_State* L) {
    ENTBASE* parent = LuaArgEntity(L, 2);
    if (!parent) return 0;
    ENTBASE* made = EntCreateChild(LuaArgString(L, 1), parent);
    if (made)
        PushEntity(L, made);
    else
        lua_pushnil(L);
    return 1;
}

static int Entity_Start(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) entity->Start();
    return 0;
}

static int Entity_StartPre(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) EntTreeStart(entity);
    return 0;
}

static int Entity_GameEventPre(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1))
        entity->GameEventPre(LuaArgInt(L, 2), LuaArgWord(L, 3));
    return 0;
}

static int Entity_SetFlag(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) entity->SetFlag((uint32_t)LuaArgInt(L, 2));
    return 0;
}

static int Entity_ClearFlag(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) entity->ClearFlag((uint32_t)LuaArgInt(L, 2));
    return 0;
}

// ---- named properties ----

static int Entity_SetString(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1))
        entity->SetString(LuaArgString(L, 2), LuaArgString(L, 3));
    return 0;
}

static int Entity_SetFloat(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1))
        entity->SetFloat(LuaArgString(L, 2), LuaArgFloat(L, 3));
    return 0;
}

static int Entity_SetInt(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) entity->SetInt(LuaArgString(L, 2), LuaArgInt(L, 3));
    return 0;
}

static int Entity_SetVoid(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) entity->SetVoid(LuaArgString(L, 2), LuaArgWord(L, 3));
    return 0;
}

static int Entity_SetBool(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1))
        entity->SetBool(LuaArgString(L, 2), LuaArgInt(L, 3) != 0 ? 1 : 0);
    return 0;
}

static int Entity_SetColor3(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1))
        entity->SetColor3(LuaArgString(L, 2), LuaArgFloat(L, 3), LuaArgFloat(L, 4),
                          LuaArgFloat(L, 5));
    return 0;
}

// The one setter that reports a miss: a box titled with the problem, showing the calling
// script's error text.
static int Entity_SetVector3(lua_State* L) {
    LuaScript* script = LuaGetScript(L);
    const char* text = script ? script->errorText : "";
    ENTBASE* entity = LuaArgEntity(L, 1);
    if (!entity) {
        SysMessageBox(text, "Entity Does Not Exist");
        return 0;
    }
    const char* name = LuaArgString(L, 2);
    if (!entity->SetVector3(name, LuaArgFloat(L, 3), LuaArgFloat(L, 4), LuaArgFloat(L, 5))) {
        char caption[160];
        std::snprintf(caption, sizeof caption, "Variable [%s] not found!", name);
        SysMessageBox(text, caption);
    }
    return 0;
}

static int Entity_SetLocalPlayer(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) entity->SetLocalPlayer(LuaArgInt(L, 2));
    return 0;
}

// The pad number goes to a class's "gamepad" property where it declares one; the classes under
// player control keep their pad field behind SetLocalPlayer, which checks the number, so a class
// without the property gets it there (other classes ignore it).
static int Entity_BindGamepad(lua_State* L) {
    ENTBASE* entity = LuaArgEntity(L, 1);
    if (!entity) return 0;
    const int pad = LuaArgInt(L, 2);
    if (!entity->SetInt("gamepad", pad)) entity->SetLocalPlayer(pad);
    return 0;
}

// ---- position ----

static int Entity_SetPos(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) {
        VECTOR3 pos = {LuaArgFloat(L, 2), LuaArgFloat(L, 3), LuaArgFloat(L, 4)};
        entity->SetPos(&pos);
    }
    return 0;
}

// Entities without a position (GetPos null) are at the origin.
static VECTOR3 PosOf(ENTBASE* entity) {
    const VECTOR3* pos = entity ? entity->GetPos() : nullptr;
    return pos ? *pos : VECTOR3{0.0f, 0.0f, 0.0f};
}

static int Entity_GetPos(lua_State* L) {
    VECTOR3 pos = PosOf(LuaArgEntity(L, 1));
    lua_pushnumber(L, pos.x);
    lua_pushnumber(L, pos.y);
    lua_pushnumber(L, pos.z);
    return 3;
}

static int Entity_DistanceBtwEnts(lua_State* L) {
    ENTBASE* a = LuaArgEntity(L, 1);
    ENTBASE* b = LuaArgEntity(L, 2);
    if (!a || !b) return 0;
    VECTOR3 pa = PosOf(a), pb = PosOf(b);
    lua_pushnumber(L, Vec3Dist(&pa, &pb));
    return 1;
}

// ---- life ----

static int Entity_Shutdown(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) entity->Shutdown();
    return 0;
}

static int Entity_Destroy(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) entity->Destroy();
    return 0;
}

// ---- messages through the node ----

static int Entity_SetHeading(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1)) {
        // Floats travel as their bits in the low word of b.
        float heading = LuaArgFloat(L, 2);
        uint32_t bits = 0;
        std::memcpy(&bits, &heading, sizeof bits);
        SendToNode(entity, ENT_MSG_SET_HEADING, static_cast<intptr_t>(bits), 0);
    }
    return 0;
}

static int Entity_GameEvent(lua_State* L) {
    if (ENTBASE* entity = LuaArgEntity(L, 1))
        SendToNode(entity, ENT_MSG_GAME_EVENT, LuaArgInt(L, 2), LuaArgInt(L, 3));
    return 0;
}

static int Entity_AttachToPlatform(lua_State* L) {
    ENTBASE* entity = LuaArgEntity(L, 1);
    ENTBASE* platform = LuaArgEntity(L, 2);
    if (entity && platform) entity->AttachToPlatform(platform);
    return 0;
}

static int Entity_GiveEntity(lua_State* L) {
    ENTBASE* entity = LuaArgEntity(L, 1);
    ENTBASE* given = LuaArgEntity(L, 2);
    if (entity && given) entity->GiveEntity(given);
    return 0;
}

static int Entity_GetName(lua_State* L) {
    ENTBASE* entity = LuaArgEntity(L, 1);
    if (!entity) return luaL_error(L, "Bad entity pointer.");
    lua_pushstring(L, entity->GetName());
    return 1;
}

static int Entity_StartNewDay(lua_State* L) {
    ENTBASE* game = LuaArgEntity(L, 1);
    if (!game) return luaL_error(L, "Bad entity pointer.");
    if (!s_startDay || std::strcmp(game->GetTypeName(), "MtGame") != 0) {
        DbgPrintf(DBG_GENERAL, "StartNewDay: %s is no game object\n", game->GetName());
        return 0;
    }
    s_startDay(game);
    return 0;
}

static const luaL_Reg s_entityFunctions[] = {
    {"CreateClass", Entity_CreateClass},
    {"ResetClasses", Entity_ResetClasses},
    {"FindName", Entity_FindName},
    {"FindClass", Entity_FindClass},
    {"Create", Entity_Create},
    {"Start", Entity_Start},
    {"StartPre", Entity_StartPre},
    {"GameEventPre", Entity_GameEventPre},
    {"SetFlag", Entity_SetFlag},
    {"ClearFlag", Entity_ClearFlag},
    {"SetString", Entity_SetString},
    {"SetFloat", Entity_SetFloat},
    {"SetInt", Entity_SetInt},
    {"SetVoid", Entity_SetVoid},
    {"SetBool", Entity_SetBool},
    {"SetColor3", Entity_SetColor3},
    {"SetVector3", Entity_SetVector3},
    {"SetLocalPlayer", Entity_SetLocalPlayer},
    {"BindGamepad", Entity_BindGamepad},
    {"SetPos", Entity_SetPos},
    {"GetPos", Entity_GetPos},
    {"Shutdown", Entity_Shutdown},
    {"Destroy", Entity_Destroy},
    {"DistanceBtwEnts", Entity_DistanceBtwEnts},
    {"SetHeading", Entity_SetHeading},
    {"GameEvent", Entity_GameEvent},
    {"AttachToPlatform", Entity_AttachToPlatform},
    {"GiveEntity", Entity_GiveEntity},
    {"GetName", Entity_GetName},
    {"StartNewDay", Entity_StartNewDay},
    {nullptr, nullptr},
};

void LuaOpenEntityLib(lua_State* L) {
    LuaOpenLibTable(L, "Entity", s_entityFunctions);
    lua_pushlightuserdata(L, nullptr);
    lua_setglobal(L, "NULLENT");
    lua_pushinteger(L, ENT_FLAG_PASSABLE);
    lua_setglobal(L, "EF_PASSABLE");
}
