// Dear ImGui without a window, for the tool tests: an offscreen GL context on llvmpipe drawing
// into a framebuffer object, ImGui's OpenGL 2 renderer, synthetic mouse and keys per frame,
// item rectangles recorded by id, and pixels read back.
#pragma once

#include <imgui.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class D3dGlContext;

struct ImGuiItemRect {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float CentreX() const { return (x0 + x1) * 0.5f; }
    float CentreY() const { return (y0 + y1) * 0.5f; }
};

class ImGuiHarness {
  public:
    ImGuiHarness(int width, int height);
    ~ImGuiHarness();
    ImGuiHarness(const ImGuiHarness&) = delete;
    ImGuiHarness& operator=(const ImGuiHarness&) = delete;

    // False when no GL context could be made (the error says why).
    bool Ok() const { return m_ok; }
    const std::string& Error() const { return m_error; }

    // One frame: the pending input, the widgets, the draw into the framebuffer.
    void Frame(const std::function<void()>& widgets);
    // Moves the mouse there, presses and releases the left button, a frame each, then one more.
    void Click(float x, float y, const std::function<void()>& widgets);
    // A key down for one frame (ImGuiKey_Enter, ImGuiKey_Escape, …), then up for one frame.
    void PressKey(int imguiKey, const std::function<void()>& widgets);

    // Text typed into the focused field over the next frame.
    void Type(const char* text, const std::function<void()>& widgets);
    // The mouse there, a wheel turn over the next frame.
    void Wheel(float x, float y, float turn, const std::function<void()>& widgets);
    // Shift held (or not) from the next frame on.
    void SetShift(bool down) { m_shift = down; }

    // The pixel at (x, y) from the top left, as 0xAARRGGBB.
    uint32_t Pixel(int x, int y) const;

    // Rectangles by id of the items the widgets reported last frame (see Record).
    const std::map<std::string, ImGuiItemRect>& Items() const { return s_items; }
    bool Has(const std::string& id) const { return s_items.count(id) != 0; }
    ImGuiItemRect Item(const std::string& id) const;
    // A hook for the code under test to report an item: install it where the code takes one.
    static void Record(const char* id, float x0, float y0, float x1, float y1);

  private:
    std::unique_ptr<D3dGlContext> m_gl;
    unsigned m_fbo = 0, m_color = 0;
    int m_width, m_height;
    bool m_ok = false;
    std::string m_error;
    ImGuiContext* m_imgui = nullptr;
    float m_mouseX = -1, m_mouseY = -1;
    bool m_mouseDown = false;
    int m_keyDown = -1;
    bool m_shift = false;
    static std::map<std::string, ImGuiItemRect> s_items;
};
