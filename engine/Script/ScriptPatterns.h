// The string library's pattern functions under a cost cap. A pattern match runs inside the
// library's C code, where the instruction budget never looks, so a hostile pattern such as
// twenty ".-" against a long text would hang the game; these refuse it first.
#pragma once

struct lua_State;

// Wraps string.find, match, gmatch and gsub of the opened string library: a call whose
// worst-case work (the subject's length to the power of one more than the pattern's
// repetitions) passes the cap raises "string pattern too costly for a text of N characters".
void LuaCapStringPatterns(lua_State* L);
