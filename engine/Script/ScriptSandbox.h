// The libraries a script sees, made safe: a hostile or careless script may not hang the game,
// escape its budget or run binary chunks.
#pragma once

struct lua_State;

// Opens the base, coroutine and string libraries with the engine's replacements in place.
void ScriptSandboxOpenLibs(lua_State* L);
