// OpenGL contexts for the layer (see GlContext.h).
#include "platform/d3d8/GlContext.h"

#include "platform/d3d8/D3d8.h"

#define EGL_NO_X11
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <SDL.h>

#include <cstdio>

// ---- EGL ----

// One display for the whole process, never terminated: terminating it would pull every context
// made on it from under its owner, and the process's exit releases it.
static EGLDisplay SurfacelessDisplay(std::string* error) {
    static EGLDisplay s_display = EGL_NO_DISPLAY;
    static bool s_tried = false;
    if (s_tried) {
        if (s_display == EGL_NO_DISPLAY && error) *error = "no EGL display (see the first error)";
        return s_display;
    }
    s_tried = true;
    auto getPlatformDisplay =
        (PFNEGLGETPLATFORMDISPLAYEXTPROC)eglGetProcAddress("eglGetPlatformDisplayEXT");
    EGLDisplay d = EGL_NO_DISPLAY;
    if (getPlatformDisplay)
        d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (d == EGL_NO_DISPLAY) d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    EGLint major = 0, minor = 0;
    if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
        if (error) *error = "no EGL display could be initialised (Mesa's surfaceless platform)";
        return EGL_NO_DISPLAY;
    }
    s_display = d;
    return s_display;
}

static void* EglProc(const char* name) {
    return (void*)eglGetProcAddress(name);
}

static void* SdlProc(const char* name) {
    return SDL_GL_GetProcAddress(name);
}

std::unique_ptr<D3dGlContext> D3dGlContext::CreateOffscreen(std::string* error) {
    EGLDisplay d = SurfacelessDisplay(error);
    if (d == EGL_NO_DISPLAY) return nullptr;
    const char* ext = eglQueryString(d, EGL_EXTENSIONS);
    std::string exts = ext ? ext : "";
    if (exts.find("EGL_KHR_surfaceless_context") == std::string::npos ||
        exts.find("EGL_KHR_no_config_context") == std::string::npos) {
        if (error) *error = "EGL offers no surfaceless, configless context";
        return nullptr;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        if (error) *error = "EGL offers no desktop OpenGL";
        return nullptr;
    }
    const EGLint attribs[] = {EGL_CONTEXT_MAJOR_VERSION,
                              3,
                              EGL_CONTEXT_MINOR_VERSION,
                              3,
                              EGL_CONTEXT_OPENGL_PROFILE_MASK,
                              EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                              EGL_NONE};
    EGLContext c = eglCreateContext(d, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attribs);
    if (c == EGL_NO_CONTEXT) {
        if (error) *error = "EGL could not create an OpenGL 3.3 compatibility-profile context";
        return nullptr;
    }
    std::unique_ptr<D3dGlContext> ctx(new D3dGlContext());
    ctx->m_eglContext = c;
    ctx->MakeCurrent();
    if (!ctx->Load(EglProc, error)) return nullptr;
    return ctx;
}

// ---- SDL ----

void D3dPrepareWindowAttributes() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

std::unique_ptr<D3dGlContext> D3dGlContext::CreateForWindow(SDL_Window* window,
                                                            std::string* error) {
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) {
        if (error) *error = "the window was not created with SDL_WINDOW_OPENGL";
        return nullptr;
    }
    D3dPrepareWindowAttributes();
    SDL_GLContext c = SDL_GL_CreateContext(window);
    if (!c) {
        if (error)
            *error = std::string("SDL could not create an OpenGL context: ") + SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<D3dGlContext> ctx(new D3dGlContext());
    ctx->m_window = window;
    ctx->m_sdlContext = c;
    ctx->MakeCurrent();
    if (!ctx->Load(SdlProc, error)) return nullptr;
    return ctx;
}

void D3dWindowClientSize(HWND window, int* width, int* height) {
    int w = 0, h = 0;
    auto* win = static_cast<SDL_Window*>(window);
    if (win) {
        if (SDL_GetWindowFlags(win) & SDL_WINDOW_OPENGL)
            SDL_GL_GetDrawableSize(win, &w, &h);
        else
            SDL_GetWindowSize(win, &w, &h);
    }
    *width = w > 0 ? w : 0;
    *height = h > 0 ? h : 0;
}

// ---- common ----

