// The run limits the manager and the sandbox share: every run of script code (a resume, a
// menu's call, a thread's reset) goes between ScriptRunBegin and ScriptRunEnd, so that its
// instruction budget, memory ceiling and close request hold. Internal to the script library.
#pragma once

struct lua_State;

// A Lua state whose allocations count towards the memory ceiling while a script runs.
lua_State* ScriptLimitsNewState();
// The manager is gone: the timer is deleted and a close request is forgotten.
void ScriptLimitsReset();

// Starts a run on `thread` (one started inside another runs on its own thread); returns what
// ScriptRunEnd takes back.
lua_State* ScriptRunBegin(lua_State* thread);
void ScriptRunEnd(lua_State* outer);
// True while a run is under way.
bool ScriptRunTracked();
// Makes `to` the thread the budget follows inside a run; returns the one it replaces.
lua_State* ScriptRunSwitchTo(lua_State* to);
