// Shared by the script tests: a fresh manager per test, Lua files in a scratch folder, the
// message boxes a test provoked (headless boxes go to stderr) and globals read back from Lua.
#pragma once

#include "engine/Script/ScriptMgr.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

class ScriptTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `text` as dir/name and returns the path.
    std::string Write(const std::string& name, const std::string& text);
    // A new script running the file `name` holding `text`.
    LuaScript* Run(const std::string& name, const std::string& text, bool autoDelete = false);
    // Updates the scheduler `frames` times with `seconds` each.
    void Frames(int frames, float seconds = 1.0f / 30.0f);
    // A global of the main state as a number (0 when it is not one) or as text ("" when absent).
    double Number(const char* name);
    std::string Text(const char* name);
    // Runs a chunk on the main state; the error message, or "" on success.
    std::string Exec(const std::string& code);

    // Message boxes shown since the test began (or since the last Boxes call): every
    // "[caption] text" line that went to stderr.
    std::string Boxes();
    int BoxCount(const std::string& caption);

    TempDir dir;

  private:
    bool m_capturing = false;
    std::string m_boxes;
};
