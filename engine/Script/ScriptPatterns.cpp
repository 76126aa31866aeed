// Cost cap of the string library's pattern functions: see ScriptPatterns.h.
#include "engine/Script/ScriptPatterns.h"

#include <lua.hpp>

#include <cmath>
#include <cstddef>

namespace {

// About a second of backtracking at the worst: far past what a game script's text needs.
constexpr double kCostCap = 1e9;

// Repetitions that can backtrack over a run of the text: "*", "+" and "-" after an item, and
// each "%b" balance. Escapes and sets are stepped over whole.
int Repetitions(const char* p, size_t n) {
    int count = 0;
    for (size_t i = 0; i < n; ++i) {
        const char c = p[i];
        if (c == '%') {
            if (i + 1 < n && p[i + 1] == 'b') {
                ++count;
                i += 3;
            } else {
                ++i;
            }
        } else if (c == '[') {
            size_t j = i + 1;
            if (j < n && p[j] == '^') ++j;
            if (j < n && p[j] == ']') ++j;
            while (j < n && p[j] != ']')
                j += p[j] == '%' ? 2 : 1;
            i = j;
        } else if ((c == '*' || c == '+' || c == '-') && i > 0) {
            ++count;
        }
    }
    return count;
}

int Capped(lua_State* L) {
    size_t textLength = 0, patternLength = 0;
    const char* text = lua_type(L, 1) == LUA_TSTRING ? lua_tolstring(L, 1, &textLength) : nullptr;
    const char* pattern =
        lua_type(L, 2) == LUA_TSTRING ? lua_tolstring(L, 2, &patternLength) : nullptr;
    const bool plain = lua_tointeger(L, lua_upvalueindex(2)) == 1 && lua_toboolean(L, 4);
    if (text && pattern && !plain) {
        const bool anchored = patternLength > 0 && pattern[0] == '^';
        const int power = Repetitions(pattern, patternLength) + (anchored ? 0 : 1);
        const double cost = std::pow((double)textLength + 1.0, (double)power);
        if (cost > kCostCap)
            return luaL_error(L, "string pattern too costly for a text of %d characters",
                              (int)textLength);
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

} // namespace

void LuaCapStringPatterns(lua_State* L) {
    lua_getglobal(L, LUA_STRLIBNAME);
    if (lua_istable(L, -1)) {
        const char* names[] = {"find", "match", "gmatch", "gsub"};
        for (int i = 0; i < 4; ++i) {
            lua_getfield(L, -1, names[i]);
            if (!lua_iscfunction(L, -1)) {
                lua_pop(L, 1);
                continue;
            }
            lua_pushinteger(L, i == 0 ? 1 : 0); // find alone takes a "plain" flag
            lua_pushcclosure(L, Capped, 2);
            lua_setfield(L, -2, names[i]);
        }
    }
    lua_pop(L, 1);
}
