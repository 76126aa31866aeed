// Dear ImGui with no window, no renderer and no platform backend: the test's own context, fed
// the mouse straight through ImGui's IO between frames. For driving tool widgets beside a
// running game whose window never gets the focus SDL's backend waits for; the game's own GL
// context is never touched.
#pragma once

#include "tests/imgui/ImGuiHarness.h"

#include <functional>
#include <map>
#include <string>

class ImGuiInput {
  public:
    ImGuiInput(int width, int height);
    ~ImGuiInput();
    ImGuiInput(const ImGuiInput&) = delete;
    ImGuiInput& operator=(const ImGuiInput&) = delete;

    // One frame in this context (the caller's context is current again afterwards).
    void Frame(const std::function<void()>& widgets);
    // The mouse to the item's centre, the left button down a frame and up a frame, one frame
    // more. False when the item was not reported last frame.
    bool Click(const std::string& id, const std::function<void()>& widgets);

    bool Has(const std::string& id) const { return s_items.count(id) != 0; }
    // The hook for the code under test (MasterEdit::SetItemHook).
    static void Record(const char* id, float x0, float y0, float x1, float y1);

  private:
    ImGuiContext* m_imgui = nullptr;
    int m_width, m_height;
    float m_mouseX = -1, m_mouseY = -1;
    bool m_mouseDown = false;
    static std::map<std::string, ImGuiItemRect> s_items;
};
