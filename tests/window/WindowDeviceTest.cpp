// The one test with a real window: a windowed device on an SDL window (run under xvfb-run),
// clearing, presenting and following a resize of the window.
#include "I3d/I3d.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

void Frame(uint32_t expected, int readX, int readY) {
    ASSERT_EQ(D3dClear(7), D3D_OK);
    ASSERT_EQ(D3dBeginScene(), 0);
    EXPECT_EQ(D3dReadPixel(readX, readY) & 0xFFFFFF, expected & 0xFFFFFF);
    ASSERT_EQ(D3dEndScene(), 0);
    ASSERT_EQ(D3dPresent(), 0);
}

TEST(WindowDevice, ClearsPresentsAndFollowsResizes) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    I3dPrepareWindowAttributes();
    SDL_Window* window = SDL_CreateWindow("Fairlark test", 0, 0, 1024, 768, SDL_WINDOW_OPENGL);
    ASSERT_NE(window, nullptr) << SDL_GetError();

    ASSERT_EQ(I3dStart(), 0);
    // The application asks for the desktop size; the back buffer is the window's client area.
    ASSERT_EQ(D3dCreateDevice(0, window, 1, 1280, 1024, D3DFMT_X8R8G8B8, I3D_DEVICE_LOCKABLE), 0);
    int w = 0, h = 0;
    I3dGetRequestedSize(&w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);

    D3dSetClearColor(0.2f, 0.4f, 0.6f);
    for (int i = 0; i < 10; ++i)
        Frame(0x336699, 1023, 767);

    SDL_SetWindowSize(window, 800, 600);
    SDL_PumpEvents();
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    I3dSetScreenSize(dw, dh);
    I3dGetRequestedSize(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    ASSERT_EQ(D3dSetViewport(0, 0, 1024, 768), D3D_OK) << "falls back to the requested size";
    D3dSetClearColor(0.0f, 1.0f, 0.0f);
    for (int i = 0; i < 10; ++i)
        Frame(0x00FF00, 799, 599);
    EXPECT_EQ(D3dReadPixel(800, 0), 0u) << "the back buffer is the resized client area";

    EXPECT_EQ(I3dStop(), 0);
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace
