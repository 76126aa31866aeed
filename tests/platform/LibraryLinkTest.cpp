// One object of each third-party library, made and freed: proves the build finds and links
// every library the game uses.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alut.h>
#include <EGL/egl.h>
#include <SDL.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <imgui.h>
#include <lua.hpp>
#include <ode/ode.h>
#include <tinyxml.h>
#include <vorbis/vorbisfile.h>

#include <gtest/gtest.h>

TEST(LibraryLink, Sdl2) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(s, nullptr) << SDL_GetError();
    SDL_FreeSurface(s);
}

TEST(LibraryLink, EglDisplay) {
    EGLDisplay d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    ASSERT_NE(d, EGL_NO_DISPLAY);
    EGLint major = 0, minor = 0;
    ASSERT_TRUE(eglInitialize(d, &major, &minor)) << "EGL on Mesa's surfaceless platform";
    EXPECT_GE(major, 1);
    // No eglTerminate: Mesa unloads its driver there, and the leak checker can then no longer
    // name the library its own allocations came from, so the suppressions miss them.
}

TEST(LibraryLink, Lua) {
    lua_State* L = luaL_newstate();
    ASSERT_NE(L, nullptr);
    luaL_openlibs(L);
    ASSERT_EQ(luaL_dostring(L, "return 6 * 7"), 0);
    EXPECT_EQ(lua_tointeger(L, -1), 42);
    lua_close(L);
}

TEST(LibraryLink, Ode) {
    dInitODE();
    dWorldID w = dWorldCreate();
    ASSERT_NE(w, nullptr);
    dWorldDestroy(w);
    dCloseODE();
}

TEST(LibraryLink, OggVorbis) {
    OggVorbis_File vf{};
    EXPECT_LT(ov_open_callbacks(nullptr, &vf, "not ogg", 7, OV_CALLBACKS_NOCLOSE), 0)
        << "seven bytes are not an Ogg stream";
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    ogg_sync_clear(&sync);
}

TEST(LibraryLink, OpenAlAndAlut) {
    ALCdevice* dev = alcOpenDevice(nullptr);
    ASSERT_NE(dev, nullptr) << "OpenAL Soft's null backend (ALSOFT_DRIVERS=null)";
    ALCcontext* ctx = alcCreateContext(dev, nullptr);
    ASSERT_NE(ctx, nullptr);
    alcMakeContextCurrent(ctx);
    ALuint src = 0;
    alGenSources(1, &src);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    alDeleteSources(1, &src);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(ctx);
    alcCloseDevice(dev);

    ASSERT_TRUE(alutInitWithoutContext(nullptr, nullptr));
    ALuint buf = alutCreateBufferHelloWorld();
    (void)buf; // without a context ALUT cannot make the buffer; linking is the point
    alutExit();
}

TEST(LibraryLink, TinyXml) {
    TiXmlDocument doc;
    doc.Parse("<Character name=\"AdultMale\"/>");
    ASSERT_FALSE(doc.Error());
    EXPECT_STREQ(doc.RootElement()->Attribute("name"), "AdultMale");
}

TEST(LibraryLink, DearImGui) {
    ImGuiContext* ctx = ImGui::CreateContext();
    ASSERT_NE(ctx, nullptr);
    ImGui::DestroyContext(ctx);
}

TEST(LibraryLink, FreeType) {
    FT_Library lib = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    FT_Done_FreeType(lib);
}
