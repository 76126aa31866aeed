// The configuration dialog's run: the adapter's facts through the render kernel, the
// settings file, and a small window of its own with a GL context and Dear ImGui.
#include "tools/HwConfig.h"

#include "engine/DebugLog.h"
#include "engine/System.h"
#include "tools/HwConfigBanner.h"
#include "tools/HwConfigData.h"
#include "tools/HwConfigDialog.h"

#include <SDL.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

namespace {

const char* const kNoDirectX =
    "This game requires DirectX 8.  Please install DirectX 8 and try again.";

int NoDirectX(const char* why) {
    std::fprintf(stderr, "HwConfig: %s\n", why ? why : "");
    SysMessageBox(kNoDirectX, "DirectX 8 Required");
    return 0;
}

void WarnWithoutHardwareTnl(const HwConfigDialogState& state) {
    const int adapter = state.data.deviceId;
    if (adapter >= 0 && adapter < (int)state.adapters.size()) {
        const HwConfigAdapter& facts = state.adapters[(size_t)adapter];
        if (facts.capsRead && (facts.caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT)) return;
    }
    SysMessageBox("This game requires a 3D graphics accelerator with hardware transform and "
                  "lighting (T&L).\nA quick test of your video card shows this feature may not "
                  "be available.  The game may run very slowly or not at all.",
                  "Hardware T&L Required");
}

// Runs the window until a button, a key or the window's close ends the dialog.
int RunWindow(HwConfigDialogState* state) {
    const bool startedVideo = !SDL_WasInit(SDL_INIT_VIDEO);
    if (startedVideo && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return NoDirectX(SDL_GetError());
    // SDL's in-memory drivers would give a dialog nobody can see or close.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) {
        if (startedVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return NoDirectX("no display to show the dialog on");
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window =
        SDL_CreateWindow(HwConfigCaption(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         kHwConfigWidth, kHwConfigHeight, SDL_WINDOW_OPENGL);
    SDL_GLContext gl = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!gl) {
        const int answer = NoDirectX(SDL_GetError());
        if (window) SDL_DestroyWindow(window);
        SDL_GL_ResetAttributes();
        if (startedVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return answer;
    }
    SDL_GL_MakeCurrent(window, gl);
    SDL_GL_SetSwapInterval(1);

    IMGUI_CHECKVERSION();
    ImGuiContext* imgui = ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr; // no "imgui.ini"
    ImGui_ImplSDL2_InitForOpenGL(window, gl);
    ImGui_ImplOpenGL2_Init();
    state->bannerTexture =
        HwConfigLoadBanner(state->data.bannerImage, &state->bannerWidth, &state->bannerHeight);

    const Uint32 windowId = SDL_GetWindowID(window);
    while (state->result < 0) {
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, 50)) {
            do {
                ImGui_ImplSDL2_ProcessEvent(&e);
                if (e.type == SDL_QUIT ||
                    (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE &&
                     e.window.windowID == windowId))
                    state->result = 0;
            } while (SDL_PollEvent(&e));
        }
        if (state->result >= 0) break;
        ImGui_ImplOpenGL2_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ImGui::NewFrame();
        HwConfigDialogFrame(state);
        ImGui::Render();
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(window, &w, &h);
        glViewport(0, 0, w, h);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        SDL_GL_SwapWindow(window);
    }

    HwConfigFreeBanner(state->bannerTexture);
    state->bannerTexture = 0;
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(imgui);
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(gl);
    SDL_DestroyWindow(window);
    // The render layer sets the attributes it needs again.
    SDL_GL_ResetAttributes();
    if (startedVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return state->result > 0 ? 1 : 0;
}

} // namespace

const char* HwConfigCaption() {
    return "Xq Config";
}

int HwConfigRun(HwConfigSettings* settings) {
    if (!settings || !settings->settingsPath || !*settings->settingsPath) {
        DbgOut("HwConfigRun: no settings file; start-up goes on without the dialog\n");
        return 1;
    }
    std::vector<HwConfigAdapter> adapters;
    if (I3dReadAdapters(&adapters) != 0)
        return NoDirectX("no Direct3D-shaped adapter could be made");

    HwConfigDialogState state;
    HwConfigLoad(&state.data, settings->settingsPath);
    if (!state.data.bannerImage[0] && settings->bannerImage)
        std::snprintf(state.data.bannerImage, sizeof state.data.bannerImage, "%s",
                      settings->bannerImage);
    state.adapters = std::move(adapters);
    if (state.data.deviceId != HwConfigAdapterIndex(state)) {
        DbgOut("HwConfig: there is no adapter %d; adapter 0 is used\n", (int)state.data.deviceId);
        state.data.deviceId = 0;
    }
    WarnWithoutHardwareTnl(state);

    const int answer = RunWindow(&state);
    HwConfigDialogEnd(&state);
    // The settings are written whatever ended the dialog.
    HwConfigSave(&state.data, settings->settingsPath);
    return answer;
}
