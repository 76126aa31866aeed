// The script tests' fixture.
#include "tests/engine/Script/ScriptTestSupport.h"

#include <lua.hpp>

void ScriptTest::SetUp() {
    ::testing::internal::CaptureStderr();
    m_capturing = true;
    ASSERT_NE(ScriptMgrGet(), nullptr);
}

void ScriptTest::TearDown() {
    ScriptMgrDestroy();
    if (m_capturing) ::testing::internal::GetCapturedStderr();
    m_capturing = false;
}

std::string ScriptTest::Write(const std::string& name, const std::string& text) {
    WriteTextFile(dir / name, text);
    return dir / name;
}

LuaScript* ScriptTest::Run(const std::string& name, const std::string& text, bool autoDelete) {
    LuaScript* script = LuaScriptNew();
    script->SetAutoDelete(autoDelete);
    script->RunFile(Write(name, text).c_str());
    return script;
}

void ScriptTest::Frames(int frames, float seconds) {
    for (int i = 0; i < frames; ++i)
        ScriptMgrUpdate(seconds);
}

double ScriptTest::Number(const char* name) {
    lua_State* L = ScriptMgrGet()->L;
    lua_getglobal(L, name);
    double d = lua_type(L, -1) == LUA_TNUMBER ? lua_tonumber(L, -1) : 0.0;
    lua_pop(L, 1);
    return d;
}

std::string ScriptTest::Text(const char* name) {
    lua_State* L = ScriptMgrGet()->L;
    lua_getglobal(L, name);
    std::string s = lua_type(L, -1) == LUA_TSTRING ? lua_tostring(L, -1) : "";
    lua_pop(L, 1);
    return s;
}

std::string ScriptTest::Exec(const std::string& code) {
    lua_State* L = ScriptMgrGet()->L;
    if (luaL_dostring(L, code.c_str()) == LUA_OK) return "";
    std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
    lua_pop(L, 1);
    return message;
}

std::string ScriptTest::Boxes() {
    if (m_capturing) m_boxes += ::testing::internal::GetCapturedStderr();
    ::testing::internal::CaptureStderr();
    m_capturing = true;
    return m_boxes;
}

int ScriptTest::BoxCount(const std::string& caption) {
    std::string all = Boxes(), key = "[" + caption + "]";
    int n = 0;
    for (size_t at = all.find(key); at != std::string::npos; at = all.find(key, at + 1))
        ++n;
    return n;
}
