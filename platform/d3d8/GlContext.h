// The OpenGL contexts the layer draws with: offscreen through EGL on Mesa's surfaceless platform,
// or on an SDL2 window; and the GL entry points past 1.1, fetched from whichever made the
// context (GLVND exports only the oldest ones reliably).
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <memory>
#include <string>

struct SDL_Window;

struct D3dGlFuncs {
    PFNGLACTIVETEXTUREPROC ActiveTexture;
    PFNGLCLIENTACTIVETEXTUREARBPROC ClientActiveTexture; // same signature as the core entry
    PFNGLMULTITEXCOORD4FARBPROC MultiTexCoord4f;
    PFNGLBLENDEQUATIONPROC BlendEquation;
    PFNGLDRAWRANGEELEMENTSPROC DrawRangeElements;
    PFNGLCLIPCONTROLPROC ClipControl;
    PFNGLGENSAMPLERSPROC GenSamplers;
    PFNGLDELETESAMPLERSPROC DeleteSamplers;
    PFNGLBINDSAMPLERPROC BindSampler;
    PFNGLSAMPLERPARAMETERIPROC SamplerParameteri;
    PFNGLSAMPLERPARAMETERFPROC SamplerParameterf;
    PFNGLSAMPLERPARAMETERFVPROC SamplerParameterfv;
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer;
    PFNGLFRAMEBUFFERTEXTURE2DPROC FramebufferTexture2D;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage;
};

class D3dGlContext {
  public:
    // A compatibility-profile context with no surface; the device renders into a framebuffer
    // object. Null with `error` set when EGL or the context cannot be had.
    static std::unique_ptr<D3dGlContext> CreateOffscreen(std::string* error);
    // A compatibility-profile context on a window made with SDL_WINDOW_OPENGL.
    static std::unique_ptr<D3dGlContext> CreateForWindow(SDL_Window* window, std::string* error);
    ~D3dGlContext();
    D3dGlContext(const D3dGlContext&) = delete;
    D3dGlContext& operator=(const D3dGlContext&) = delete;

    const D3dGlFuncs& Gl() const { return m_gl; }
    SDL_Window* Window() const { return m_window; }
    void MakeCurrent();
    // The window's drawable size; 0 x 0 offscreen.
    void DrawableSize(int* width, int* height) const;
    void Swap();
    void SetSwapInterval(int interval);

  private:
    D3dGlContext() = default;
    // Fetches the entry points and checks the version; false with `error` set.
    bool Load(void* (*getProc)(const char*), std::string* error);

    D3dGlFuncs m_gl{};
    SDL_Window* m_window = nullptr;
    void* m_sdlContext = nullptr;
    void* m_eglContext = nullptr;
};
