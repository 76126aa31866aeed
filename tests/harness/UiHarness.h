// The interface harness: the game application at 1024 x 768 (one pixel per menu unit) with the
// build's whole Data/, every published class registered (the game object a double), the root
// tree built with the real menu root and mouse cursor, and a test menu
// under "Menus" that records the control events it hears. Input goes in as the player's would:
// keys pushed as SDL events, pointer motion through the window procedure, mouse buttons pushed
// as SDL events; pixels come back from the render target.
#pragma once

#include "tests/harness/GameAppFixture.h"
#include "ui/Ctl3Base.h"

#include <SDL.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class Menu3Base;

// "TestMenu": a menu double whose alpha its controls fade with.
class MenuDouble : public GameDouble, public Ctl3AlphaSource {
  public:
    MenuDouble() : GameDouble("TestMenu") {}
    float GetMenuAlpha() override { return alpha; }
    float alpha = 1.0f;
};
intptr_t TestMenuProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// "DrawProbe": draws whatever the test gives it in the menus' draw pass (a reference image).
class DrawProbe : public ENTBASE {
  public:
    int DrawPre() override {
        if (draw) draw();
        return 1;
    }
    std::function<void()> draw;
};
intptr_t DrawProbeProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

class Font;
// The text drawn unscaled, unaligned and in one colour: the reference a probe draws for a text
// control hidden in its place.
void DrawPlainText(Font* font, float x, float y, const char16_t* text, uint32_t colour);

class UiTest : public GameAppTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the game: every published class and the doubles registered, the tree built, the
    // test menu made, then `body` (Lua) run from Startup.lua. Each frame lasts `frameMs`.
    void StartUi(const std::string& body = "");
    // One frame of the game after the test clock moved on by the frame time.
    void Step(int frames = 1);

    // A control of the class under the test menu, made as the control kit makes them.
    template <class T>
    T* Make(const char* className) {
        return dynamic_cast<T*>(EntCreateChild(className, menu));
    }

    static void Key(SDL_Scancode code, bool down);
    // Key down, a frame, key up, a frame.
    void Tap(SDL_Scancode code);
    // SDL text input through the window procedure, as the loop hands it on (no frame).
    void TypeText(const char* utf8);
    // Window coordinates, which are menu units at 1024 x 768.
    void MouseMove(float x, float y);
    static void MouseButton(bool down);
    // A left click at (x, y): move, frame, press, frame, release, frame.
    void ClickAt(float x, float y);
    // A left click at the middle of a control (a test failure when there is none).
    void ClickOn(const Ctl3Base* control);
    // The menu named so under "Menus", or null.
    Menu3Base* ShownMenu(const char* name);

    // (id, code) of every control event the test menu heard, in order; cleared by Forget.
    std::vector<std::pair<intptr_t, intptr_t>> ControlEvents() const;
    void Forget();

    // The render target as ARGB words, row 0 at the top.
    std::vector<uint32_t> ReadPixels() const;
    // 0 outside the picture (or when nothing could be read).
    static uint32_t PixelAt(const std::vector<uint32_t>& pixels, int x, int y) {
        const size_t at = size_t(y) * 1024 + size_t(x);
        return x >= 0 && x < 1024 && y >= 0 && at < pixels.size() ? pixels[at] : 0;
    }

    // The run log of the whole start-up (class registration included), in the test's folder;
    // switched on by StartUi when `keepLog` is set, and off again at the end of the test.
    std::string LogText() const;

    TestClock clock;
    // Runs at the editor's turn of the start-up, before the harness registers its doubles: a
    // class registered here wins over a double of the same name.
    std::function<void()> registerFirst;
    int frameMs = 20;
    bool keepLog = false;
    MenuDouble* menu = nullptr;

  private:
    int32_t m_cursorIndex = 1;
};

// The font of that title from the data folder's "Fonts/"; the test releases it.
Font* UiAcquireFont(const char* title);