D3dGlContext::~D3dGlContext() {
    if (m_sdlContext) {
        SDL_GL_MakeCurrent(m_window, nullptr);
        SDL_GL_DeleteContext((SDL_GLContext)m_sdlContext);
    }
    if (m_eglContext) {
        EGLDisplay d = SurfacelessDisplay(nullptr);
        eglMakeCurrent(d, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(d, (EGLContext)m_eglContext);
    }
}

void D3dGlContext::MakeCurrent() {
    if (m_sdlContext) SDL_GL_MakeCurrent(m_window, (SDL_GLContext)m_sdlContext);
    if (m_eglContext)
        eglMakeCurrent(SurfacelessDisplay(nullptr), EGL_NO_SURFACE, EGL_NO_SURFACE,
                       (EGLContext)m_eglContext);
}

void D3dGlContext::DrawableSize(int* width, int* height) const {
    *width = *height = 0;
    if (m_window) SDL_GL_GetDrawableSize(m_window, width, height);
}

void D3dGlContext::Swap() {
    if (m_window) SDL_GL_SwapWindow(m_window);
}

void D3dGlContext::SetSwapInterval(int interval) {
    if (m_window) SDL_GL_SetSwapInterval(interval);
}

template <class T>
static bool Fetch(T* out, void* (*getProc)(const char*), const char* name, std::string* missing) {
    *out = (T)getProc(name);
    if (!*out) {
        if (!missing->empty()) *missing += ", ";
        *missing += name;
    }
    return *out != nullptr;
}

bool D3dGlContext::Load(void* (*getProc)(const char*), std::string* error) {
    const char* version = (const char*)glGetString(GL_VERSION);
    int major = 0, minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2 || major * 10 + minor < 33) {
        if (error)
            *error = std::string("OpenGL 3.3 or later is needed, the context offers ") +
                     (version ? version : "nothing");
        return false;
    }
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    if (profile & GL_CONTEXT_CORE_PROFILE_BIT) {
        if (error) *error = "the context is a core profile; the layer needs the compatibility one";
        return false;
    }
    std::string missing;
    D3dGlFuncs& g = m_gl;
    Fetch(&g.ActiveTexture, getProc, "glActiveTexture", &missing);
    Fetch(&g.ClientActiveTexture, getProc, "glClientActiveTexture", &missing);
    Fetch(&g.MultiTexCoord4f, getProc, "glMultiTexCoord4f", &missing);
    Fetch(&g.BlendEquation, getProc, "glBlendEquation", &missing);
    Fetch(&g.DrawRangeElements, getProc, "glDrawRangeElements", &missing);
    Fetch(&g.ClipControl, getProc, "glClipControl", &missing);
    Fetch(&g.GenSamplers, getProc, "glGenSamplers", &missing);
    Fetch(&g.DeleteSamplers, getProc, "glDeleteSamplers", &missing);
    Fetch(&g.BindSampler, getProc, "glBindSampler", &missing);
    Fetch(&g.SamplerParameteri, getProc, "glSamplerParameteri", &missing);
    Fetch(&g.SamplerParameterf, getProc, "glSamplerParameterf", &missing);
    Fetch(&g.SamplerParameterfv, getProc, "glSamplerParameterfv", &missing);
    Fetch(&g.GenFramebuffers, getProc, "glGenFramebuffers", &missing);
    Fetch(&g.DeleteFramebuffers, getProc, "glDeleteFramebuffers", &missing);
    Fetch(&g.BindFramebuffer, getProc, "glBindFramebuffer", &missing);
    Fetch(&g.FramebufferRenderbuffer, getProc, "glFramebufferRenderbuffer", &missing);
    Fetch(&g.FramebufferTexture2D, getProc, "glFramebufferTexture2D", &missing);
    Fetch(&g.CheckFramebufferStatus, getProc, "glCheckFramebufferStatus", &missing);
    Fetch(&g.GenRenderbuffers, getProc, "glGenRenderbuffers", &missing);
    Fetch(&g.DeleteRenderbuffers, getProc, "glDeleteRenderbuffers", &missing);
    Fetch(&g.BindRenderbuffer, getProc, "glBindRenderbuffer", &missing);
    Fetch(&g.RenderbufferStorage, getProc, "glRenderbufferStorage", &missing);
    if (!missing.empty()) {
        if (error) *error = "the OpenGL context lacks " + missing;
        return false;
    }
    return true;
}
